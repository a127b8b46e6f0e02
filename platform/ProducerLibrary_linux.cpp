#include "ProducerLibrary.h"

QString ProducerLibrary::fileName()
{
    return QStringLiteral("libencsession.so");
}
