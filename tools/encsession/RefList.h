#pragma once

#include "EncSession.h"

#include <mutex>
#include <vector>

// The child objects an object holds (pre-filters, destinations, audiences, streams, outputs),
// with the results of the Add/GetCount/Get operations. Threads: any.
template <class T> class RefList
{
public:
    ESResult add(T* item)
    {
        if (!item)
            return ES_E_POINTER;
        item->AddRef();
        std::lock_guard lock(m_lock);
        m_items.push_back(ESRef<T>::adopt(item));
        return ES_OK;
    }
    uint32_t count() const
    {
        std::lock_guard lock(m_lock);
        return uint32_t(m_items.size());
    }
    ESResult get(uint32_t index, T** out) const
    {
        if (!out)
            return ES_E_POINTER;
        std::lock_guard lock(m_lock);
        *out = nullptr;
        if (index >= m_items.size())
            return ES_E_NOTFOUND;
        *out = m_items[index].get();
        (*out)->AddRef();
        return ES_OK;
    }
    // A copy of the references, to work on without the lock.
    std::vector<ESRef<T>> items() const
    {
        std::lock_guard lock(m_lock);
        return m_items;
    }

private:
    mutable std::mutex m_lock;
    std::vector<ESRef<T>> m_items;
};
