#include "CRmProducerEncoder.h"

#include "AppFolder.h"
#include "CRmProgressListener.h"
#include "CTraceLog.h"
#include "ProducerLibrary.h"
#include "ThreadPriority.h"

#include <QDir>
#include <QLibrary>
#include <cstring>

namespace {

constexpr const char* kModule = "COMMON/CRmProducerEncoder";
// Fixed "Line:" fields of the events for an exception while the producer was loaded, set up,
// run or stopped, and for a stop that could not reach the library (part of the event text).
constexpr int kEventLineAttachException = 601;
constexpr int kEventLineSetupException = 602;
constexpr int kEventLineRunException = 603;
constexpr int kEventLineStopException = 604;
// A row's reason when the producer raised an exception, before the exception's own text.
constexpr const char* kSetupFailed = "the RealMedia producer could not be set up";
constexpr const char* kRunFailed = "the RealMedia producer failed";

// The producer's audiences in the order of its audience folder; the index is what it is sent.
constexpr const char* kAudiences[] = {
    "100% Quality Download (VBR)",
    "128k Dual ISDN",
    "12k Substream for 28k Dial-up",
    "150k LAN",
    "16k Substream for 28k Dial-up",
    "1M Download (VBR)",
    "1M Multichannel (VBR)",
    "1M Surround Stereo (VBR)",
    "256k DSL or Cable",
    "26k Substream for 56k Dial-up",
    "28k Dial-up",
    "2M Download (VBR)",
    "2M Multichannel (VBR)",
    "2M Surround Stereo (VBR)",
    "350k Download (VBR)",
    "350k Multichannel (VBR)",
    "350k Surround Stereo (VBR)",
    "384k DSL or Cable",
    "450k Download (VBR)",
    "450k Multichannel (VBR)",
    "450k Surround Stereo (VBR)",
    "512k DSL or Cable",
    "56k Dial-up",
    "5M Download (VBR)",
    "5M Multichannel (VBR)",
    "5M Surround Stereo (VBR)",
    "64k Single ISDN",
    "70% Quality Download (VBR)",
    "750k Download (VBR)",
    "750k Multichannel (VBR)",
    "750k Surround Stereo (VBR)",
    "768k DSL or Cable",
    "80% Quality Download (VBR)",
    "90% Quality Download (VBR)",
    "General Mobile Local Playback",
    "General Mobile Streaming",
    "Lossless Audio",
    "PocketPC Local Playback",
};

// The access-path entries: key and sub-folder of the application folder.
constexpr const char* kFolders[][2] = {
    {"DT_Plugins", "plugins"},
    {"DT_Codecs", "codecs"},
    {"DT_EncSDK", "tools"},
    {"DT_Common", "common"},
};

QByteArray separator()
{
    return QDir::separator().toLatin1() == '\\' ? QByteArray("\\") : QByteArray("/");
}

// Stops the run at a failed step.
#define ES_STEP(call)                                                                              \
    do {                                                                                           \
        const ESResult stepResult = (call);                                                        \
        if (ESFailed(stepResult))                                                                  \
            return stepResult;                                                                     \
    } while (0)

// Drops the listener at every end of a run.
template <class F> struct AtExit
{
    F f;
    ~AtExit() { f(); }
};
template <class F> AtExit(F) -> AtExit<F>;

} // namespace

CRmProducerEncoder::CRmProducerEncoder() = default;

CRmProducerEncoder::~CRmProducerEncoder()
{
    std::vector<std::thread> stops;
    {
        std::lock_guard lock(m_lock);
        stops.swap(m_stopThreads);
    }
    // They run library code and hold library objects.
    for (std::thread& stop : stops)
        if (stop.joinable())
            stop.join();
    dropListener();
    {
        std::lock_guard lock(m_lock);
        m_sdkJob.reset();
    }
    m_logWriter.reset();
    m_logSystem.reset();
    m_factory.reset();
    if (m_library)
        m_library->unload();
}

int CRmProducerEncoder::audienceIndex(const QByteArray& name)
{
    for (int i = 0; i < int(std::size(kAudiences)); ++i)
        if (name == kAudiences[i])
            return i;
    return 0;
}

