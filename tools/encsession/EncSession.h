#pragma once

// The RealMedia producer library "encsession" as its users see it: two exported C functions
// and a small reference-counted object model. Shared by the library and the programs that
// load it at run time; nothing here needs the library to be linked.
//
// Rules of the object model:
// - Every object counts references; a new object comes with one reference for the caller, and
//   the last Release destroys it. AddRef and Release may be called from any thread.
// - QueryInterface hands out an interface the object implements, with a new reference, and
//   answers ES_E_NOINTERFACE (with *out set to null) otherwise; a null out gives ES_E_POINTER.
// - Results are 32-bit status codes: negative for a failure, 0 or positive for success.
// - Texts are 8-bit, NUL-terminated, in the system's code page (UTF-8 here).

#include <cstdint>
#include <string>
#include <utility>

using ESResult = int32_t;

constexpr ESResult ES_OK = 0;
constexpr ESResult ES_FALSE = 1; // success, but not all done (an encoding that was cancelled)
constexpr ESResult ES_E_NOTIMPL = static_cast<int32_t>(0x80004001u);
constexpr ESResult ES_E_NOINTERFACE = static_cast<int32_t>(0x80004002u);
constexpr ESResult ES_E_POINTER = static_cast<int32_t>(0x80004003u);
constexpr ESResult ES_E_ABORT = static_cast<int32_t>(0x80004004u);
constexpr ESResult ES_E_FAIL = static_cast<int32_t>(0x80004005u);
constexpr ESResult ES_E_OUTOFMEMORY = static_cast<int32_t>(0x8007000Eu);
constexpr ESResult ES_E_INVALIDARG = static_cast<int32_t>(0x80070057u);
constexpr ESResult ES_E_BUFFERTOOSMALL = static_cast<int32_t>(0x8007007Au);
constexpr ESResult ES_E_NOTFOUND = static_cast<int32_t>(0x80070490u);
constexpr ESResult ES_E_TYPEMISMATCH = static_cast<int32_t>(0x80020005u);
constexpr ESResult ES_E_NOTINITIALIZED = static_cast<int32_t>(0x80040200u); // no access paths
constexpr ESResult ES_E_UNKNOWNPLUGIN = static_cast<int32_t>(0x80040201u);
constexpr ESResult ES_E_INPUT = static_cast<int32_t>(0x80040202u);  // input unreadable
constexpr ESResult ES_E_OUTPUT = static_cast<int32_t>(0x80040203u); // output not writable
constexpr ESResult ES_E_CODEC = static_cast<int32_t>(0x80040204u);  // encoding failed
constexpr ESResult ES_E_BUSY = static_cast<int32_t>(0x80040205u);   // the job is encoding
constexpr ESResult ES_E_NOTCONFIGURED = static_cast<int32_t>(0x80040206u);

// True for a status that reports a failure.
constexpr bool ESFailed(ESResult result)
{
    return result < 0;
}

struct ESGuid
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];

    friend constexpr bool operator==(const ESGuid&, const ESGuid&) = default;
};

// Event kinds a job reports to its listeners, with what the value points to.
enum ESEventKind : int32_t
{
    ES_EVENT_STARTED = 0,   // null
    ES_EVENT_COMPLETED = 1, // null: the whole input was encoded
    ES_EVENT_FAILED = 2,    // the int32_t failure status
    ES_EVENT_CANCELLED = 3, // null: the file holds what was encoded until the cancel
    ES_EVENT_PROGRESS = 6   // the int32_t percentage 0..100
};

// Property types of a property bag.
enum ESPropertyType : int32_t
{
    ES_PROPERTY_STRING = 1,
    ES_PROPERTY_INT32 = 2,
    ES_PROPERTY_DOUBLE = 3
};

struct IESUnknown
{
    static constexpr ESGuid kIid{
        0xff361f86, 0xbc22, 0x45a4, {0xa1, 0x50, 0xe2, 0x3c, 0xd4, 0x2e, 0x95, 0x90}};
    // Hands out interface `iid` of this object with a new reference.
    virtual ESResult QueryInterface(const ESGuid& iid, void** out) = 0;
    // Adds a reference; returns the new count.
    virtual uint32_t AddRef() = 0;
    // Drops a reference, destroying the object at 0; returns the new count.
    virtual uint32_t Release() = 0;

protected:
    ~IESUnknown() = default;
};

