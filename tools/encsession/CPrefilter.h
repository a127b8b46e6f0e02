#pragma once

#include "PropertyObject.h"

// A pre-filter's settings; the encoder applies the filter its "pluginType" names.
class CPrefilter final : public PropertyObject<IESPrefilter, IESPropertyBag>
{
public:
    static constexpr const char* kBlackLevel = "blackLevelPrefilter";
    static constexpr const char* kAudioGain = "audioGainPrefilter";

    // ES_E_UNKNOWNPLUGIN unless `bag`'s "pluginType" is one of the two above.
    static ESResult Make(IESPropertyBag* bag, CPrefilter** out);

private:
    CPrefilter() = default;
};
