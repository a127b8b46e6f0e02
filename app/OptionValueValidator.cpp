#include "OptionValueValidator.h"

#include "OptionValueCheck.h"

#include <QRegularExpression>

OptionValueValidator::OptionValueValidator(const QByteArray& option, QObject* parent)
    : QValidator(parent), m_option(option)
{
}

QValidator::State OptionValueValidator::validate(QString& input, int& /*pos*/) const
{
    if (OptionValueCheck::problem(m_option, input).isEmpty())
        return Acceptable;
    const QRegularExpression whole(
        QStringLiteral("^(?:%1)$").arg(OptionValueCheck::pattern(m_option)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m =
        whole.match(input.trimmed(), 0, QRegularExpression::PartialPreferCompleteMatch);
    return m.hasPartialMatch() || m.hasMatch() || input.trimmed().isEmpty() ? Intermediate
                                                                            : Invalid;
}
