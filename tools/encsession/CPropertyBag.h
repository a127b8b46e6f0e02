#pragma once

#include "PropertyObject.h"

// A plain property bag, the settings from which inputs, pre-filters and destinations are made.
class CPropertyBag final : public PropertyObject<IESPropertyBag>
{
public:
    CPropertyBag() = default;
};
