#include "JobPreparation.h"

#include "CEncoderCommandBuilder.h"
#include "ConversionJob.h"

#include <cstdlib>

namespace {

// Leading decimal digits as the C library reads them; 0 when there are none.
int leadingNumber(const QByteArray& text)
{
    return std::atoi(text.constData());
}

} // namespace

void SettingsDefaults(ConversionJob* job)
{
    if (!job)
        return;
    job->settings.outputWidth = 240;
    job->settings.outputHeight = 0;
}

bool Prepare(ConversionJob* job, const Profile* profile)
{
    if (!job || !profile)
        return false;
    for (const ProfileOption* option = profile->firstOption; option; option = option->next) {
        QByteArray value;
        if (!CEncoderCommandBuilder::keepOption(*option, value, false))
            continue;
        if (option->name == "vcodec") {
            job->settings.audienceName = value;
        } else if (option->name == "s") {
            const qsizetype x = value.indexOf('x');
            if (x >= 0) {
                job->settings.outputWidth = leadingNumber(value.left(x));
                job->settings.outputHeight = leadingNumber(value.mid(x + 1));
            } else {
                job->settings.outputWidth = job->media.width;
                job->settings.outputHeight = job->media.height;
            }
        }
    }
    return true;
}
