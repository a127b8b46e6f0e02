#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

// Boundary to the skin: skin.smf holds one Qt style sheet per skin object, each under a
// "[Object]" line. A missing or broken file leaves the windows unskinned, silently.
// Threads: every operation runs on the user-interface thread except startThread().
class CSkinEngine : public QObject
{
    Q_OBJECT
public:
    // Sets the engine up on the first call; later calls only hook their thread.
    bool start();
    // Hooks a worker thread; widgets live on the UI thread here, so nothing more is needed.
    bool startThread();
    // Reads the skin file; false (and no skin) when it is missing or holds no object.
    bool loadSkinFile(const QString& path);
    // Gives `window` the look of the skin object `object`; false when there is no such object.
    bool skinWindow(QWidget* window, const QByteArray& object);
    // Dialogs shown later get the look of `object` (at most 50 characters are kept).
    void setDialogSkinName(const QByteArray& object);
    // Takes the skin off one window, which then draws itself with its own palette, even under
    // a skinned parent (needs start()).
    void removeSkin(QWidget* window);
    // Forgets the skin; windows already skinned keep their look until they close.
    void shutdown();

    // The style sheet of a skin object, empty when unknown.
    QString styleSheet(const QByteArray& object) const;
    QByteArray dialogSkinName() const { return m_dialogObject; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_started = false;
    bool m_pinning = false;              // an unskinned widget's own sheet is being applied
    QHash<QByteArray, QString> m_sheets; // skin object name (lower case) -> style sheet
    QByteArray m_dialogObject;
};
