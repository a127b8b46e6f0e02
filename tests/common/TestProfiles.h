#pragma once

#include "Profile.h"

#include <QByteArray>
#include <initializer_list>
#include <memory>
#include <utility>

// A profile with the given options chained in the given order; each option carries the
// flags the real option table gives its name.
std::unique_ptr<Profile>
MakeProfile(std::initializer_list<std::pair<QByteArray, QByteArray>> options,
            const QByteArray& format = "mp4");
