#include "CRmProducerEncoder.h"
#include "LoadedProducer.h"
#include "PrivateProfile.h"
#include "RecordingListener.h"
#include "TestMedia.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The producer library's object model through its exports, as a program sees it.
namespace {

constexpr ESGuid kUnknownKind{0x12345678, 0x1, 0x2, {3, 4, 5, 6, 7, 8, 9, 10}};

TEST(ProducerObjects, ExportsRefuseBadArguments)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.setPaths && producer.createFactory);
    EXPECT_EQ(producer.setPaths(nullptr), ES_E_POINTER);
    EXPECT_EQ(producer.setPaths("DT_Plugins\0\0"), ES_E_INVALIDARG);
    EXPECT_EQ(producer.setPaths("=/app/plugins\0\0"), ES_E_INVALIDARG);
    // A block that never ends must not be read past its 2048 bytes.
    const QByteArray endless(int(kESAccessPathBlockSize), 'a');
    EXPECT_EQ(producer.setPaths(endless.constData()), ES_E_INVALIDARG);
    EXPECT_EQ(producer.createFactory(nullptr), ES_E_POINTER);
    EXPECT_EQ(producer.setPaths("\0"), ES_OK); // no folders at all is still a block
}

TEST(ProducerObjects, TheFactoryMakesEachKindByIdentifierAndNothingElse)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    IESJobFactory* factory = producer.factory.get();
    for (const ESGuid& kind :
         {IESJob::kIid, IESLogSystem::kIid, IESLogWriter::kIid, IESPropertyBag::kIid,
          IESAudienceEnumerator::kIid, IESOutputProfile::kIid, IESMediaProfile::kIid}) {
        void* made = nullptr;
        ASSERT_EQ(factory->CreateInstance(kind, &made), ES_OK);
        auto* object = static_cast<IESUnknown*>(made);
        void* again = nullptr;
        EXPECT_EQ(object->QueryInterface(kind, &again), ES_OK);
        EXPECT_EQ(object->Release(), 1u);
        EXPECT_EQ(object->Release(), 0u);
    }
    void* made = &made;
    EXPECT_EQ(factory->CreateInstance(kUnknownKind, &made), ES_E_NOINTERFACE);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(factory->CreateInstance(IESJob::kIid, nullptr), ES_E_POINTER);
    for (const ESGuid& needsBag : {IESInput::kIid, IESPrefilter::kIid, IESDestination::kIid}) {
        EXPECT_EQ(factory->CreateInstance(needsBag, &made), ES_E_INVALIDARG);
        EXPECT_EQ(factory->BuildInstance(needsBag, nullptr, &made), ES_E_POINTER);
    }

    QTemporaryDir dir;
    const QByteArray missing = (dir.path() + "/missing.avi").toLocal8Bit();
    const QByteArray text = (dir.path() + "/text.avi").toLocal8Bit();
    ASSERT_TRUE(TestMedia::writeFile(QString::fromLocal8Bit(text), "not media at all"));
    struct Case
    {
        ESGuid kind;
        std::vector<std::pair<const char*, const char*>> texts;
        ESResult expected;
    };
    const Case cases[] = {
        {IESInput::kIid,
         {{"pluginType", "dshowInput"}, {"filename", text.constData()}},
         ES_E_UNKNOWNPLUGIN},
        {IESInput::kIid, {{"pluginType", "avFileInput"}}, ES_E_INVALIDARG},
        {IESInput::kIid,
         {{"pluginType", "avFileInput"}, {"filename", missing.constData()}},
         ES_E_INPUT},
        {IESInput::kIid,
         {{"pluginType", "avFileInput"}, {"filename", text.constData()}},
         ES_E_INPUT},
        {IESPrefilter::kIid, {{"pluginType", "deinterlacePrefilter"}}, ES_E_UNKNOWNPLUGIN},
        {IESDestination::kIid, {{"pluginType", "fileDestination"}}, ES_E_INVALIDARG},
        {IESDestination::kIid,
         {{"pluginType", "fileDestination"}, {"pluginName", "rn-file-mp4"}, {"filename", "a"}},
         ES_E_UNKNOWNPLUGIN},
    };
    for (const Case& c : cases) {
        made = &made;
        EXPECT_EQ(factory->BuildInstance(c.kind, producer.bag(c.texts).get(), &made), c.expected);
        EXPECT_EQ(made, nullptr);
    }
}

