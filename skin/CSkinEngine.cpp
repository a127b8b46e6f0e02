#include "CSkinEngine.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QWidget>

namespace {
const char* const kSkinnedProperty = "tovelSkinned";
}

bool CSkinEngine::start()
{
    if (!m_started && qApp) {
        qApp->installEventFilter(this);
        m_started = true;
    }
    return m_started;
}

bool CSkinEngine::startThread()
{
    return m_started;
}

bool CSkinEngine::loadSkinFile(const QString& path)
{
    m_sheets.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray current;
    QString sheet;
    const auto flush = [&] {
        if (!current.isEmpty() && !sheet.trimmed().isEmpty())
            m_sheets.insert(current, sheet);
        sheet.clear();
    };
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.startsWith('[') && line.trimmed().endsWith(']')) {
            flush();
            current = line.trimmed().mid(1).chopped(1).trimmed().toLower();
        } else if (line.startsWith(';')) {
            continue;
        } else if (!current.isEmpty()) {
            sheet += QString::fromUtf8(line) + QLatin1Char('\n');
        }
    }
    flush();
    return !m_sheets.isEmpty();
}

QString CSkinEngine::styleSheet(const QByteArray& object) const
{
    return m_sheets.value(object.toLower());
}

bool CSkinEngine::skinWindow(QWidget* window, const QByteArray& object)
{
    const QString sheet = styleSheet(object);
    if (!window || sheet.isEmpty())
        return false;
    window->setStyleSheet(sheet);
    window->setProperty(kSkinnedProperty, true);
    return true;
}

void CSkinEngine::setDialogSkinName(const QByteArray& object)
{
    m_dialogObject = object.left(50);
}

void CSkinEngine::removeSkin(QWidget* window)
{
    if (!window)
        return;
    window->setStyleSheet(QString());
    window->setProperty(kSkinnedProperty, true);
}

void CSkinEngine::shutdown()
{
    if (m_started && qApp)
        qApp->removeEventFilter(this);
    m_started = false;
    m_sheets.clear();
    m_dialogObject.clear();
}

bool CSkinEngine::eventFilter(QObject* watched, QEvent* event)
{
    // Dialogs opened after the dialog skin name was set are skinned as they first show.
    if (event->type() == QEvent::Show && !m_dialogObject.isEmpty()) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && !dialog->property(kSkinnedProperty).toBool())
            skinWindow(dialog, m_dialogObject);
    }
    return QObject::eventFilter(watched, event);
}