// Named properties of text, 32-bit integer and 64-bit float type. Setting a name again
// replaces its value and type; reading it as another type gives ES_E_TYPEMISMATCH, reading
// a name never set ES_E_NOTFOUND, a null name or value ES_E_POINTER.
struct IESPropertyBag : IESUnknown
{
    static constexpr ESGuid kIid{
        0x4C959CF0, 0x35F9, 0x40F2, {0x84, 0xDD, 0x09, 0x15, 0x37, 0x70, 0x2C, 0x34}};
    virtual ESResult SetString(const char* name, const char* value) = 0;
    // `length` holds the buffer's size on entry and the text's size with its NUL on return;
    // a null or too small buffer gives ES_E_BUFFERTOOSMALL with the size needed.
    virtual ESResult GetString(const char* name, char* buffer, uint32_t* length) = 0;
    virtual ESResult SetInt32(const char* name, int32_t value) = 0;
    virtual ESResult GetInt32(const char* name, int32_t* value) = 0;
    virtual ESResult SetDouble(const char* name, double value) = 0;
    virtual ESResult GetDouble(const char* name, double* value) = 0;
    // The ESPropertyType of `name`.
    virtual ESResult GetType(const char* name, int32_t* type) = 0;

protected:
    ~IESPropertyBag() = default;
};

// Implemented by the library's users to hear a job's events (ESEventKind).
struct IESListener : IESUnknown
{
    static constexpr ESGuid kIid{
        0x7D8D5E8D, 0x9A0D, 0x459A, {0xB9, 0xC8, 0x73, 0x9B, 0x9F, 0xEE, 0xA8, 0x2F}};
    // Called on the job's encoding thread; `value` as ESEventKind says, valid during the call.
    virtual ESResult OnEvent(int32_t kind, const void* value) = 0;

protected:
    ~IESListener() = default;
};

// A job's listeners. Each registered listener holds one reference until it is unregistered;
// a listener being called keeps a reference of its own until the call returns, so it may be
// unregistered from another thread at any time.
struct IESEventManager : IESUnknown
{
    static constexpr ESGuid kIid{
        0x5bb9ab01, 0x8d19, 0x4fc9, {0x9d, 0x31, 0xbb, 0xaa, 0x0a, 0xb0, 0xa3, 0xdb}};
    // ES_E_INVALIDARG when already registered.
    virtual ESResult Subscribe(IESListener* listener) = 0;
    // ES_E_NOTFOUND when not registered.
    virtual ESResult Unsubscribe(IESListener* listener) = 0;

protected:
    ~IESEventManager() = default;
};

// A pre-filter of an input ("pluginType" blackLevelPrefilter or audioGainPrefilter, the
// latter with the float "gain" in dB).
struct IESPrefilter : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0x2717FED5, 0xB783, 0x41F9, {0xBC, 0x57, 0x79, 0xD6, 0x3E, 0xEA, 0xA1, 0xF1}};

protected:
    ~IESPrefilter() = default;
};

// A media file to encode; knows "filename", "pluginName", "hasVideo", "hasAudio" and the
// float "duration" in seconds once made.
struct IESInput : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0x8EF8B674, 0x85AA, 0x428A, {0xBD, 0xAD, 0x12, 0x55, 0x29, 0xE7, 0x47, 0x02}};
    virtual ESResult AddPrefilter(IESPrefilter* prefilter) = 0;
    virtual uint32_t GetPrefilterCount() = 0;
    // ES_E_NOTFOUND past the last.
    virtual ESResult GetPrefilter(uint32_t index, IESPrefilter** out) = 0;

protected:
    ~IESInput() = default;
};

// One stream of an audience: "pluginType" videoStream or audioStream, its "bitrate" and the
// settings the encoder takes from it.
struct IESStream : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0x6b1f42b9, 0xedaa, 0x4cee, {0xb2, 0xb9, 0xe4, 0x99, 0x83, 0xf6, 0x84, 0x00}};

protected:
    ~IESStream() = default;
};

// A target connection: its "name", rates and streams.
struct IESAudience : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0x2ae30f8b, 0x26e2, 0x4476, {0x95, 0xc3, 0x02, 0x49, 0x44, 0xd0, 0x2a, 0x94}};
    virtual uint32_t GetStreamCount() = 0;
    virtual ESResult GetStream(uint32_t index, IESStream** out) = 0;

protected:
    ~IESAudience() = default;
};

