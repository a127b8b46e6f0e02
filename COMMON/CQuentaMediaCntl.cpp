#include "CQuentaMediaCntl.h"

#include "COutputSnapshot.h"
#include "ConversionJob.h"
#include "EncoderSetup.h"
#include "MediaEncoderFactory.h"

namespace {
constexpr const char* kModule = "COMMON/CQuentaMediaCntl";
// Fixed "Line:" field of the event for a missing job (part of the event text, not a source line).
constexpr int kEventLineNoJob = 115;
// Fixed "Line:" field of the event for an exception during a conversion.
constexpr int kEventLineConvertException = 181;
// Fixed "Line:" fields of the events for an exception while an encoder was made or stopped,
// and for a file no encoder could probe.
constexpr int kEventLineEncoderException = 182;
constexpr int kEventLineStopException = 183;
constexpr int kEventLineNoProbe = 184;

// A set-up record may carry any number in its kind; only the two encoders exist.
bool isKnown(EncoderKind kind)
{
    return kind == EncoderKind::FfmpegTool || kind == EncoderKind::RealMediaProducer;
}
} // namespace

CQuentaMediaCntl::CQuentaMediaCntl(EncoderFactory factory)
    : m_factory(factory ? std::move(factory) : EncoderFactory(CreateMediaEncoder))
{
}

CQuentaMediaCntl::~CQuentaMediaCntl() = default;

int CQuentaMediaCntl::Init(const EncoderSetup* setup)
{
    m_initProblem.clear();
    if (!setup)
        return 0;
    try {
        m_events = CEventReporter(setup->events);
        if (setup->kind != EncoderKind::FfmpegTool)
            return 0;
        std::unique_ptr<CMediaEncoder> encoder = m_factory(EncoderKind::FfmpegTool);
        if (!encoder)
            return 0;
        const int attached = encoder->Attach(setup);
        std::unique_ptr<CMediaEncoder> old;
        {
            std::lock_guard lock(m_slotLock);
            old = std::move(m_current);
            m_current = std::move(encoder);
            m_currentKind = EncoderKind::FfmpegTool;
        }
        return attached;
    } catch (...) {
        m_initProblem = QString::fromLocal8Bit(reportException(kEventLineEncoderException, "Init"));
        return 0;
    }
}

int CQuentaMediaCntl::bGetMediaFileContent(const QString& path, ConversionJob* job)
{
    if (path.isEmpty() || !job)
        return 0;
    CMediaEncoder* encoder = nullptr;
    CMediaEncoder* saved = nullptr;
    {
        std::lock_guard lock(m_slotLock);
        encoder = m_current.get();
        saved = m_saved.get();
    }
    // No batch runs on a controller that probes, so the encoder cannot be replaced meanwhile.
    int probed = encoder ? encoder->Probe(path, job) : 0;
    // The RealMedia producer, current after a batch that ended on its row, cannot probe: the
    // tool encoder it put aside can.
    if (probed == CMediaEncoder::kCannotProbe && saved)
        probed = saved->Probe(path, job);
    if (probed == CMediaEncoder::kCannotProbe) {
        m_events.error(CEventReporter::format(CEventReporter::kLongTextBuffer,
                                              "Module:%s,Line:%d,No encoder can probe %s", kModule,
                                              kEventLineNoProbe, path.toLocal8Bit().constData()),
                       CEventReporter::kLongTextBuffer);
        return 0;
    }
    return probed;
}

int CQuentaMediaCntl::SwitchEncoder(const EncoderSetup* setup)
{
    if (!setup || !hasEncoder())
        return 0;
    if (!isKnown(setup->kind))
        return 0;
    std::unique_ptr<CMediaEncoder> encoder;
    try {
        encoder = m_factory(setup->kind);
    } catch (...) {
        reportException(kEventLineEncoderException, "SwitchEncoder");
        return 0;
    }
    // Attached before it becomes current, so that a slow attach never holds up Stop.
    int attached = 0;
    try {
        attached = encoder ? encoder->Attach(setup) : 0;
    } catch (...) {
        reportException(kEventLineEncoderException, "Attach");
        attached = 0;
    }
    std::unique_ptr<CMediaEncoder> dropped;
    {
        std::lock_guard lock(m_slotLock);
        dropped = std::move(m_saved);
        m_saved = std::move(m_current);
        m_savedKind = m_currentKind;
        m_current = std::move(encoder);
        m_currentKind = setup->kind;
    }
    return attached;
}

