#pragma once

#include "PropertyObject.h"

// One stream of an audience; its properties are the encoder's settings for that stream.
class CStream final : public PropertyObject<IESStream, IESPropertyBag>
{
public:
    static constexpr const char* kVideo = "videoStream";
    static constexpr const char* kAudio = "audioStream";

    CStream() = default;
    explicit CStream(const PropertyStore& properties) : PropertyObject(properties) {}
};
