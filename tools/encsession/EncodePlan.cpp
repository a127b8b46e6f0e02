#include "EncodePlan.h"

#include "CPrefilter.h"
#include "CStream.h"

#include <type_traits>

namespace {

template <class T> T orDefault(IESPropertyBag* bag, const char* name, T fallback)
{
    if constexpr (std::is_same_v<T, double>) {
        double value = 0;
        return ESFailed(bag->GetDouble(name, &value)) ? fallback : value;
    } else {
        int32_t value = 0;
        return ESFailed(bag->GetInt32(name, &value)) ? fallback : value;
    }
}

std::string textOf(IESPropertyBag* bag, const char* name)
{
    std::string value;
    ESGetString(bag, name, value);
    return value;
}

ESResult readStreams(IESAudience* audience, EncodePlan& plan, bool inputHasVideo)
{
    for (uint32_t i = 0; i < audience->GetStreamCount(); ++i) {
        ESRef<IESStream> stream;
        if (ESFailed(audience->GetStream(i, stream.put())))
            return ES_E_FAIL;
        const std::string type = textOf(stream.get(), "pluginType");
        if (type == CStream::kVideo) {
            plan.video = inputHasVideo;
            plan.videoBitrate = orDefault(stream.get(), "bitrate", 0);
            plan.maxFrameRate = orDefault(stream.get(), "maxFrameRate", plan.maxFrameRate);
            plan.keyFrameSeconds =
                orDefault(stream.get(), "maxKeyFrameInterval", plan.keyFrameSeconds);
            plan.startupLatency = orDefault(stream.get(), "maxStartupLatency", 0.0);
            const std::string complexity = textOf(stream.get(), "encodingComplexity");
            if (!complexity.empty())
                plan.complexity = complexity;
        } else if (type == CStream::kAudio) {
            plan.audioBitrate = orDefault(stream.get(), "bitrate", 0);
            plan.channels = orDefault(stream.get(), "channels", plan.channels);
            plan.sampleRate = orDefault(stream.get(), "sampleRate", plan.sampleRate);
        }
    }
    return ES_OK;
}

} // namespace

ESResult EncodePlan::read(IESJob* job, EncodePlan& plan, std::string& problem)
{
    ESRef<IESInput> input;
    if (ESFailed(job->GetInput(input.put()))) {
        problem = "the job has no input";
        return ES_E_NOTCONFIGURED;
    }
    plan.inputPath = textOf(input.get(), "filename");
    plan.duration = orDefault(input.get(), "duration", 0.0);
    const bool inputHasVideo = orDefault(input.get(), "hasVideo", 0) != 0;
    plan.audio = orDefault(input.get(), "hasAudio", 0) != 0;
    for (uint32_t i = 0; i < input->GetPrefilterCount(); ++i) {
        ESRef<IESPrefilter> prefilter;
        if (ESFailed(input->GetPrefilter(i, prefilter.put())))
            continue;
        const std::string type = textOf(prefilter.get(), "pluginType");
        if (type == CPrefilter::kBlackLevel)
            plan.blackLevel = true;
        else if (type == CPrefilter::kAudioGain)
            plan.gainDb += orDefault(prefilter.get(), "gain", 0.0);
    }

    if (job->GetOutputCount() > 1) {
        problem = "only one output per job is supported";
        return ES_E_NOTIMPL;
    }
    ESRef<IESOutputProfile> output;
    ESRef<IESDestination> destination;
    ESRef<IESMediaProfile> profile;
    ESRef<IESAudience> audience;
    if (ESFailed(job->GetOutput(0, output.put())) ||
        ESFailed(output->GetDestination(0, destination.put()))) {
        problem = "the job has no output file";
        return ES_E_NOTCONFIGURED;
    }
    if (output->GetDestinationCount() > 1) {
        problem = "only one destination per output is supported";
        return ES_E_NOTIMPL;
    }
    plan.outputPath = textOf(destination.get(), "filename");
    if (ESFailed(output->GetMediaProfile(profile.put())) ||
        ESFailed(profile->GetAudience(0, audience.put()))) {
        problem = "the output has no media profile with an audience";
        return ES_E_NOTCONFIGURED;
    }
    plan.width = orDefault(profile.get(), "outputWidth", 0);
    plan.height = orDefault(profile.get(), "outputHeight", 0);
    plan.audienceName = textOf(audience.get(), "name");
    return readStreams(audience.get(), plan, inputHasVideo);
}
