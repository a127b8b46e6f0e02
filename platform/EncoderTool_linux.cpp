#include "EncoderTool.h"

QString EncoderTool::fileName()
{
    return QStringLiteral("encode");
}
