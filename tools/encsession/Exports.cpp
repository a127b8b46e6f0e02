// The two functions the library exports; everything else is reached through the factory.
#include "AccessPaths.h"
#include "CJobFactory.h"

#include <mutex>
#include <new>

namespace {

// The folders set by SetDLLAccessPath, which a C function without context can only keep
// for the library as a whole.
struct LibraryPaths
{
    std::mutex lock;
    std::optional<AccessPaths> paths;
};

LibraryPaths& libraryPaths()
{
    static LibraryPaths paths;
    return paths;
}

} // namespace

ENCSESSION_EXPORT ESResult SetDLLAccessPath(const char* block)
{
    if (!block)
        return ES_E_POINTER;
    std::optional<AccessPaths> paths = AccessPaths::parse(block, kESAccessPathBlockSize);
    if (!paths)
        return ES_E_INVALIDARG;
    LibraryPaths& library = libraryPaths();
    std::lock_guard lock(library.lock);
    library.paths = std::move(paths);
    return ES_OK;
}

ENCSESSION_EXPORT ESResult HXTCreateJobFactory(IESJobFactory** out)
{
    if (!out)
        return ES_E_POINTER;
    *out = nullptr;
    LibraryPaths& library = libraryPaths();
    std::lock_guard lock(library.lock);
    if (!library.paths)
        return ES_E_NOTINITIALIZED;
    try {
        *out = new CJobFactory(*library.paths);
    } catch (const std::bad_alloc&) {
        return ES_E_OUTOFMEMORY;
    }
    return ES_OK;
}