// What an output holds: modes, frame size ("outputWidth", "outputHeight"; a height of 0
// keeps the input's aspect ratio) and the audiences to encode for (the first one counts).
struct IESMediaProfile : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0xACAB0452, 0x6FED, 0x11D5, {0x96, 0xE7, 0x00, 0xD0, 0xB7, 0x06, 0x8A, 0x6E}};
    virtual ESResult AddAudience(IESAudience* audience) = 0;
    virtual uint32_t GetAudienceCount() = 0;
    virtual ESResult GetAudience(uint32_t index, IESAudience** out) = 0;

protected:
    ~IESMediaProfile() = default;
};

// Where an output goes: "pluginType" fileDestination, "pluginName" rn-file-realmedia and
// the "filename".
struct IESDestination : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0xB09208E7, 0xA692, 0x4ACF, {0x9E, 0x59, 0x74, 0x64, 0xD7, 0xD5, 0x34, 0x89}};

protected:
    ~IESDestination() = default;
};

// One output of a job: its destinations and its media profile.
struct IESOutputProfile : IESPropertyBag
{
    static constexpr ESGuid kIid{
        0x27F7E0E3, 0x6FD2, 0x11D5, {0x96, 0xE7, 0x00, 0xD0, 0xB7, 0x06, 0x8A, 0x6E}};
    virtual ESResult AddDestination(IESDestination* destination) = 0;
    virtual uint32_t GetDestinationCount() = 0;
    virtual ESResult GetDestination(uint32_t index, IESDestination** out) = 0;
    virtual ESResult SetMediaProfile(IESMediaProfile* profile) = 0;
    // ES_E_NOTFOUND before one is set.
    virtual ESResult GetMediaProfile(IESMediaProfile** out) = 0;

protected:
    ~IESOutputProfile() = default;
};

// The audiences of a folder of audience files, in the order of their file names.
struct IESAudienceEnumerator : IESUnknown
{
    static constexpr ESGuid kIid{
        0x45D2135C, 0x6B46, 0x4D02, {0xB7, 0xEC, 0xE2, 0x78, 0x91, 0xBC, 0x75, 0x1A}};
    // Reads every "*.aud" file of `folder`; one unreadable file fails the whole load.
    virtual ESResult Load(const char* folder) = 0;
    virtual uint32_t GetAudienceCount() = 0;
    // A fresh copy of audience `index`, ES_E_NOTFOUND past the last.
    virtual ESResult GetAudience(uint32_t index, IESAudience** out) = 0;

protected:
    ~IESAudienceEnumerator() = default;
};

// One encoding: an input, outputs and listeners.
struct IESJob : IESUnknown
{
    static constexpr ESGuid kIid{
        0x06ADF590, 0x64C6, 0x48FC, {0xA5, 0xFB, 0xDA, 0x1A, 0xB6, 0xFB, 0x45, 0xF4}};
    virtual ESResult SetInput(IESInput* input) = 0;
    virtual ESResult GetInput(IESInput** out) = 0;
    virtual ESResult AddOutput(IESOutputProfile* output) = 0;
    virtual uint32_t GetOutputCount() = 0;
    virtual ESResult GetOutput(uint32_t index, IESOutputProfile** out) = 0;
    virtual ESResult GetEventManager(IESEventManager** out) = 0;
    // Encodes on a thread of the job's own. With `wait` non-zero returns when encoding has
    // ended: ES_OK when complete, ES_FALSE when cancelled, a failure status otherwise; with 0
    // returns at once (the end is the last event). ES_E_BUSY while encoding, ES_E_ABORT when
    // the job was cancelled before it started.
    virtual ESResult StartEncoding(int32_t wait) = 0;
    // Ends the encoding soon, keeping what was written as a playable file; the job stays
    // cancelled. Any thread.
    virtual ESResult CancelEncoding() = 0;

protected:
    ~IESJob() = default;
};

// Starts the routing of the library's messages to log writers.
struct IESLogSystem : IESUnknown
{
    static constexpr ESGuid kIid{
        0xE50F7E51, 0x4640, 0x11D5, {0x93, 0x5B, 0x00, 0xD0, 0xB7, 0x49, 0xDE, 0x42}};
    // `observerFolder` names where further log observers would be looked for.
    virtual ESResult Initialize(const char* observerFolder) = 0;

protected:
    ~IESLogSystem() = default;
};

