// One "Parameter" entry of a profile. Input: the key line, then the value.
// Parsing must never fail unsafely; an accepted entry must be whole and its choices clean,
// and the command-line rules must take any parsed option.
#include "CEncoderCommandBuilder.h"
#include "FuzzSupport.h"
#include "ProfileEntryParser.h"

using namespace FuzzSupport;

namespace {

void checkChoices(const QList<QByteArray>& choices)
{
    for (const QByteArray& item : choices)
        check(!item.isEmpty() && item == item.trimmed(), "choice empty or not trimmed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray value = bytes(data, size);
    const QByteArray key = takeLine(value);

    checkChoices(ProfileEntryParser::SplitChoices(value));

    ProfileOption option;
    if (!ProfileEntryParser::ParseEntry(key, value, option))
        return 0;
    check(option.name == key && !option.label.isEmpty(), "accepted entry lost its name");
    check(option.category >= 1 && option.category <= 3, "category out of range");
    check(value.count(',') >= 2, "entry with fewer than two commas accepted");
    checkChoices(option.choices);
    check(option.choices.isEmpty() || !option.listText.isEmpty(), "choices without a list");

    for (bool withTimeRules : {false, true}) {
        QByteArray written;
        if (CEncoderCommandBuilder::keepOption(option, written, withTimeRules))
            CEncoderCommandBuilder::toolCodec(written);
    }
    return 0;
}
