#pragma once

#include "ComObject.h"
#include "PropertyStore.h"

// A library object that is a property bag: `Interface` is IESPropertyBag or derives from it
// (then IESPropertyBag must be among `Bases`).
template <class Interface, class... Bases>
class PropertyObject : public ComObject<Interface, Bases...>
{
public:
    ESResult SetString(const char* name, const char* value) override
    {
        return m_properties.setString(name, value);
    }
    ESResult GetString(const char* name, char* buffer, uint32_t* length) override
    {
        return m_properties.getString(name, buffer, length);
    }
    ESResult SetInt32(const char* name, int32_t value) override
    {
        return m_properties.setInt32(name, value);
    }
    ESResult GetInt32(const char* name, int32_t* value) override
    {
        return m_properties.getInt32(name, value);
    }
    ESResult SetDouble(const char* name, double value) override
    {
        return m_properties.setDouble(name, value);
    }
    ESResult GetDouble(const char* name, double* value) override
    {
        return m_properties.getDouble(name, value);
    }
    ESResult GetType(const char* name, int32_t* type) override
    {
        return m_properties.getType(name, type);
    }

    PropertyStore& properties() { return m_properties; }

protected:
    PropertyObject() = default;
    explicit PropertyObject(const PropertyStore& properties) : m_properties(properties) {}

private:
    PropertyStore m_properties;
};
