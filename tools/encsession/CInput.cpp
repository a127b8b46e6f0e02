#include "CInput.h"

#include "AvCodecs.h"
#include "AvHandles.h"

ESResult CInput::Make(IESPropertyBag* bag, CInput** out)
{
    if (!bag || !out)
        return ES_E_POINTER;
    std::string type, file;
    if (ESFailed(ESGetString(bag, "pluginType", type)) || type != "avFileInput")
        return ES_E_UNKNOWNPLUGIN;
    if (ESFailed(ESGetString(bag, "filename", file)) || file.empty())
        return ES_E_INVALIDARG;
    auto* input = new CInput;
    input->properties().set("pluginType", type);
    input->properties().set("filename", file);
    if (!input->probe(file)) {
        input->Release();
        return ES_E_INPUT;
    }
    *out = input;
    return ES_OK;
}

bool CInput::probe(const std::string& path)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, FileUrl(path).c_str(), nullptr, nullptr) < 0)
        return false;
    bool video = false, audio = false;
    if (avformat_find_stream_info(format, nullptr) >= 0) {
        // What the transcoder will encode: a cover picture is no video.
        video = AvCodecs::findStream(format, AVMEDIA_TYPE_VIDEO) >= 0;
        audio = AvCodecs::findStream(format, AVMEDIA_TYPE_AUDIO) >= 0;
    }
    const double seconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
    properties().set("pluginName", std::string("rn-avfile-") + format->iformat->name);
    avformat_close_input(&format);
    if (!video && !audio)
        return false;
    properties().set("hasVideo", int32_t(video ? 1 : 0));
    properties().set("hasAudio", int32_t(audio ? 1 : 0));
    properties().set("duration", seconds);
    return true;
}
