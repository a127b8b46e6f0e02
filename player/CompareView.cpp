#include "CompareView.h"

#include <QKeyEvent>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <algorithm>
#include <cmath>

CompareView::CompareView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Output compared with its source"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::SplitHCursor);
    m_source = makePlayer(m_sourceFrame);
    m_output = makePlayer(m_outputFrame);
    m_together.setInterval(100);
    connect(&m_together, &QTimer::timeout, this, [this] { keepTogether(); });
}

CompareView::~CompareView()
{
    close();
}

QMediaPlayer* CompareView::makePlayer(QImage& frame)
{
    auto* player = new QMediaPlayer(this);
    auto* sink = new QVideoSink(player);
    player->setVideoSink(sink);
    // The sink may report from the decoder's thread: its frames come over queued.
    connect(
        sink, &QVideoSink::videoFrameChanged, this,
        [this, player, &frame](const QVideoFrame& video) {
            const QImage image = video.isValid() ? video.toImage() : QImage();
            if (image.isNull())
                return;
            frame = image;
            // Opened playing only to show a first picture: held there.
            if (!m_playing && player->playbackState() == QMediaPlayer::PlayingState)
                player->pause();
            update();
        },
        Qt::QueuedConnection);
    return player;
}

void CompareView::open(const QString& source, const QString& output, const QString& verdict)
{
    close();
    m_sourcePath = source;
    m_outputPath = output;
    m_verdict = verdict;
    m_source->setSource(QUrl::fromLocalFile(source));
    m_output->setSource(QUrl::fromLocalFile(output));
    // A paused player shows nothing yet: each plays up to its first picture.
    m_playing = false;
    m_source->play();
    m_output->play();
    update();
}

void CompareView::openStill(const QString& source, double seconds)
{
    close();
    m_still = true;
    m_sourcePath = source;
    m_outputCaption = QStringLiteral("Output");
    m_source->setSource(QUrl::fromLocalFile(source));
    m_source->play(); // up to its first picture, then held at the moment asked
    hold(qint64(std::llround(seconds * 1000.0)));
    update();
}

void CompareView::setOutputStill(const QImage& picture, const QString& caption)
{
    m_outputFrame = picture;
    m_outputCaption = caption;
    update();
}

QList<QMediaPlayer*> CompareView::players() const
{
    return m_still ? QList<QMediaPlayer*>{m_source} : QList<QMediaPlayer*>{m_source, m_output};
}

void CompareView::close()
{
    m_still = false;
    m_outputCaption.clear();
    m_playing = false;
    m_heldMs = -1;
    m_together.stop();
    for (QMediaPlayer* player : {m_source, m_output}) {
        player->stop();
        player->setSource(QUrl());
    }
    m_sourceFrame = QImage();
    m_outputFrame = QImage();
    m_sourcePath.clear();
    m_outputPath.clear();
}

void CompareView::play()
{
    if (m_still)
        return; // a still has nothing to play
    m_playing = true;
    m_heldMs = -1;
    m_output->setPosition(m_source->position());
    m_source->play();
    m_output->play();
    m_together.start();
}

void CompareView::pause()
{
    m_playing = false;
    m_together.stop();
    m_source->pause();
    m_output->pause();
    // Held on the same moment, so that both show the same picture.
    hold(m_source->position());
}

void CompareView::seek(double seconds)
{
    const qint64 at = qint64(std::llround(seconds * 1000.0));
    if (m_playing) {
        m_source->setPosition(at);
        m_output->setPosition(at);
    } else {
        hold(at);
    }
}

void CompareView::hold(qint64 ms)
{
    m_heldMs = ms;
    for (QMediaPlayer* player : players())
        player->setPosition(ms);
    // A player still loading or settling may drop a seek: it is asked again until it holds.
    m_together.start();
}

double CompareView::position() const
{
    return m_source->position() / 1000.0;
}

double CompareView::outputPosition() const
{
    return m_output->position() / 1000.0;
}

double CompareView::duration() const
{
    return m_source->duration() / 1000.0;
}

