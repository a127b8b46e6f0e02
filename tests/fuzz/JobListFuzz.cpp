// The kept job list. Input: a joblist.json as found at start, which a crash, a full disk or
// another program may have left in any state.
// Reading any bytes must never fail unsafely, and a list it accepts must survive being kept
// again: written and read back, it has the same rows and output box.
#include "FuzzSupport.h"
#include "JobListStore.h"

using namespace FuzzSupport;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<JobListStore::Kept> read = JobListStore::decode(bytes(data, size));
    if (!read)
        return 0;
    for (const JobListStore::Row& row : read->rows)
        check(!row.inputPath.isEmpty(), "a row without a file was accepted");
    const std::optional<JobListStore::Kept> again =
        JobListStore::decode(JobListStore::encode(*read));
    check(again.has_value(), "a list written by the program is not read back");
    check(again->rows.size() == read->rows.size(), "rows lost when kept again");
    // A lone surrogate has no UTF-8 form, so only well-formed text can come back as it was.
    if (read->outputBox.isValidUtf16())
        check(again->outputBox == read->outputBox, "the output box changed when kept again");
    return 0;
}
