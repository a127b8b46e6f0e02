#include "COutputProfile.h"

#include "HeldReference.h"

ESResult COutputProfile::SetMediaProfile(IESMediaProfile* profile)
{
    return HeldReference::store(m_lock, m_profile, profile);
}

ESResult COutputProfile::GetMediaProfile(IESMediaProfile** out)
{
    return HeldReference::give(m_lock, m_profile, out);
}
