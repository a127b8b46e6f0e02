#include "CDestination.h"

namespace {
constexpr const char* kRealMediaFile = "rn-file-realmedia";
} // namespace

ESResult CDestination::Make(IESPropertyBag* bag, CDestination** out)
{
    if (!bag || !out)
        return ES_E_POINTER;
    std::string type, name, file;
    if (ESFailed(ESGetString(bag, "pluginType", type)) || type != "fileDestination")
        return ES_E_UNKNOWNPLUGIN;
    if (!ESFailed(ESGetString(bag, "pluginName", name)) && name != kRealMediaFile)
        return ES_E_UNKNOWNPLUGIN;
    if (ESFailed(ESGetString(bag, "filename", file)) || file.empty())
        return ES_E_INVALIDARG;
    auto* destination = new CDestination;
    destination->properties().set("pluginType", type);
    destination->properties().set("pluginName", std::string(kRealMediaFile));
    destination->properties().set("filename", file);
    *out = destination;
    return ES_OK;
}
