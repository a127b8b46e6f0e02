#include "ProgramVersion.h"

#include <cstring>

QString ProgramVersion::number()
{
    return QStringLiteral(TOVEL_VERSION);
}

QString ProgramVersion::line(const QString& program)
{
    return program + QStringLiteral(" (Tovel Video Converter) ") + number();
}

bool ProgramVersion::asked(int argc, char* argv[])
{
    return argc > 1 && std::strcmp(argv[1], "--version") == 0;
}
