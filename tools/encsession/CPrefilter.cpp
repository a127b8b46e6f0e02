#include "CPrefilter.h"

ESResult CPrefilter::Make(IESPropertyBag* bag, CPrefilter** out)
{
    if (!bag || !out)
        return ES_E_POINTER;
    std::string type;
    if (ESFailed(ESGetString(bag, "pluginType", type)) ||
        (type != kBlackLevel && type != kAudioGain))
        return ES_E_UNKNOWNPLUGIN;
    auto* prefilter = new CPrefilter;
    for (const char* name : {"pluginType", "pluginName", "gain"})
        prefilter->properties().copyFrom(bag, name);
    *out = prefilter;
    return ES_OK;
}
