#include "ProfileAvailability.h"

#include "CEncoderCommandBuilder.h"
#include "CodecNames.h"
#include "EncoderCatalogue.h"
#include "Profile.h"

namespace {

// The value the command line writes for `name`; empty when it leaves the option out.
QByteArray written(const Profile& profile, const char* name)
{
    for (const ProfileOption* o = profile.firstOption; o; o = o->next) {
        if (o->name != name)
            continue;
        QByteArray value;
        return CEncoderCommandBuilder::keepOption(*o, value, true) ? value : QByteArray();
    }
    return QByteArray();
}

bool isSet(const Profile& profile, const char* name)
{
    for (const ProfileOption* o = profile.firstOption; o; o = o->next) {
        QByteArray value;
        if (o->name == name && CEncoderCommandBuilder::keepOption(*o, value, true))
            return true;
    }
    return false;
}

} // namespace

ProfileProblem ProfileAvailability::Missing(const Profile& profile, const EncoderCatalogue& ffmpeg)
{
    if (profile.format.compare("rm", Qt::CaseInsensitive) == 0)
        return ProfileProblem{};
    for (const bool video : {true, false}) {
        if (isSet(profile, video ? "vn" : "an"))
            continue;
        const QByteArray value = written(profile, video ? "vcodec" : "acodec");
        if (value.isEmpty())
            continue;
        const QString tool = QString::fromLocal8Bit(CEncoderCommandBuilder::toolCodec(value));
        const CodecNames::Choice choice =
            video ? CodecNames::video(tool, ffmpeg) : CodecNames::audio(tool, ffmpeg);
        if (choice.encoder.isEmpty())
            return ProfileProblem::unavailable(
                QStringLiteral("the installed FFmpeg has no %1 encoder \"%2\"")
                    .arg(video ? QLatin1String("video") : QLatin1String("audio"),
                         QString::fromLocal8Bit(value)));
    }
    const QByteArray format = written(profile, "f");
    if (!format.isEmpty() && !ffmpeg.hasMuxer(QString::fromLocal8Bit(format)))
        return ProfileProblem::unavailable(
            QStringLiteral("the installed FFmpeg cannot write the format \"%1\"")
                .arg(QString::fromLocal8Bit(format)));
    if (format.isEmpty() && written(profile, "target").isEmpty() && !profile.extName.isEmpty() &&
        ffmpeg.muxerForFile(QStringLiteral("out.") + QString::fromLocal8Bit(profile.extName))
            .isEmpty())
        return ProfileProblem::unavailable(
            QStringLiteral("the installed FFmpeg writes no \".%1\" files")
                .arg(QString::fromLocal8Bit(profile.extName)));
    return ProfileProblem{};
}
