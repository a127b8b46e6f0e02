#include "ProducerLibrary.h"

QString ProducerLibrary::fileName()
{
    return QStringLiteral("encsession.dll");
}