// Appends the library's messages to a file while the writer lives.
struct IESLogWriter : IESUnknown
{
    static constexpr ESGuid kIid{
        0x478D6411, 0xA712, 0x11D5, {0x93, 0x74, 0x00, 0xD0, 0xB7, 0x49, 0xDE, 0x42}};
    // 0 everything, 1 warnings and errors, 2 errors only.
    virtual ESResult SetLevel(int32_t level) = 0;
    virtual ESResult SetFile(const char* path) = 0;

protected:
    ~IESLogWriter() = default;
};

// Makes the library's objects by interface identifier.
struct IESJobFactory : IESUnknown
{
    static constexpr ESGuid kIid{
        0xe1633d63, 0xaab2, 0x406a, {0x9d, 0x65, 0x5b, 0xa9, 0x5a, 0x81, 0x85, 0x7d}};
    // Job, log system, log writer, property bag, audience enumerator, output and media profile.
    // Kinds that need a bag give ES_E_INVALIDARG, unknown identifiers ES_E_NOINTERFACE.
    virtual ESResult CreateInstance(const ESGuid& iid, void** out) = 0;
    // Input, pre-filter and destination from a bag of their settings; output and media profile
    // with a null bag; other kinds as CreateInstance.
    virtual ESResult BuildInstance(const ESGuid& iid, IESPropertyBag* bag, void** out) = 0;

protected:
    ~IESJobFactory() = default;
};

// Exports looked up by name.
#if defined(_WIN32)
#define ENCSESSION_EXPORT extern "C" __declspec(dllexport)
#else
#define ENCSESSION_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// `block`: "KEY=VALUE" texts each ended by a NUL, the last followed by a further NUL, within
// 2048 bytes. Must come before HXTCreateJobFactory.
using SetDLLAccessPathFn = ESResult (*)(const char* block);
// A new job factory with one reference; ES_E_NOTINITIALIZED before SetDLLAccessPath.
using HXTCreateJobFactoryFn = ESResult (*)(IESJobFactory** out);

constexpr uint32_t kESAccessPathBlockSize = 2048;

// Holds one reference to a library object and drops it when it goes.
template <class T> class ESRef
{
public:
    ESRef() = default;
    ESRef(std::nullptr_t) {}
    // Takes over `p`'s reference (no AddRef).
    static ESRef adopt(T* p)
    {
        ESRef ref;
        ref.m_p = p;
        return ref;
    }
    ESRef(const ESRef& other) : m_p(other.m_p)
    {
        if (m_p)
            m_p->AddRef();
    }
    ESRef(ESRef&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ESRef& operator=(ESRef other) noexcept
    {
        std::swap(m_p, other.m_p);
        return *this;
    }
    ~ESRef() { reset(); }

    void reset()
    {
        if (T* p = std::exchange(m_p, nullptr))
            p->Release();
    }
    // For an out parameter of type T**: drops the current reference first.
    T** put()
    {
        reset();
        return &m_p;
    }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p = nullptr;
};

// The calls that hand out a void* for an identifier, typed.
template <class T> ESResult ESCreate(IESJobFactory* factory, ESRef<T>& out)
{
    void* raw = nullptr;
    const ESResult result = factory->CreateInstance(T::kIid, &raw);
    out = ESRef<T>::adopt(ESFailed(result) ? nullptr : static_cast<T*>(raw));
    return result;
}

template <class T> ESResult ESBuild(IESJobFactory* factory, IESPropertyBag* bag, ESRef<T>& out)
{
    void* raw = nullptr;
    const ESResult result = factory->BuildInstance(T::kIid, bag, &raw);
    out = ESRef<T>::adopt(ESFailed(result) ? nullptr : static_cast<T*>(raw));
    return result;
}

template <class T> ESResult ESQuery(IESUnknown* object, ESRef<T>& out)
{
    void* raw = nullptr;
    const ESResult result = object->QueryInterface(T::kIid, &raw);
    out = ESRef<T>::adopt(ESFailed(result) ? nullptr : static_cast<T*>(raw));
    return result;
}

// Reads text property `name` whatever its length.
inline ESResult ESGetString(IESPropertyBag* bag, const char* name, std::string& value)
{
    uint32_t length = 0;
    ESResult result = bag->GetString(name, nullptr, &length);
    if (result != ES_E_BUFFERTOOSMALL)
        return result;
    std::string text(length, '\0');
    result = bag->GetString(name, text.data(), &length);
    if (!ESFailed(result))
        value.assign(text.c_str());
    return result;
}
