#include "OptionValueCheck.h"

#include <QRegularExpression>

namespace {

struct Rule
{
    const char* name;
    const char* pattern;
    const char* accepted; // what the refusal names
};

// A profile value cannot hold a comma, so lists are joined by "+".
constexpr Rule kRules[] = {
    {"audio_tracks", "all|first|[a-z]{3}(\\+[a-z]{3})*",
     "\"all\", \"first\" or three-letter languages joined by \"+\" (\"fra+eng\")"},
    {"subtitles", "none|keep|forced|burn(:[a-z]{3})?",
     "\"none\", \"keep\", \"forced\", \"burn\" or \"burn:\" and a three-letter language "
     "(\"burn:fra\")"},
    {"metadata", "keep|strip", "\"keep\" or \"strip\""},
    {"crop", "none|auto|\\d{1,5}:\\d{1,5}:\\d{1,5}:\\d{1,5}",
     "\"none\", \"auto\" or pixels as top:bottom:left:right (\"140:140:0:0\")"},
    {"interlace", "off|auto|on", "\"off\", \"auto\" or \"on\""},
    {"loudness", "off|-\\d{1,2}(\\.\\d)?",
     "\"off\" or a target from -70 to -5 LUFS (\"-23\", \"-16\")"},
};

// EBU R128 normalisation in FFmpeg takes targets within these.
constexpr double kQuietest = -70;
constexpr double kLoudest = -5;

const Rule* ruleOf(QByteArrayView name)
{
    for (const Rule& rule : kRules)
        if (name == QByteArrayView(rule.name))
            return &rule;
    return nullptr;
}

bool matches(const Rule& rule, const QString& value)
{
    const QRegularExpression whole(QStringLiteral("^(?:%1)$").arg(QLatin1String(rule.pattern)),
                                   QRegularExpression::CaseInsensitiveOption);
    return whole.match(value.trimmed()).hasMatch();
}

} // namespace

QString OptionValueCheck::problem(QByteArrayView name, const QString& value)
{
    const Rule* rule = ruleOf(name);
    if (!rule)
        return QString();
    const bool inRange = name != QByteArrayView("loudness") ||
                         value.trimmed().compare(QLatin1String("off"), Qt::CaseInsensitive) == 0 ||
                         loudnessTarget(value) != 0;
    if (matches(*rule, value) && inRange)
        return QString();
    return QStringLiteral("-%1 \"%2\" is not accepted; it takes %3")
        .arg(QLatin1String(rule->name), value, QLatin1String(rule->accepted));
}

QString OptionValueCheck::pattern(QByteArrayView name)
{
    const Rule* rule = ruleOf(name);
    return rule ? QLatin1String(rule->pattern) : QString();
}

double OptionValueCheck::loudnessTarget(const QString& value)
{
    bool ok = false;
    const double target = value.trimmed().toDouble(&ok);
    return ok && target >= kQuietest && target <= kLoudest ? target : 0;
}