void CompareView::keepTogether()
{
    if (!m_playing) {
        bool held = true;
        for (QMediaPlayer* player : players()) {
            if (std::abs(player->position() - m_heldMs) > kDriftMs) {
                player->setPosition(m_heldMs);
                held = false;
            }
        }
        if (held || m_heldMs < 0)
            m_together.stop();
        return;
    }
    const qint64 drift = m_output->position() - m_source->position();
    if (std::abs(drift) > kDriftMs)
        m_output->setPosition(m_source->position());
}

bool CompareView::sideBySide() const
{
    const QSize shape = m_outputFrame.isNull() ? QSize(16, 9) : m_outputFrame.size();
    // Two pictures at full height fit across.
    return width() >= 2 * height() * shape.width() / std::max(1, shape.height());
}

QRect CompareView::fitted(const QRect& area) const
{
    return fitted(area, m_outputFrame.isNull() ? QSize(16, 9) : m_outputFrame.size());
}

QRect CompareView::fitted(const QRect& area, QSize shape)
{
    shape = shape.expandedTo(QSize(1, 1));
    const QSize size = shape.scaled(area.size(), Qt::KeepAspectRatio);
    return QRect(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2, size.width(), size.height());
}

void CompareView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    // Both at the output's picture size: what the user would see of each. A still shows the
    // source in its own shape, so that a crop is seen as what it takes away.
    const QSize sourceShape = m_still && !m_sourceFrame.isNull() ? m_sourceFrame.size()
                              : m_outputFrame.isNull()           ? QSize(16, 9)
                                                                 : m_outputFrame.size();
    if (sideBySide()) {
        const QRect left = fitted(QRect(0, 0, width() / 2, height()), sourceShape);
        const QRect right = fitted(QRect(width() / 2, 0, width() - width() / 2, height()));
        painter.drawImage(left, m_sourceFrame);
        painter.drawImage(right, m_outputFrame);
    } else {
        const QRect whole = fitted(rect(), sourceShape);
        const QRect picture = m_still ? fitted(whole) : whole;
        const int split = picture.x() + int(std::lround(picture.width() * m_divider));
        painter.drawImage(whole, m_sourceFrame);
        painter.setClipRect(QRect(split, 0, width() - split, height()));
        painter.drawImage(picture, m_outputFrame);
        painter.setClipping(false);
        painter.setPen(QPen(Qt::white, 2));
        painter.drawLine(split, 0, split, height());
    }
    caption(painter, Qt::AlignTop | Qt::AlignLeft, QStringLiteral("Source"));
    caption(painter, Qt::AlignTop | Qt::AlignRight,
            m_still ? m_outputCaption : QStringLiteral("Output"));
    if (!m_verdict.isEmpty())
        caption(painter, Qt::AlignBottom | Qt::AlignHCenter, m_verdict);
}

void CompareView::caption(QPainter& painter, Qt::Alignment where, const QString& text) const
{
    // On a dark plate: the pictures may be white just there.
    const QRect room = rect().adjusted(2, 2, -2, -2);
    QRect box = painter.fontMetrics().boundingRect(room, int(where) | Qt::TextWordWrap, text);
    box = box.adjusted(-3, -1, 3, 1).intersected(rect());
    painter.fillRect(box, QColor(0, 0, 0, 170));
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, text);
}

void CompareView::moveDivider(double x)
{
    const QRect picture = fitted(rect());
    m_divider = std::clamp((x - picture.x()) / std::max(1, picture.width()), 0.0, 1.0);
    update();
}

void CompareView::mousePressEvent(QMouseEvent* event)
{
    moveDivider(event->position().x());
}

void CompareView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        moveDivider(event->position().x());
}

void CompareView::keyPressEvent(QKeyEvent* event)
{
    const double step = event->key() == Qt::Key_Left    ? -0.05
                        : event->key() == Qt::Key_Right ? 0.05
                                                        : 0.0;
    if (step == 0.0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_divider = std::clamp(m_divider + step, 0.0, 1.0);
    update();
}