int CRmProducerEncoder::Attach(const EncoderSetup* setup)
{
    if (!setup || !setup->callback)
        return 0;
    m_callback = setup->callback;
    m_context = setup->context;
    m_appFolder = setup->appFolder.isEmpty() ? AppFolder::path() : setup->appFolder;
    m_writeFolder = setup->writeFolder.isEmpty() ? m_appFolder : setup->writeFolder;
    m_trace = setup->trace;
    m_events = CEventReporter(setup->events);
    try {
        return ESFailed(Load()) ? 0 : 1;
    } catch (...) {
        reportException(kEventLineAttachException, "Attach");
        return 0;
    }
}

QByteArray CRmProducerEncoder::folderEntry(const char* name) const
{
    return m_appFolder.toLocal8Bit() + separator() + name;
}

ESResult CRmProducerEncoder::Load()
{
    m_accessPaths = QByteArray(int(kESAccessPathBlockSize), '\0');
    qsizetype at = 0;
    const QByteArray folder = m_appFolder.toLocal8Bit();
    for (const auto& [key, sub] : kFolders) {
        const QByteArray entry = QByteArray(key) + '=' + folder + sub;
        // Room for its NUL and the block's closing NUL; a longer folder cannot be told.
        if (at + entry.size() + 2 > m_accessPaths.size())
            return ES_E_INVALIDARG;
        std::memcpy(m_accessPaths.data() + at, entry.constData(), size_t(entry.size()));
        at += entry.size() + 1;
    }

    m_library = std::make_unique<QLibrary>(QString::fromLocal8Bit(folderEntry("tools")) +
                                           QDir::separator() + ProducerLibrary::fileName());
    if (!m_library->load())
        return ES_E_FAIL;
    auto setPaths = reinterpret_cast<SetDLLAccessPathFn>(m_library->resolve("SetDLLAccessPath"));
    if (!setPaths)
        return ES_E_FAIL;
    ES_STEP(setPaths(m_accessPaths.constData()));
    auto createFactory =
        reinterpret_cast<HXTCreateJobFactoryFn>(m_library->resolve("HXTCreateJobFactory"));
    if (!createFactory)
        return ES_E_FAIL;
    return createFactory(m_factory.put());
}

int CRmProducerEncoder::Setup(const ConversionJob* job)
{
    m_outcome = RunOutcome{};
    if (!job || !m_factory)
        return 0;
    try {
        m_job.settings = job->settings;
        m_job.media = job->media;
        m_job.inputPath = job->inputPath;
        m_job.outputPath = job->outputPath;
        m_job.progressDuration = job->progressDuration;
        m_job.reservedValue = job->reservedValue;

        dropListener(); // a run that never started leaves it registered
        ESRef<IESJob> sdkJob;
        ESRef<IESEventManager> events;
        bool made = !ESFailed(ESCreate(m_factory.get(), sdkJob)) &&
                    !ESFailed(sdkJob->GetEventManager(events.put()));
        auto* listener = new CRmProgressListener(m_callback, m_context);
        listener->AddRef();
        if (made && ESFailed(events->Subscribe(listener)))
            made = false;
        {
            std::lock_guard lock(m_lock);
            m_sdkJob = sdkJob;
            m_listener = made ? listener : nullptr;
        }
        if (!made)
            listener->Release();

        // The library's messages go into the program's own trace.
        // The library's folders beside the program, never relative to a current directory that
        // may be anywhere; its log where this run writes.
        const bool logged =
            !ESFailed(ESCreate(m_factory.get(), m_logSystem)) &&
            !ESFailed(m_logSystem->Initialize(folderEntry("tools").constData())) &&
            !ESFailed(ESCreate(m_factory.get(), m_logWriter)) &&
            !ESFailed(m_logWriter->SetLevel(0)) &&
            !ESFailed(m_logWriter->SetFile(
                (m_writeFolder.toLocal8Bit() + separator() + "trace.log").constData()));
        return made && logged ? 1 : 0;
    } catch (const std::exception& e) {
        return failOnException(kEventLineSetupException, "Setup", kSetupFailed, e.what());
    } catch (...) {
        return failOnException(kEventLineSetupException, "Setup", kSetupFailed,
                               CEventReporter::kUnknownException);
    }
}

