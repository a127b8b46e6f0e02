#include "CPreviewPanel.h"

#include "CImageButton.h"
#include "FormatHMS.h"
#include "ResourceImages.h"
#include "ThreadHandOff.h"

#include <QAction>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QThread>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kIdleBitmap = ResourceImages::PreviewIdle;
constexpr int kPauseIcon = ResourceImages::PauseIcon;
constexpr int kPlayIcon = ResourceImages::PlayIcon;
constexpr int kStopIcon = ResourceImages::StopIcon;
const char kIdleTime[] = "00:00:00";

template <typename Control>
Control* tag(Control* control, int id, const char* objectName, const QString& accessibleName)
{
    control->setProperty("controlId", id);
    control->setObjectName(QString::fromLatin1(objectName));
    control->setAccessibleName(accessibleName);
    control->show();
    return control;
}

CImageButton* iconButton(QWidget* dialog, int id, const char* objectName, int icon,
                         const QString& tip)
{
    auto* button = tag(new CImageButton(dialog), id, objectName, tip);
    button->SetIcon(icon);
    button->DrawTransparent(true);
    button->SetAlign(CImageButton::ImageTop);
    button->SetTooltipText(tip, true);
    return button;
}

} // namespace

CPreviewPanel::CPreviewPanel(QWidget* dialog) : QObject(dialog)
{
    m_picture = tag(new QLabel(dialog), kPictureId, "previewPicture", QStringLiteral("Preview"));
    m_picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_picture->setPixmap(ResourceImages::bitmap(kIdleBitmap));
    m_picture->setScaledContents(true);

    m_slider = tag(new QSlider(Qt::Horizontal, dialog), kSliderId, "previewSlider",
                   QStringLiteral("Position"));
    m_slider->setRange(0, 100);
    m_slider->setValue(0);
    m_slider->setFocusPolicy(Qt::StrongFocus);

    m_play = iconButton(dialog, kPlayId, "playButton", kPlayIcon, QStringLiteral("Play"));
    m_pause = iconButton(dialog, kPauseId, "pauseButton", kPauseIcon, QStringLiteral("Pause"));
    m_stop = iconButton(dialog, kStopId, "stopButton", kStopIcon, QStringLiteral("Stop"));

    m_time = tag(new QLabel(dialog), kTimeId, "previewTime", QString());
    m_time->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTimeText(QString::fromLatin1(kIdleTime));

    m_playAction = new QAction(QStringLiteral("&Play"), this);
    m_pauseAction = new QAction(QStringLiteral("&Pause"), this);
    m_stopAction = new QAction(QStringLiteral("&Stop"), this);
    m_playAction->setData(kPlayCommand);
    m_pauseAction->setData(kPauseCommand);
    m_stopAction->setData(kStopCommand);

    connect(m_play, &QAbstractButton::clicked, this, &CPreviewPanel::OnPlayPreview);
    connect(m_pause, &QAbstractButton::clicked, this, &CPreviewPanel::OnPausePreview);
    connect(m_stop, &QAbstractButton::clicked, this, &CPreviewPanel::StopPreview);
    connect(m_playAction, &QAction::triggered, this, &CPreviewPanel::OnPlayPreview);
    connect(m_pauseAction, &QAction::triggered, this, &CPreviewPanel::OnPausePreview);
    connect(m_stopAction, &QAction::triggered, this, &CPreviewPanel::StopPreview);
    // Every user move of the slider (drag, click, keys, wheel) seeks; the timer's own
    // setValue triggers no action and so never seeks.
    connect(m_slider, &QAbstractSlider::actionTriggered, this, &CPreviewPanel::OnSliderMoved);

    m_timer.setInterval(kTimerInterval);
    connect(&m_timer, &QTimer::timeout, this, &CPreviewPanel::OnTimer);
    m_follow.setSingleShot(true);
    m_follow.setInterval(0);
    connect(&m_follow, &QTimer::timeout, this, &CPreviewPanel::showSelected);
    connect(&m_firstFrame, &FirstFrame::ready, this,
            [this](const QString& path, const QImage& picture) {
                if (m_nPreviewState == Idle && path == m_shownPath)
                    showImage(picture);
            });
}

CPreviewPanel::~CPreviewPanel()
{
    m_timer.stop();
    m_player.Close();
}

QWidget* CPreviewPanel::control(int id) const
{
    switch (id) {
    case kPictureId:
        return m_picture;
    case kSliderId:
        return m_slider;
    case kPlayId:
        return m_play;
    case kPauseId:
        return m_pause;
    case kStopId:
        return m_stop;
    case kTimeId:
        return m_time;
    default:
        return nullptr;
    }
}

