#include "SegmentCommands.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString kFile = QStringLiteral("file:");

// Output options that take no value.
bool isFlag(const QString& option)
{
    static const QStringList kFlags = {
        QStringLiteral("-an"), QStringLiteral("-vn"),       QStringLiteral("-sn"),
        QStringLiteral("-dn"), QStringLiteral("-shortest"), QStringLiteral("-copyts"),
    };
    return kFlags.contains(option);
}

// Options whose meaning changes when the video is cut: times, counts, maps, frame rates, passes.
bool cutsBadly(const QString& option)
{
    static const QStringList kTiming = {
        QStringLiteral("-ss"),     QStringLiteral("-sseof"),
        QStringLiteral("-t"),      QStringLiteral("-to"),
        QStringLiteral("-fs"),     QStringLiteral("-shortest"),
        QStringLiteral("-target"), QStringLiteral("-r"),
        QStringLiteral("-copyts"), QStringLiteral("-filter_complex"),
        QStringLiteral("-vn"),
    };
    return kTiming.contains(option) || option.startsWith(QLatin1String("-frames")) ||
           option.startsWith(QLatin1String("-vframes")) ||
           option.startsWith(QLatin1String("-pass"));
}

// Encoders whose segments join cleanly: each segment starts with a key frame of its own.
bool cuttableEncoder(const QString& encoder)
{
    static const QStringList kEncoders = {
        QStringLiteral("libx264"),    QStringLiteral("libx265"),  QStringLiteral("libsvtav1"),
        QStringLiteral("libaom-av1"), QStringLiteral("librav1e"), QStringLiteral("libvpx-vp9"),
        QStringLiteral("libvpx"),     QStringLiteral("mpeg4"),
    };
    return kEncoders.contains(encoder);
}

// Containers whose join keeps every time stamp: the concat reader reads them exactly.
bool joinableMuxer(const QString& muxer)
{
    static const QStringList kMuxers = {QStringLiteral("mp4"), QStringLiteral("mov"),
                                        QStringLiteral("matroska"), QStringLiteral("webm")};
    return kMuxers.contains(muxer);
}

// The muxer ffmpeg picks for a file name of this extension, among the joinable ones.
QString muxerForExtension(const QString& suffix)
{
    const QString s = suffix.toLower();
    if (s == QLatin1String("mp4") || s == QLatin1String("m4v"))
        return QStringLiteral("mp4");
    if (s == QLatin1String("mov"))
        return QStringLiteral("mov");
    if (s == QLatin1String("mkv"))
        return QStringLiteral("matroska");
    if (s == QLatin1String("webm"))
        return QStringLiteral("webm");
    return suffix;
}

QString seconds(double value)
{
    return QString::number(value, 'f', 6);
}

} // namespace

SegmentCommands::SegmentCommands(const QStringList& whole)
{
    const qsizetype in = whole.indexOf(QStringLiteral("-i"));
    // Input options (a seek, an offset, a picture reader) change where the video starts.
    if (whole.size() < 4 || whole.first() != QLatin1String("-y") || in != 1) {
        m_refusal = QStringLiteral("the input is read with options of its own");
        return;
    }
    m_input = whole[in + 1];
    m_output = whole.last();
    m_post = whole.mid(in + 2, whole.size() - in - 3);
    for (qsizetype i = 0; i < m_post.size(); ++i) {
        const QString& option = m_post[i];
        if (cutsBadly(option)) {
            m_refusal = QStringLiteral("the option %1 does not survive cutting").arg(option);
            return;
        }
        if (isFlag(option) || i + 1 >= m_post.size())
            continue;
        // A map of the input's own streams splits like the rest: each part drops what it
        // does not write.
        if (option == QLatin1String("-map") && !m_post[i + 1].startsWith(QLatin1String("0:"))) {
            m_refusal =
                QStringLiteral("the option -map %1 does not survive cutting").arg(m_post[i + 1]);
            return;
        }
        // Subtitles drawn from the whole file follow its times, not a segment's.
        if (option == QLatin1String("-vf") && m_post[i + 1].contains(QLatin1String("subtitles="))) {
            m_refusal = QStringLiteral("subtitles burned in follow the whole file's times");
            return;
        }
        if (option == QLatin1String("-c:v"))
            m_encoder = m_post[i + 1];
        else if (option == QLatin1String("-f"))
            m_muxer = m_post[i + 1];
        ++i;
    }
    if (m_muxer.isEmpty())
        m_muxer = muxerForExtension(QFileInfo(m_output).suffix());
    if (!cuttableEncoder(m_encoder))
        m_refusal = QStringLiteral("the video is not re-encoded by an encoder that cuts cleanly");
    else if (!joinableMuxer(m_muxer))
        m_refusal = QStringLiteral("the %1 format does not join cleanly").arg(m_muxer);
}

