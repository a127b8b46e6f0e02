#include "CRmProgressListener.h"

CRmProgressListener::CRmProgressListener(ProgressCallback callback, void* context)
    : m_callback(std::move(callback)), m_context(context)
{
}

ESResult CRmProgressListener::QueryInterface(const ESGuid& iid, void** out)
{
    if (!out)
        return ES_E_POINTER;
    if (!(iid == IESListener::kIid)) {
        *out = nullptr;
        return ES_E_NOINTERFACE;
    }
    *out = static_cast<IESListener*>(this);
    AddRef();
    return ES_OK;
}

uint32_t CRmProgressListener::AddRef()
{
    return m_refs.fetch_add(1) + 1;
}

uint32_t CRmProgressListener::Release()
{
    const uint32_t left = m_refs.fetch_sub(1) - 1;
    if (left == 0)
        delete this;
    return left;
}

ESResult CRmProgressListener::OnEvent(int32_t kind, const void* value)
{
    int percent = 0;
    switch (kind) {
    case ES_EVENT_STARTED:
        percent = 1;
        break;
    case ES_EVENT_COMPLETED:
        percent = 100;
        break;
    case ES_EVENT_PROGRESS:
        if (!value)
            return ES_OK;
        percent = *static_cast<const int32_t*>(value);
        if (percent == 0)
            percent = 1;
        break;
    default:
        return ES_OK;
    }
    // Nothing may leave into the library's thread.
    try {
        if (m_callback)
            m_callback(percent, m_context);
    } catch (...) {
    }
    return ES_OK;
}