QAction* CPreviewPanel::action(int commandId) const
{
    switch (commandId) {
    case kPlayCommand:
        return m_playAction;
    case kPauseCommand:
        return m_pauseAction;
    case kStopCommand:
        return m_stopAction;
    default:
        return nullptr;
    }
}

void CPreviewPanel::setSelectedPath(SelectedPath selectedPath)
{
    m_selectedPath = std::move(selectedPath);
}

CompareView* CPreviewPanel::compareArea()
{
    if (!m_compare) {
        m_compare = new CompareView(m_picture);
        m_compare->setObjectName(QStringLiteral("compareView"));
        // Follows the picture area as the window is resized.
        auto* fill = new QHBoxLayout(m_picture);
        const int frame = m_picture->frameWidth();
        fill->setContentsMargins(frame, frame, frame, frame);
        fill->addWidget(m_compare);
    }
    return m_compare;
}

void CPreviewPanel::ShowOutputStill(const QString& source, double seconds)
{
    const double duration = m_dDuration;
    StopPreview();
    showIdle();
    compareArea()->openStill(source, seconds);
    m_compare->setAccessibleName(QStringLiteral("Output frame beside its source"));
    m_compare->show();
    m_compare->setFocus();
    m_strPreviewPath = source;
    m_dDuration = 0.0;
    m_nPreviewState = Paused;
    // The slider keeps the moment shown; the source's duration comes once it has loaded.
    if (m_slider && duration > 0.0)
        m_slider->setValue(int(std::clamp(std::trunc(seconds * 100.0 / duration), 0.0, 100.0)));
    setTimeText(FormatHMS(static_cast<long long>(seconds)));
}

void CPreviewPanel::SetOutputStill(const QImage& picture, const QString& caption)
{
    if (showsOutputStill())
        m_compare->setOutputStill(picture, caption);
}

bool CPreviewPanel::showsOutputStill() const
{
    return m_compare && m_compare->showsStill();
}

double CPreviewPanel::moment() const
{
    double seconds = 0.0;
    if (m_nPreviewState == Idle || !currentPosition(seconds))
        return 0.0;
    return std::max(0.0, seconds);
}

void CPreviewPanel::Compare(const QString& source, const QString& output, const QString& verdict)
{
    StopPreview();
    showIdle();
    compareArea()->open(source, output, verdict);
    m_compare->setAccessibleName(QStringLiteral("Output compared with its source"));
    m_compare->show();
    m_compare->setFocus();
    m_strPreviewPath = source;
    m_dDuration = 0.0;
    m_nPreviewState = Paused;
}

void CPreviewPanel::EndCompare()
{
    if (!comparing())
        return;
    m_timer.stop();
    m_compare->close();
    m_compare->hide();
    m_nPreviewState = Idle;
    showIdle();
}

bool CPreviewPanel::comparing() const
{
    return m_compare && m_compare->isOpen();
}

bool CPreviewPanel::currentPosition(double& seconds) const
{
    if (!comparing())
        return m_player.CurrentPosition(seconds);
    seconds = m_compare->position();
    return true;
}

void CPreviewPanel::readDuration()
{
    if (comparing())
        m_dDuration = m_compare->duration();
    else
        m_player.Duration(m_dDuration);
}

void CPreviewPanel::OnPlayPreview()
{
    // A still has nothing to play: Play goes back to the plain preview and plays.
    if (showsOutputStill())
        EndCompare();
    if (comparing()) {
        m_compare->play();
        m_nPreviewState = Playing;
        m_timer.start();
        return;
    }
    const QString selected = m_selectedPath ? m_selectedPath() : QString();
    if (!selected.isEmpty() && selected != m_strPreviewPath) {
        StopPreview();
        m_strPreviewPath = selected;
    }
    switch (m_nPreviewState) {
    case Idle:
        if (m_strPreviewPath.isEmpty() || !m_picture)
            return;
        m_shownPath.clear();
        m_firstFrame.Cancel();
        // A picture has no frames to play: it is shown as it is (a video view would be black).
        if (showStill(m_strPreviewPath)) {
            m_player.Close();
            m_dDuration = 0.0;
            m_nPreviewState = Playing;
            return;
        }
        m_picture->setPixmap(ResourceImages::bitmap(kIdleBitmap));
        m_player.Open(m_strPreviewPath, m_picture, this);
        m_player.Play();
        m_nPreviewState = Playing;
        // The player loads in the background: an unknown duration is read again on the ticks,
        // and a previous file's duration must not stand in for it.
        m_dDuration = 0.0;
        m_player.Duration(m_dDuration);
        m_timer.start();
        break;
    case Paused:
        m_player.Play();
        m_nPreviewState = Playing;
        m_timer.start();
        break;
    case Playing:
        break;
    }
}