TEST(ProducerObjects, QueriesAnswerTheInterfacesAnObjectHasWithAReference)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    ESRef<IESMediaProfile> profile;
    ASSERT_EQ(ESBuild(producer.factory.get(), nullptr, profile), ES_OK);
    for (const ESGuid& has : {IESMediaProfile::kIid, IESPropertyBag::kIid, IESUnknown::kIid}) {
        void* out = nullptr;
        ASSERT_EQ(profile->QueryInterface(has, &out), ES_OK);
        EXPECT_EQ(profile->AddRef(), 3u); // the caller's, the query's and this one
        profile->Release();
        static_cast<IESUnknown*>(out)->Release();
    }
    void* out = &out;
    EXPECT_EQ(profile->QueryInterface(IESJob::kIid, &out), ES_E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(profile->QueryInterface(IESUnknown::kIid, nullptr), ES_E_POINTER);
    EXPECT_EQ(profile->AddRef(), 2u);
    profile->Release();
}

TEST(ProducerObjects, PropertiesKeepTheirTypeAndSayWhatIsWrong)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    ESRef<IESPropertyBag> bag = producer.bag({{"name", "28k Dial-up"}});
    int32_t number = 0;
    double real = 0;
    int32_t type = 0;
    EXPECT_EQ(bag->SetInt32("width", 240), ES_OK);
    EXPECT_EQ(bag->SetDouble("gain", 6.0), ES_OK);
    EXPECT_EQ(bag->GetInt32("width", &number), ES_OK);
    EXPECT_EQ(number, 240);
    EXPECT_EQ(bag->GetDouble("gain", &real), ES_OK);
    EXPECT_EQ(real, 6.0);
    EXPECT_EQ(bag->GetInt32("gain", &number), ES_E_TYPEMISMATCH);
    EXPECT_EQ(bag->GetDouble("missing", &real), ES_E_NOTFOUND);
    EXPECT_EQ(bag->GetInt32(nullptr, &number), ES_E_POINTER);
    EXPECT_EQ(bag->SetString("name", nullptr), ES_E_POINTER);

    char small[4] = {};
    uint32_t length = sizeof small;
    EXPECT_EQ(bag->GetString("name", small, &length), ES_E_BUFFERTOOSMALL);
    EXPECT_EQ(length, 12u); // the text and its NUL
    std::string name;
    EXPECT_EQ(ESGetString(bag.get(), "name", name), ES_OK);
    EXPECT_EQ(name, "28k Dial-up");

    // Setting a name again replaces its type as well.
    EXPECT_EQ(bag->SetString("width", "240"), ES_OK);
    EXPECT_EQ(bag->GetType("width", &type), ES_OK);
    EXPECT_EQ(type, ES_PROPERTY_STRING);
    EXPECT_EQ(bag->GetInt32("width", &number), ES_E_TYPEMISMATCH);
}

TEST(ProducerObjects, TheEventManagerHoldsOneReferencePerRegisteredListener)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    ESRef<IESJob> job;
    ESRef<IESEventManager> events;
    ASSERT_EQ(ESCreate(producer.factory.get(), job), ES_OK);
    ASSERT_EQ(job->GetEventManager(events.put()), ES_OK);
    RecordingListener listener;
    EXPECT_EQ(events->Subscribe(&listener), ES_OK);
    EXPECT_EQ(listener.refs, 1u);
    EXPECT_EQ(events->Subscribe(&listener), ES_E_INVALIDARG);
    EXPECT_EQ(listener.refs, 1u);
    EXPECT_EQ(events->Subscribe(nullptr), ES_E_POINTER);
    EXPECT_EQ(events->Unsubscribe(&listener), ES_OK);
    EXPECT_EQ(listener.refs, 0u);
    EXPECT_EQ(events->Unsubscribe(&listener), ES_E_NOTFOUND);

    // A job let go while a listener is registered lets the listener go too.
    EXPECT_EQ(events->Subscribe(&listener), ES_OK);
    events.reset();
    job.reset();
    EXPECT_EQ(listener.refs, 0u);
}

