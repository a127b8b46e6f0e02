#pragma once

#include "EncSession.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

// The named, typed values behind every property bag of the library.
// Threads: any; each call takes the store's lock.
class PropertyStore
{
public:
    using Value = std::variant<std::string, int32_t, double>;

    PropertyStore() = default;
    PropertyStore(const PropertyStore& other);
    PropertyStore& operator=(const PropertyStore&) = delete;

    // The IESPropertyBag operations, with its results.
    ESResult setString(const char* name, const char* value);
    ESResult getString(const char* name, char* buffer, uint32_t* length) const;
    ESResult setInt32(const char* name, int32_t value);
    ESResult getInt32(const char* name, int32_t* value) const;
    ESResult setDouble(const char* name, double value);
    ESResult getDouble(const char* name, double* value) const;
    ESResult getType(const char* name, int32_t* type) const;

    // For the library's own reading: the value when it is set with that type.
    std::optional<std::string> text(const std::string& name) const;
    std::optional<int32_t> int32(const std::string& name) const;
    std::optional<double> number(const std::string& name) const;
    // Any value, for copying between objects.
    std::optional<Value> value(const std::string& name) const;
    void set(const std::string& name, const Value& value);
    // Takes `name` over from another bag, whatever its type; false when the bag lacks it.
    bool copyFrom(IESPropertyBag* bag, const char* name);

private:
    template <class T> ESResult read(const char* name, T* out) const;

    mutable std::mutex m_lock;
    std::map<std::string, Value> m_values;
};
