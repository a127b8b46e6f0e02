#include "PropertyStore.h"

#include <cstring>

PropertyStore::PropertyStore(const PropertyStore& other)
{
    std::lock_guard lock(other.m_lock);
    m_values = other.m_values;
}

template <class T> ESResult PropertyStore::read(const char* name, T* out) const
{
    if (!name || !out)
        return ES_E_POINTER;
    std::lock_guard lock(m_lock);
    const auto found = m_values.find(name);
    if (found == m_values.end())
        return ES_E_NOTFOUND;
    const T* value = std::get_if<T>(&found->second);
    if (!value)
        return ES_E_TYPEMISMATCH;
    *out = *value;
    return ES_OK;
}

ESResult PropertyStore::setString(const char* name, const char* value)
{
    if (!name || !value)
        return ES_E_POINTER;
    set(name, std::string(value));
    return ES_OK;
}

ESResult PropertyStore::getString(const char* name, char* buffer, uint32_t* length) const
{
    if (!name || !length)
        return ES_E_POINTER;
    std::string value;
    const ESResult result = read(name, &value);
    if (ESFailed(result))
        return result;
    const uint32_t needed = uint32_t(value.size() + 1);
    const uint32_t capacity = *length;
    *length = needed;
    if (!buffer || capacity < needed)
        return ES_E_BUFFERTOOSMALL;
    std::memcpy(buffer, value.c_str(), needed);
    return ES_OK;
}

ESResult PropertyStore::setInt32(const char* name, int32_t value)
{
    if (!name)
        return ES_E_POINTER;
    set(name, value);
    return ES_OK;
}

ESResult PropertyStore::getInt32(const char* name, int32_t* value) const
{
    return read(name, value);
}

ESResult PropertyStore::setDouble(const char* name, double value)
{
    if (!name)
        return ES_E_POINTER;
    set(name, value);
    return ES_OK;
}

ESResult PropertyStore::getDouble(const char* name, double* value) const
{
    return read(name, value);
}

ESResult PropertyStore::getType(const char* name, int32_t* type) const
{
    if (!name || !type)
        return ES_E_POINTER;
    const std::optional<Value> found = value(name);
    if (!found)
        return ES_E_NOTFOUND;
    static constexpr int32_t kTypes[] = {ES_PROPERTY_STRING, ES_PROPERTY_INT32, ES_PROPERTY_DOUBLE};
    *type = kTypes[found->index()];
    return ES_OK;
}

std::optional<std::string> PropertyStore::text(const std::string& name) const
{
    std::string out;
    return ESFailed(read(name.c_str(), &out)) ? std::nullopt : std::optional(out);
}

std::optional<int32_t> PropertyStore::int32(const std::string& name) const
{
    int32_t out = 0;
    return ESFailed(read(name.c_str(), &out)) ? std::nullopt : std::optional(out);
}

std::optional<double> PropertyStore::number(const std::string& name) const
{
    double out = 0;
    return ESFailed(read(name.c_str(), &out)) ? std::nullopt : std::optional(out);
}

std::optional<PropertyStore::Value> PropertyStore::value(const std::string& name) const
{
    std::lock_guard lock(m_lock);
    const auto found = m_values.find(name);
    return found == m_values.end() ? std::nullopt : std::optional(found->second);
}

void PropertyStore::set(const std::string& name, const Value& value)
{
    std::lock_guard lock(m_lock);
    m_values[name] = value;
}

bool PropertyStore::copyFrom(IESPropertyBag* bag, const char* name)
{
    int32_t type = 0;
    if (!bag || ESFailed(bag->GetType(name, &type)))
        return false;
    if (type == ES_PROPERTY_STRING) {
        std::string text;
        if (ESFailed(ESGetString(bag, name, text)))
            return false;
        set(name, text);
    } else if (type == ES_PROPERTY_INT32) {
        int32_t number = 0;
        if (ESFailed(bag->GetInt32(name, &number)))
            return false;
        set(name, number);
    } else {
        double number = 0;
        if (ESFailed(bag->GetDouble(name, &number)))
            return false;
        set(name, number);
    }
    return true;
}