int CRmProducerEncoder::Run(const QString& outputPath, int /*reservedValue*/)
{
    m_outcome = RunOutcome{};
    if (outputPath.isEmpty()) {
        m_outcome.reason = QStringLiteral("the job has no output path");
        return 0;
    }
    try {
        // Stopped before it could start: nothing is encoded.
        if (m_stopRequested.load()) {
            dropListener();
            m_outcome.stopped = true;
            return 1;
        }
        const ESResult result = configureAndStart();
        // A job cancelled by Stop, before or while it encoded, is stopped, not failed.
        if (m_stopRequested.load() && (!ESFailed(result) || result == ES_E_ABORT)) {
            m_outcome.stopped = true;
            return 1;
        }
        if (!ESFailed(result))
            return 1;
        m_outcome.reason = QStringLiteral("the RealMedia producer failed (status 0x%1)")
                               .arg(QString::number(quint32(result), 16));
        return 0;
    } catch (const std::exception& e) {
        failOnException(kEventLineRunException, "Run", kRunFailed, e.what());
    } catch (...) {
        failOnException(kEventLineRunException, "Run", kRunFailed,
                        CEventReporter::kUnknownException);
    }
    dropListener();
    return 0;
}

ESResult
CRmProducerEncoder::makeBag(std::initializer_list<std::pair<const char*, QByteArray>> texts,
                            ESRef<IESPropertyBag>& bag)
{
    ES_STEP(ESCreate(m_factory.get(), bag));
    for (const auto& [name, value] : texts)
        ES_STEP(bag->SetString(name, value.constData()));
    return ES_OK;
}

ESResult CRmProducerEncoder::configureAndStart()
{
    AtExit release{[this] { dropListener(); }};
    ESRef<IESJob> job;
    {
        std::lock_guard lock(m_lock);
        job = m_sdkJob;
    }
    if (!job || !m_factory)
        return ES_E_NOTCONFIGURED;

    // Input, with the two trace lines.
    const QByteArray inputPath = m_job.inputPath.toLocal8Bit();
    ESRef<IESPropertyBag> bag;
    ESRef<IESInput> input;
    ES_STEP(makeBag({{"pluginType", "avFileInput"}, {"filename", inputPath}}, bag));
    ES_STEP(ESBuild(m_factory.get(), bag.get(), input));
    ES_STEP(job->SetInput(input.get()));
    std::string plugin;
    ES_STEP(ESGetString(input.get(), "pluginName", plugin));
    if (m_trace) {
        m_trace->write("Input File: " + inputPath + "\r\n");
        m_trace->write("  Using input plugin: " + QByteArray::fromStdString(plugin) + "\r\n");
    }

    ES_STEP(addPrefilters(input.get()));

    // Destination.
    ESRef<IESOutputProfile> output;
    ESRef<IESDestination> destination;
    ES_STEP(ESBuild(m_factory.get(), nullptr, output));
    ES_STEP(job->AddOutput(output.get()));
    ES_STEP(makeBag({{"pluginType", "fileDestination"},
                     {"pluginName", "rn-file-realmedia"},
                     {"filename", m_job.outputPath.toLocal8Bit()}},
                    bag));
    ES_STEP(ESBuild(m_factory.get(), bag.get(), destination));
    ES_STEP(output->AddDestination(destination.get()));

    // Modes and frame size, on the first output.
    ESRef<IESMediaProfile> profile;
    ESRef<IESOutputProfile> first;
    ES_STEP(ESBuild(m_factory.get(), nullptr, profile));
    ES_STEP(job->GetOutput(0, first.put()));
    ES_STEP(first->SetMediaProfile(profile.get()));
    ES_STEP(profile->SetString("videoMode", "normal"));
    ES_STEP(profile->SetString("audioMode", "music"));
    ES_STEP(profile->SetInt32("outputWidth", m_job.settings.outputWidth));
    ES_STEP(profile->SetInt32("outputHeight", m_job.settings.outputHeight));

    ES_STEP(addAudience(first.get()));

    const ESResult started = job->StartEncoding(1);
    return started;
}

ESResult CRmProducerEncoder::addPrefilters(IESInput* input)
{
    ESRef<IESPropertyBag> bag;
    ESRef<IESPrefilter> prefilter;
    int32_t has = 0;
    ES_STEP(input->GetInt32("hasVideo", &has));
    if (has) {
        ES_STEP(makeBag(
            {{"pluginType", "blackLevelPrefilter"}, {"pluginName", "rn-prefilter-blacklevel"}},
            bag));
        ES_STEP(ESBuild(m_factory.get(), bag.get(), prefilter));
        ES_STEP(input->AddPrefilter(prefilter.get()));
    }
    ES_STEP(input->GetInt32("hasAudio", &has));
    if (has) {
        ES_STEP(makeBag(
            {{"pluginType", "audioGainPrefilter"}, {"pluginName", "rn-prefilter-audiogain"}}, bag));
        ES_STEP(ESBuild(m_factory.get(), bag.get(), prefilter));
        ES_STEP(prefilter->SetDouble("gain", 6.0));
        ES_STEP(input->AddPrefilter(prefilter.get()));
    }
    return ES_OK;
}

