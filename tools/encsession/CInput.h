#pragma once

#include "PropertyObject.h"
#include "RefList.h"

// A media file libavformat reads, with the pre-filters to apply to it. Made from a bag with
// "pluginType" avFileInput and the "filename"; learns "hasVideo", "hasAudio", "duration" and
// its "pluginName" from the file at once.
class CInput final : public PropertyObject<IESInput, IESPropertyBag>
{
public:
    // ES_E_UNKNOWNPLUGIN for another plug-in type, ES_E_INPUT when the file cannot be read.
    static ESResult Make(IESPropertyBag* bag, CInput** out);

    ESResult AddPrefilter(IESPrefilter* prefilter) override { return m_prefilters.add(prefilter); }
    uint32_t GetPrefilterCount() override { return m_prefilters.count(); }
    ESResult GetPrefilter(uint32_t index, IESPrefilter** out) override
    {
        return m_prefilters.get(index, out);
    }

private:
    CInput() = default;
    bool probe(const std::string& path);

    RefList<IESPrefilter> m_prefilters;
};
