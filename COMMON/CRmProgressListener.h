#pragma once

#include "EncSession.h"
#include "EncoderSetup.h"

#include <atomic>

// Hears an encoding job of the producer library and turns its events into progress:
// started → 1, completed → 100, progress → its percentage (1 for 0); nothing else.
// Reference-counted: starts at 0 and deletes itself when a Release brings the count to 0.
// Threads: events arrive on the library's encoding thread; references change on any thread.
class CRmProgressListener final : public IESListener
{
public:
    CRmProgressListener(ProgressCallback callback, void* context);
    CRmProgressListener(const CRmProgressListener&) = delete;
    CRmProgressListener& operator=(const CRmProgressListener&) = delete;

    // Answers only the listener identifier.
    ESResult QueryInterface(const ESGuid& iid, void** out) override;
    uint32_t AddRef() override;
    uint32_t Release() override;
    // Always ES_OK; the callback's own failures stay here.
    ESResult OnEvent(int32_t kind, const void* value) override;

private:
    ~CRmProgressListener() = default;

    std::atomic<uint32_t> m_refs{0};
    ProgressCallback m_callback;
    void* m_context;
};
