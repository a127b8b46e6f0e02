#include "MediaLibrary.h"

#include <QDir>
#include <QLibrary>

std::unique_ptr<MediaLibrary> MediaLibrary::load(const QString& toolFolder, QString& why)
{
    // The platform's prefix and suffix are added by QLibrary ("libencodemedia.so").
    QLibrary module(QDir(toolFolder).filePath(QStringLiteral("encodemedia")));
    // Stays loaded after `module` goes: the objects it makes live on.
    const auto create = reinterpret_cast<CreateMediaLibrary>(module.resolve("createMediaLibrary"));
    MediaLibrary* library = create ? create() : nullptr;
    if (!library)
        why = QStringLiteral("encode: cannot load the FFmpeg module: %1").arg(module.errorString());
    return std::unique_ptr<MediaLibrary>(library);
}
