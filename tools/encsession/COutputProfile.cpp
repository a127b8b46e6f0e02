#include "COutputProfile.h"

ESResult COutputProfile::SetMediaProfile(IESMediaProfile* profile)
{
    if (!profile)
        return ES_E_POINTER;
    profile->AddRef();
    ESRef<IESMediaProfile> held = ESRef<IESMediaProfile>::adopt(profile);
    std::lock_guard lock(m_lock);
    std::swap(m_profile, held);
    return ES_OK;
}

ESResult COutputProfile::GetMediaProfile(IESMediaProfile** out)
{
    if (!out)
        return ES_E_POINTER;
    std::lock_guard lock(m_lock);
    *out = m_profile.get();
    if (!*out)
        return ES_E_NOTFOUND;
    (*out)->AddRef();
    return ES_OK;
}
