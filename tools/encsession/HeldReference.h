#pragma once

#include "EncSession.h"

#include <mutex>

// One object reference an object holds for its callers, set and read under `lock`: the
// Set.../Get... pairs of the object model.
namespace HeldReference {

// Holds `value` (a reference of its own) in `place`, dropping the one held before.
template <class T> ESResult store(std::mutex& lock, ESRef<T>& place, T* value)
{
    if (!value)
        return ES_E_POINTER;
    value->AddRef();
    ESRef<T> held = ESRef<T>::adopt(value);
    std::lock_guard hold(lock);
    std::swap(place, held);
    return ES_OK;
}

// Hands out the held reference (AddRef'd) in `out`; ES_E_NOTFOUND when none is held.
template <class T> ESResult give(std::mutex& lock, const ESRef<T>& place, T** out)
{
    if (!out)
        return ES_E_POINTER;
    std::lock_guard hold(lock);
    *out = place.get();
    if (!*out)
        return ES_E_NOTFOUND;
    (*out)->AddRef();
    return ES_OK;
}

} // namespace HeldReference
