// Prints the time one profile load takes for a profile with many keys, with and without a
// large comment section, next to the cost of reading the same keys one call per key.
// Usage: bench_profile_load [keys] [comment MiB]
#include "PrivateProfile.h"
#include "ProfileReader.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray profileText(int keys, int commentMiB)
{
    QByteArray text = "[Main]\nName=Bench\nFormat=mp4\n";
    const QByteArray comment = "; a comment line of the notes section, of no use to anyone\n";
    if (commentMiB > 0) {
        text += "[Notes]\n";
        while (text.size() < qsizetype(commentMiB) << 20)
            text += comment;
    }
    text += "[Parameter]\n";
    for (int i = 0; i < keys; ++i)
        text += 'k' + QByteArray::number(i, 36) + "=,," + QByteArray::number(i) + '\n';
    return text;
}

double msSince(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const int keys = argc > 1 ? std::max(1, atoi(argv[1])) : 3000;
    const int commentMiB = argc > 2 ? std::max(0, atoi(argv[2])) : 4;
    QTemporaryDir dir;
    std::printf("profile load, %d keys\n", keys);
    for (int mib : {0, commentMiB}) {
        const QString file = dir.filePath(QString("p%1.pf").arg(mib));
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(profileText(keys, mib)) < 0)
            return 1;
        f.close();

        QElapsedTimer clock;
        clock.start();
        Profile profile;
        ProfileReader::Read(file, "Bench", profile);
        const double once = msSince(clock);

        // The same keys through one call per key, each reading the whole file again; timed
        // on the first 100 keys and scaled to all of them.
        clock.restart();
        const auto names = PrivateProfile::readKeys(file, "Parameter", ProfileReader::kKeyListSize);
        const qsizetype sample = qMin<qsizetype>(names.size(), 100);
        qsizetype total = 0;
        for (qsizetype i = 0; i < sample; ++i)
            total += PrivateProfile::readString(file, "Parameter", names[i], "", 1000).size();
        const double perKey =
            msSince(clock) * double(names.size()) / double(qMax<qsizetype>(sample, 1));
        std::printf("  %d MiB comments: load %9.2f ms (%lld keys)   per-key reads %9.2f ms (est.)"
                    "   %7.1fx\n",
                    mib, once, (long long)profile.parameterKeys.size(), perKey,
                    perKey / qMax(once, 0.001));
        if (total < 0)
            return 1;
    }
    return 0;
}
