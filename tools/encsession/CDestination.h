#pragma once

#include "PropertyObject.h"

// A RealMedia file destination of an output.
class CDestination final : public PropertyObject<IESDestination, IESPropertyBag>
{
public:
    // Needs "pluginType" fileDestination and a "filename"; a "pluginName" other than
    // rn-file-realmedia is refused with ES_E_UNKNOWNPLUGIN.
    static ESResult Make(IESPropertyBag* bag, CDestination** out);

private:
    CDestination() = default;
};