void CPreviewPanel::OnPausePreview()
{
    if (m_nPreviewState != Playing)
        return;
    if (comparing())
        m_compare->pause();
    else
        m_player.Pause();
    m_nPreviewState = Paused;
    m_timer.stop();
}

void CPreviewPanel::StopPreview()
{
    if (QThread::currentThread() != thread()) {
        ThreadHandOff::post(this, [this] { StopPreview(); });
        return;
    }
    if (comparing()) {
        EndCompare();
        return;
    }
    if (m_nPreviewState == Idle)
        return;
    m_timer.stop();
    m_nPreviewState = Idle;
    showIdle();
}

void CPreviewPanel::showIdle()
{
    m_player.Close();
    m_firstFrame.Cancel();
    m_shownPath.clear();
    if (m_picture)
        m_picture->setPixmap(ResourceImages::bitmap(kIdleBitmap));
    if (m_slider)
        m_slider->setValue(0);
    setTimeText(QString::fromLatin1(kIdleTime));
}

void CPreviewPanel::FollowSelection()
{
    m_follow.start();
}

void CPreviewPanel::showSelected()
{
    if (m_nPreviewState == Playing || !m_picture || comparing())
        return;
    const QString selected = m_selectedPath ? m_selectedPath() : QString();
    if (m_nPreviewState == Paused && selected == m_strPreviewPath)
        return;
    if (m_nPreviewState == Idle && !selected.isEmpty() && selected == m_shownPath)
        return;
    StopPreview();
    showIdle();
    if (selected.isEmpty())
        return;
    m_shownPath = selected;
    if (!showStill(selected))
        m_firstFrame.Read(selected);
}

bool CPreviewPanel::IsStillPicture(const QString& path)
{
    // By content, not by name: a clip never reads as an image.
    return !QImageReader::imageFormat(path).isEmpty();
}

bool CPreviewPanel::showStill(const QString& path)
{
    if (!m_picture || !IsStillPicture(path))
        return false;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    showImage(image);
    return true;
}

void CPreviewPanel::showImage(const QImage& image)
{
    if (!m_picture)
        return;
    // Letter-boxed into the picture area, which stretches what it shows.
    const QSize area = m_picture->contentsRect().size().expandedTo(QSize(1, 1));
    QPixmap canvas(area);
    canvas.fill(Qt::black);
    QPainter painter(&canvas);
    const QImage fitted = image.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    painter.drawImage((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2,
                      fitted);
    painter.end();
    m_picture->setPixmap(canvas);
}

void CPreviewPanel::OnTimer()
{
    if (!m_slider)
        return;
    double position = 0.0;
    const bool known = currentPosition(position);
    if (m_dDuration <= 0.0)
        readDuration();
    // The user's drag wins over playback until the thumb is let go.
    if (m_slider->isSliderDown())
        return;
    // Without a duration the slider rests at 0 and only the label counts.
    int percent = 0;
    if (m_dDuration > 0.0)
        percent =
            static_cast<int>(std::clamp(std::trunc(position * 100.0 / m_dDuration), 0.0, 100.0));
    else if (known)
        setTimeText(FormatHMS(static_cast<long long>(position)));
    if (percent == m_slider->value())
        return;
    m_slider->setValue(percent);
    setTimeText(FormatHMS(static_cast<long long>(position)));
}

void CPreviewPanel::OnSliderMoved()
{
    if (m_nPreviewState == Idle || !m_slider)
        return;
    if (m_dDuration <= 0.0)
        readDuration();
    if (m_dDuration <= 0.0)
        return;
    const double seconds = m_slider->sliderPosition() * m_dDuration * 0.01;
    if (comparing())
        m_compare->seek(seconds);
    else
        m_player.Seek(seconds);
    setTimeText(FormatHMS(static_cast<long long>(seconds)));
    if (showsOutputStill())
        emit stillMoved(seconds);
}

void CPreviewPanel::setTimeText(const QString& text)
{
    if (!m_time)
        return;
    m_time->setText(text);
    // A label is named by its caption, which here is the time itself.
    m_time->setAccessibleName(text);
}
