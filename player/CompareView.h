#pragma once

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

class QMediaPlayer;
class QPainter;
class QVideoSink;

// A conversion's output seen with its source, at the same moment of the file: split by a
// divider the user drags (or moves with the arrow keys), source to its left, output to its
// right, or side by side where the view is wide enough for both. Both play, pause and seek
// together; while playing, the output is pulled back to the source whenever they drift more
// than kDriftMs apart. The quality verdict, when given, shows along the bottom. Silent.
// A still instead: the source held at one moment beside a picture of the output made elsewhere
// (the conversion's own shape for that moment), each drawn in its own shape.
// Threads: UI thread only.
class CompareView : public QWidget
{
public:
    static constexpr int kDriftMs = 40;

    explicit CompareView(QWidget* parent = nullptr);
    ~CompareView() override;

    // Opens `source` and `output`, both paused at their start.
    void open(const QString& source, const QString& output, const QString& verdict);
    // Holds `source` at `seconds` beside an output picture that setOutputStill gives.
    void openStill(const QString& source, double seconds);
    // The output's picture for the still, captioned `caption` (a null picture: none yet).
    void setOutputStill(const QImage& picture, const QString& caption);
    // True while a still, rather than a second file, stands for the output.
    bool showsStill() const { return m_still && isOpen(); }
    const QImage& outputPicture() const { return m_outputFrame; }
    const QString& outputCaption() const { return m_outputCaption; }
    // Stops both and lets the files go.
    void close();
    bool isOpen() const { return !m_sourcePath.isEmpty(); }
    QString outputPath() const { return m_outputPath; }

    void play();
    void pause();
    // Both go to `seconds`.
    void seek(double seconds);
    // Where the source and the output stand, in seconds.
    double position() const;
    double outputPosition() const;
    // The source's duration in seconds; 0 while unknown.
    double duration() const;
    // The divider's place as a share of the picture's width (0..1).
    double divider() const { return m_divider; }
    // True when the two pictures stand side by side rather than split.
    bool sideBySide() const;
    // True once both have shown a picture.
    bool showsBoth() const { return !m_sourceFrame.isNull() && !m_outputFrame.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMediaPlayer* makePlayer(QImage& frame);
    // Draws `text` at `where` in the view, readable over any picture.
    void caption(QPainter& painter, Qt::Alignment where, const QString& text) const;
    void keepTogether();
    // Both paused at `ms`, asked again until both stand there.
    void hold(qint64 ms);
    void moveDivider(double x);
    // Where a picture of the output's shape (or of `shape`) stands in `area`.
    QRect fitted(const QRect& area) const;
    static QRect fitted(const QRect& area, QSize shape);
    // The players that show a picture: the source alone for a still.
    QList<QMediaPlayer*> players() const;

    QMediaPlayer* m_source = nullptr;
    QMediaPlayer* m_output = nullptr;
    QImage m_sourceFrame;
    QImage m_outputFrame;
    QString m_sourcePath;
    QString m_outputPath;
    QString m_verdict;
    QString m_outputCaption;
    bool m_still = false;
    double m_divider = 0.5;
    bool m_playing = false;
    qint64 m_heldMs = -1; // where both are held while paused; -1 none
    QTimer m_together;
};
