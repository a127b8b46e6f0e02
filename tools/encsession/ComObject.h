#pragma once

#include "EncSession.h"

#include <atomic>

// Reference counting and interface queries for an object of this library implementing
// `Interface` and, through it, each of `Bases` (the interfaces `Interface` derives from).
// A new object holds one reference, which its maker hands to the caller.
template <class Interface, class... Bases> class ComObject : public Interface
{
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ESResult QueryInterface(const ESGuid& iid, void** out) override
    {
        if (!out)
            return ES_E_POINTER;
        void* found = nullptr;
        if (iid == Interface::kIid)
            found = static_cast<Interface*>(this);
        else if (iid == IESUnknown::kIid)
            found = static_cast<IESUnknown*>(this);
        else
            (void)((iid == Bases::kIid && (found = static_cast<Bases*>(this))) || ...);
        *out = found;
        if (!found)
            return ES_E_NOINTERFACE;
        AddRef();
        return ES_OK;
    }
    uint32_t AddRef() override { return m_refs.fetch_add(1) + 1; }
    uint32_t Release() override
    {
        const uint32_t left = m_refs.fetch_sub(1) - 1;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

private:
    std::atomic<uint32_t> m_refs{1};
};

// Hands `object`'s interface T to `out` with the reference the object was made with.
template <class T> ESResult HandOut(T* object, void** out)
{
    if (!out) {
        object->Release();
        return ES_E_POINTER;
    }
    *out = object;
    return ES_OK;
}