int CQuentaMediaCntl::RestoreEncoder()
{
    std::unique_ptr<CMediaEncoder> dropped;
    int result = 0;
    {
        std::lock_guard lock(m_slotLock);
        dropped = std::move(m_current);
        if (m_saved) {
            m_current = std::move(m_saved);
            m_currentKind = m_savedKind;
            result = 1;
        }
    }
    return result;
}

int CQuentaMediaCntl::bDoConvert(ConversionJob* job)
{
    if (!job) {
        m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                              "Module:%s,Line:%d,pointer is NULL ", kModule,
                                              kEventLineNoJob));
        return 0;
    }
    job->outcome = RunOutcome{};
    CMediaEncoder* encoder = nullptr;
    {
        std::lock_guard lock(m_slotLock);
        if (!isKnown(m_currentKind))
            return 0;
        encoder = m_current.get();
    }
    if (!encoder) {
        job->outcome.reason = QStringLiteral("no encoder is ready");
        return 0;
    }
    // A dead tool cannot remove its partial file: whatever this run wrote goes on a failure.
    const COutputSnapshot before(job->outputPath);
    int result = 0;
    // Only this (the worker) thread replaces the encoder, so it outlives the conversion.
    try {
        if (encoder->Setup(job) != 1) {
            job->outcome.reason = encoder->Outcome().reason;
            if (job->outcome.reason.isEmpty())
                job->outcome.reason = QStringLiteral("the conversion could not be set up");
            return 0;
        }
        result = encoder->Run(job->outputPath, job->reservedValue);
        job->outcome = encoder->Outcome();
    } catch (const std::exception& e) {
        result = failOnException(*job, e.what());
    } catch (...) {
        result = failOnException(*job, CEventReporter::kUnknownException);
    }
    if (result != 1) {
        if (job->outcome.reason.isEmpty())
            job->outcome.reason = QStringLiteral("the encoder could not convert this file");
        before.removeIfWritten();
    }
    return result;
}

int CQuentaMediaCntl::Stop()
{
    try {
        std::lock_guard lock(m_slotLock);
        return m_current ? m_current->Stop() : 1;
    } catch (...) {
        reportException(kEventLineStopException, "Stop");
        return 0;
    }
}

void CQuentaMediaCntl::ClearStop()
{
    std::lock_guard lock(m_slotLock);
    if (m_current)
        m_current->ClearStop();
    if (m_saved)
        m_saved->ClearStop();
}

EncoderKind CQuentaMediaCntl::currentKind() const
{
    std::lock_guard lock(m_slotLock);
    return m_currentKind;
}

bool CQuentaMediaCntl::hasEncoder() const
{
    std::lock_guard lock(m_slotLock);
    return m_current != nullptr;
}

int CQuentaMediaCntl::failOnException(ConversionJob& job, const char* what)
{
    m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                          "Module:%s,Line:%d,bDoConvert raise exception", kModule,
                                          kEventLineConvertException));
    m_events.error(QByteArray(what));
    job.outcome = RunOutcome{};
    job.outcome.reason =
        QStringLiteral("the conversion raised an exception: ") + QString::fromLocal8Bit(what);
    return 0;
}

QByteArray CQuentaMediaCntl::reportException(int eventLine, const char* operation)
{
    const QByteArray what = CEventReporter::exceptionText(std::current_exception());
    m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                          "Module:%s,Line:%d,%s raise exception: %s", kModule,
                                          eventLine, operation, what.constData()));
    return what;
}
