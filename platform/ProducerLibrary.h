#pragma once

#include <QString>

namespace ProducerLibrary {

// File name of the RealMedia producer library inside the application's "tools" folder
// ("libencsession.so" here, "encsession.dll" on Windows).
QString fileName();

} // namespace ProducerLibrary
