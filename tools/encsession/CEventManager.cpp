#include "CEventManager.h"

#include <algorithm>

ESResult CEventManager::Subscribe(IESListener* listener)
{
    if (!listener)
        return ES_E_POINTER;
    std::lock_guard lock(m_lock);
    for (const ESRef<IESListener>& known : m_listeners)
        if (known.get() == listener)
            return ES_E_INVALIDARG;
    listener->AddRef();
    m_listeners.push_back(ESRef<IESListener>::adopt(listener));
    return ES_OK;
}

ESResult CEventManager::Unsubscribe(IESListener* listener)
{
    if (!listener)
        return ES_E_POINTER;
    ESRef<IESListener> dropped; // released after the lock
    std::lock_guard lock(m_lock);
    const auto found =
        std::find_if(m_listeners.begin(), m_listeners.end(),
                     [&](const ESRef<IESListener>& l) { return l.get() == listener; });
    if (found == m_listeners.end())
        return ES_E_NOTFOUND;
    dropped = std::move(*found);
    m_listeners.erase(found);
    return ES_OK;
}

void CEventManager::Fire(int32_t kind, const void* value)
{
    std::vector<ESRef<IESListener>> listeners;
    {
        std::lock_guard lock(m_lock);
        listeners = m_listeners;
    }
    for (const ESRef<IESListener>& listener : listeners)
        listener->OnEvent(kind, value);
}
