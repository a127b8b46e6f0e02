#include "RowState.h"

#include <array>

namespace {

const std::array<const char*, 6> kNames{"Ready", "Converting", "Completed",
                                        "Fail",  "Abort",      "Skipped"};

} // namespace

QString rowStateText(RowState state)
{
    return state == RowState::Converting ? QString() : rowStateName(state);
}

QString rowStateName(RowState state)
{
    return QString::fromLatin1(kNames[size_t(state)]);
}

std::optional<RowState> rowStateFromName(const QString& name)
{
    for (size_t i = 0; i < kNames.size(); ++i)
        if (name == QLatin1String(kNames[i]))
            return RowState(i);
    return std::nullopt;
}

bool isJudged(RowState state)
{
    return state == RowState::Completed || state == RowState::Fail || state == RowState::Abort ||
           state == RowState::Skipped;
}
