#include "CSkinEngine.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QPalette>
#include <QWidget>

namespace {
const char* const kSkinnedProperty = "tovelSkinned";
const char* const kUnskinnedProperty = "tovelUnskinned";

// An ancestor's style sheet reaches every descendant whatever its own palette says, so a
// widget leaves the cascade only through a sheet of its own that states the colours it
// chose; it is rewritten whenever the widget changes its palette.
void pinOwnColours(QWidget* widget)
{
    const QPalette colours = widget->palette();
    const QString sheet =
        QStringLiteral("color: %1;").arg(colours.color(widget->foregroundRole()).name());
    if (widget->styleSheet() != sheet)
        widget->setStyleSheet(sheet);
}
} // namespace

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
    window->setProperty(kSkinnedProperty, true);
    // The application-wide filter follows its palette from now on.
    window->setProperty(kUnskinnedProperty, true);
    m_pinning = true;
    pinOwnColours(window);
    m_pinning = false;
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
    // Applying the sheet passes through the palette it replaces: not a change of the widget's.
    if (event->type() == QEvent::PaletteChange && !m_pinning &&
        watched->property(kUnskinnedProperty).toBool()) {
        m_pinning = true;
        pinOwnColours(static_cast<QWidget*>(watched));
        m_pinning = false;
    }
    // Dialogs opened after the dialog skin name was set are skinned as they first show.
    if (event->type() == QEvent::Show && !m_dialogObject.isEmpty()) {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog && !dialog->property(kSkinnedProperty).toBool())
            skinWindow(dialog, m_dialogObject);
    }
    return QObject::eventFilter(watched, event);
}