QString SegmentCommands::extension() const
{
    const QString suffix = QFileInfo(m_output).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

QStringList SegmentCommands::segment(const SegmentPlan& plan, int i, const QString& file,
                                     int threads) const
{
    QStringList args{QStringLiteral("-y")};
    if (i > 0)
        args << QStringLiteral("-ss") << seconds(plan.start(i) - SegmentPlan::kCutMargin);
    args << QStringLiteral("-i") << m_input;
    const QString pool = QStringLiteral("pools=%1").arg(threads);
    bool pooled = false;
    for (qsizetype k = 0; k < m_post.size(); ++k) {
        args << m_post[k];
        // x265 keeps a thread pool of its own that -threads does not size.
        if (m_post[k] == QLatin1String("-x265-params") && k + 1 < m_post.size()) {
            args << m_post[++k] + QLatin1Char(':') + pool;
            pooled = true;
        }
    }
    if (m_encoder == QLatin1String("libx265") && !pooled)
        args << QStringLiteral("-x265-params") << pool;
    // SVT-AV1 takes its parameters as one option: the conversion's own come first.
    const qsizetype svt = args.indexOf(QStringLiteral("-svtav1-params"));
    if (m_encoder == QLatin1String("libsvtav1") && svt >= 0 && svt + 1 < args.size())
        args[svt + 1] += QStringLiteral(":lp=%1").arg(threads);
    else if (m_encoder == QLatin1String("libsvtav1"))
        args << QStringLiteral("-svtav1-params") << QStringLiteral("lp=%1").arg(threads);
    if (plan.end(i) > 0) {
        const double from = i == 0 ? 0.0 : plan.start(i) - SegmentPlan::kCutMargin;
        args << QStringLiteral("-t") << seconds(plan.end(i) - SegmentPlan::kCutMargin - from);
    }
    args << QStringLiteral("-an") << QStringLiteral("-sn") << QStringLiteral("-dn")
         << QStringLiteral("-threads") << QString::number(threads) << kFile + file;
    return args;
}

double SegmentCommands::shortestSegment() const
{
    static const QStringList slowStarters{QStringLiteral("libsvtav1"), QStringLiteral("libaom-av1"),
                                          QStringLiteral("librav1e")};
    return slowStarters.contains(m_encoder) ? 15.0 : SegmentPlan::kShortestSegment;
}

QStringList SegmentCommands::rest(const QString& file) const
{
    return QStringList{QStringLiteral("-y"), QStringLiteral("-i"), m_input}
           << m_post << QStringLiteral("-vn") << QStringLiteral("-dn") << kFile + file;
}

QStringList SegmentCommands::join(const QString& list, const QString& rest) const
{
    QStringList args{QStringLiteral("-y"),
                     QStringLiteral("-f"),
                     QStringLiteral("concat"),
                     QStringLiteral("-safe"),
                     QStringLiteral("0"),
                     QStringLiteral("-i"),
                     kFile + list,
                     QStringLiteral("-i")};
    args << (rest.isEmpty() ? m_input : kFile + rest);
    args << QStringLiteral("-map") << QStringLiteral("0:v");
    // Not MP4's chapter stream, which the join writes again from the chapters it copies.
    if (!rest.isEmpty())
        for (const char* kind : {"1:a?", "1:s?", "1:t?"})
            args << QStringLiteral("-map") << QLatin1String(kind);
    // A conversion that strips the metadata strips it from the join too.
    const QString from = m_post.contains(QStringLiteral("-map_chapters")) ? QStringLiteral("-1")
                                                                          : QStringLiteral("1");
    args << QStringLiteral("-map_metadata") << from << QStringLiteral("-map_chapters") << from
         << QStringLiteral("-c") << QStringLiteral("copy");
    // What the whole conversion says of the container rather than of a stream's pictures.
    static const QStringList kContainer = {QStringLiteral("-f"), QStringLiteral("-tag:v"),
                                           QStringLiteral("-movflags"), QStringLiteral("-metadata"),
                                           QStringLiteral("-brand")};
    for (qsizetype k = 0; k + 1 < m_post.size(); ++k) {
        if (isFlag(m_post[k]))
            continue;
        if (kContainer.contains(m_post[k]))
            args << m_post[k] << m_post[k + 1];
        ++k;
    }
    return args << m_output;
}

QByteArray SegmentCommands::concatList(const SegmentPlan& plan, const QStringList& files)
{
    QByteArray text = "ffconcat version 1.0\n";
    for (int i = 0; i < plan.count() && i < files.size(); ++i) {
        text += "file '" + files[i].toUtf8() + "'\n";
        // The reader places each file where the ones before it end.
        if (plan.end(i) > 0)
            text += "duration " + seconds(plan.end(i) - plan.start(i)).toLatin1() + '\n';
    }
    return text;
}

QString SegmentCommands::displayText(const QString& program, const QStringList& arguments)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=,+@%-]+$"));
    QStringList words;
    for (const QString& word : QStringList{program} + arguments) {
        if (plain.match(word).hasMatch())
            words << word;
        else
            words << QLatin1Char('\'') +
                         QString(word).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
                         QLatin1Char('\'');
    }
    return words.join(QLatin1Char(' '));
}