TEST(ProducerObjects, TheAudienceFolderFollowsTheProfilesListAndTheDriversIndex)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    // The vcodec value list of the shipped RealMedia profile names every audience in order.
    const QByteArray entry = PrivateProfile::readString(
        TestMedia::sourceDir() + "profiles/16-realmedia.pf", "Parameter", "vcodec", "", 4000);
    const qsizetype open = entry.indexOf('{');
    ASSERT_GT(open, 0);
    const QList<QByteArray> names = entry.mid(open + 1).chopped(1).split(',');
    ASSERT_EQ(names.size(), 38);

    ESRef<IESAudienceEnumerator> audiences;
    ASSERT_EQ(ESCreate(producer.factory.get(), audiences), ES_OK);
    ASSERT_EQ(audiences->Load((TestMedia::appDir() + "audiences").toLocal8Bit().constData()),
              ES_OK);
    ASSERT_EQ(audiences->GetAudienceCount(), 38u);
    for (int i = 0; i < names.size(); ++i) {
        ESRef<IESAudience> audience;
        ASSERT_EQ(audiences->GetAudience(uint32_t(i), audience.put()), ES_OK);
        std::string name;
        EXPECT_EQ(ESGetString(audience.get(), "name", name), ES_OK);
        EXPECT_EQ(QByteArray::fromStdString(name), names[i]);
        EXPECT_EQ(CRmProducerEncoder::audienceIndex(names[i]), i);
        EXPECT_GE(audience->GetStreamCount(), 1u);
    }
    ESRef<IESAudience> none;
    EXPECT_EQ(audiences->GetAudience(38, none.put()), ES_E_NOTFOUND);

    // A broken file would shift every later index: the whole folder is refused.
    QTemporaryDir dir;
    ASSERT_TRUE(TestMedia::writeFile(dir.path() + "/a.aud", "name=Half an audience\n"));
    EXPECT_EQ(audiences->Load(dir.path().toLocal8Bit().constData()), ES_E_FAIL);
    EXPECT_EQ(audiences->Load((dir.path() + "/none").toLocal8Bit().constData()), ES_E_NOTFOUND);
    EXPECT_EQ(audiences->Load(nullptr), ES_E_POINTER);
}

TEST(ProducerObjects, AJobStartsOnlyWhenFullyConfigured)
{
    LoadedProducer producer;
    ASSERT_TRUE(producer.factory);
    ESRef<IESJob> job;
    ASSERT_EQ(ESCreate(producer.factory.get(), job), ES_OK);
    EXPECT_EQ(job->StartEncoding(1), ES_E_NOTCONFIGURED);

    QTemporaryDir dir;
    const QByteArray clip = (dir.path() + "/clip.avi").toLocal8Bit();
    ASSERT_TRUE(TestMedia::makeVideo(QString::fromLocal8Bit(clip), 0.5, "64x48"));
    ESRef<IESInput> input;
    ASSERT_EQ(
        ESBuild(producer.factory.get(),
                producer.bag({{"pluginType", "avFileInput"}, {"filename", clip.constData()}}).get(),
                input),
        ES_OK);
    ASSERT_EQ(job->SetInput(input.get()), ES_OK);
    EXPECT_EQ(job->StartEncoding(1), ES_E_NOTCONFIGURED); // no output yet

    ESRef<IESOutputProfile> first, second;
    ASSERT_EQ(ESBuild(producer.factory.get(), nullptr, first), ES_OK);
    ASSERT_EQ(job->AddOutput(first.get()), ES_OK);
    EXPECT_EQ(job->StartEncoding(1), ES_E_NOTCONFIGURED); // no destination
    ASSERT_EQ(ESBuild(producer.factory.get(), nullptr, second), ES_OK);
    ASSERT_EQ(job->AddOutput(second.get()), ES_OK);
    EXPECT_EQ(job->StartEncoding(1), ES_E_NOTIMPL);
}

} // namespace