ESResult CRmProducerEncoder::addAudience(IESOutputProfile* output)
{
    const int index = audienceIndex(m_job.settings.audienceName);
    ESRef<IESAudienceEnumerator> audiences;
    ESRef<IESAudience> audience;
    ESRef<IESMediaProfile> profile;
    ES_STEP(ESCreate(m_factory.get(), audiences));
    ES_STEP(audiences->Load(folderEntry("audiences").constData()));
    ES_STEP(audiences->GetAudience(uint32_t(index), audience.put()));
    ES_STEP(output->GetMediaProfile(profile.put()));
    ES_STEP(profile->AddAudience(audience.get()));

    for (uint32_t a = 0; a < profile->GetAudienceCount(); ++a) {
        ES_STEP(profile->GetAudience(a, audience.put()));
        for (uint32_t s = 0; s < audience->GetStreamCount(); ++s) {
            ESRef<IESStream> stream;
            ES_STEP(audience->GetStream(s, stream.put()));
            std::string type;
            ES_STEP(ESGetString(stream.get(), "pluginType", type));
            if (type == "videoStream") {
                ES_STEP(stream->SetDouble("maxStartupLatency", 4.0));
                ES_STEP(stream->SetDouble("maxKeyFrameInterval", 10.0));
                ES_STEP(stream->SetString("encodingComplexity", "medium"));
            } else {
                stream->SetString("encodingComplexity", "medium");
            }
        }
    }
    return ES_OK;
}

void CRmProducerEncoder::dropListener()
{
    ESRef<IESJob> job;
    IESListener* listener = nullptr;
    {
        std::lock_guard lock(m_lock);
        job = m_sdkJob;
        listener = std::exchange(m_listener, nullptr);
    }
    unregister(job.get(), listener);
}

void CRmProducerEncoder::unregister(IESJob* job, IESListener* listener)
{
    if (!listener)
        return;
    ESRef<IESEventManager> events;
    if (job && !ESFailed(job->GetEventManager(events.put())))
        events->Unsubscribe(listener);
    listener->Release();
}

int CRmProducerEncoder::Stop()
{
    // Set first: a job that has not started yet never will, whatever follows.
    m_stopRequested.store(true);
    try {
        // The job and listener of this moment: an idle thread may start late, and must not
        // reach a conversion set up after the Stop.
        std::lock_guard lock(m_lock);
        ESRef<IESJob> job = m_sdkJob;
        IESListener* listener = std::exchange(m_listener, nullptr);
        try {
            m_stopThreads.emplace_back([job, listener] {
                ThreadPriority::setCurrentThreadIdle();
                unregister(job.get(), listener);
                if (job)
                    job->CancelEncoding();
            });
        } catch (...) {
            m_listener = listener; // no thread: Run's end lets it go
            throw;
        }
    } catch (...) {
        // An encoding under way goes on to its end.
        reportException(kEventLineStopException, "Stop");
        return 0;
    }
    return 1;
}

int CRmProducerEncoder::Probe(const QString&, ConversionJob*)
{
    return kCannotProbe;
}

int CRmProducerEncoder::Event(int, qint64, const QByteArray&, int)
{
    return 1;
}

void CRmProducerEncoder::reportException(int eventLine, const char* operation)
{
    reportException(eventLine, operation,
                    CEventReporter::exceptionText(std::current_exception()).constData());
}

void CRmProducerEncoder::reportException(int eventLine, const char* operation, const char* what)
{
    m_events.error(CEventReporter::format(CEventReporter::kTextBuffer,
                                          "Module:%s,Line:%d,%s raise exception: %s", kModule,
                                          eventLine, operation, what));
}

int CRmProducerEncoder::failOnException(int eventLine, const char* operation, const char* failed,
                                        const char* what)
{
    reportException(eventLine, operation, what);
    m_outcome.reason =
        QString::fromLatin1(failed) + QStringLiteral(": ") + QString::fromLocal8Bit(what);
    return 0;
}
