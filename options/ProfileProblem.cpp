#include "ProfileProblem.h"

QString ProfileProblem::kindWord() const
{
    switch (kind) {
    case Unavailable:
        return QStringLiteral("unavailable");
    case Malformed:
        return QStringLiteral("malformed");
    case None:
        break;
    }
    return QString();
}

QString ProfileProblem::text() const
{
    return isEmpty() ? QString() : kindWord() + QStringLiteral(": ") + reason;
}
