#include "CJobFactory.h"

#include "CAudienceEnumerator.h"
#include "CDestination.h"
#include "CEncodingJob.h"
#include "CInput.h"
#include "CLogSystem.h"
#include "CLogWriter.h"
#include "CMediaProfile.h"
#include "COutputProfile.h"
#include "CPrefilter.h"
#include "CPropertyBag.h"

#include <new>

namespace {

// Makes an object from `bag` with `make` and hands out its interface T.
template <class T, class Object>
ESResult build(ESResult (*make)(IESPropertyBag*, Object**), IESPropertyBag* bag, void** out)
{
    if (!out)
        return ES_E_POINTER;
    *out = nullptr;
    if (!bag)
        return ES_E_POINTER;
    Object* object = nullptr;
    const ESResult result = make(bag, &object);
    if (ESFailed(result))
        return result;
    *out = static_cast<T*>(object);
    return ES_OK;
}

// Copies every known setting of `bag` onto a new profile object.
void takeOver(PropertyStore& to, IESPropertyBag* bag)
{
    for (const char* name : {"videoMode", "audioMode", "outputWidth", "outputHeight", "name"})
        to.copyFrom(bag, name);
}

} // namespace

CJobFactory::CJobFactory(AccessPaths paths)
    : m_paths(std::move(paths)), m_log(std::make_shared<LogHub>())
{
}

ESResult CJobFactory::CreateInstance(const ESGuid& iid, void** out)
{
    if (!out)
        return ES_E_POINTER;
    *out = nullptr;
    try {
        if (iid == IESJob::kIid)
            *out = static_cast<IESJob*>(new CEncodingJob(m_log));
        else if (iid == IESLogSystem::kIid)
            *out = static_cast<IESLogSystem*>(new CLogSystem(m_log));
        else if (iid == IESLogWriter::kIid)
            *out = static_cast<IESLogWriter*>(new CLogWriter(m_log));
        else if (iid == IESPropertyBag::kIid)
            *out = static_cast<IESPropertyBag*>(new CPropertyBag);
        else if (iid == IESAudienceEnumerator::kIid)
            *out = static_cast<IESAudienceEnumerator*>(new CAudienceEnumerator);
        else if (iid == IESOutputProfile::kIid)
            *out = static_cast<IESOutputProfile*>(new COutputProfile);
        else if (iid == IESMediaProfile::kIid)
            *out = static_cast<IESMediaProfile*>(new CMediaProfile);
        else if (iid == IESInput::kIid || iid == IESPrefilter::kIid || iid == IESDestination::kIid)
            return ES_E_INVALIDARG;
        else
            return ES_E_NOINTERFACE;
    } catch (const std::bad_alloc&) {
        return ES_E_OUTOFMEMORY;
    }
    return ES_OK;
}

ESResult CJobFactory::BuildInstance(const ESGuid& iid, IESPropertyBag* bag, void** out)
{
    try {
        if (iid == IESInput::kIid)
            return build<IESInput>(&CInput::Make, bag, out);
        if (iid == IESPrefilter::kIid)
            return build<IESPrefilter>(&CPrefilter::Make, bag, out);
        if (iid == IESDestination::kIid)
            return build<IESDestination>(&CDestination::Make, bag, out);
        const ESResult result = CreateInstance(iid, out);
        if (ESFailed(result) || !bag)
            return result;
        if (iid == IESOutputProfile::kIid)
            takeOver(
                static_cast<COutputProfile*>(static_cast<IESOutputProfile*>(*out))->properties(),
                bag);
        else if (iid == IESMediaProfile::kIid)
            takeOver(static_cast<CMediaProfile*>(static_cast<IESMediaProfile*>(*out))->properties(),
                     bag);
        return result;
    } catch (const std::bad_alloc&) {
        return ES_E_OUTOFMEMORY;
    }
}
