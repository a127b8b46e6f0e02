#pragma once

#include <QByteArray>
#include <QValidator>

// Lets an option's value be typed only as far as it can still become a value the option
// accepts (OptionValueCheck), and calls it whole only when it is one. UI thread.
class OptionValueValidator : public QValidator
{
public:
    OptionValueValidator(const QByteArray& option, QObject* parent);

    // Acceptable for an accepted value, Intermediate for the start of one, else Invalid.
    State validate(QString& input, int& pos) const override;

private:
    QByteArray m_option;
};
