#include "CLinkStatic.h"

#include "OpenInBrowser.h"

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>

CLinkStatic::CLinkStatic(const QString& text, QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    m_normalFont = font();
    m_opener = [](const QString& address) { return OpenInBrowser(address, kShow); };
    setText(text);
    SetAddress(text);
}

void CLinkStatic::SetAddress(const QString& address)
{
    m_address = address;
    if (text().isEmpty())
        setText(address);
    setToolTip(address);
    fitToText();
    applyLook();
}

void CLinkStatic::SetUnderline(int mode)
{
    if (mode < -1 || mode > 1)
        return;
    m_underline = mode;
    applyLook();
}

void CLinkStatic::SetVisited(bool visited)
{
    m_visited = visited;
    applyLook();
}

void CLinkStatic::SetOpener(Opener opener)
{
    m_opener = std::move(opener);
}

QString CLinkStatic::ErrorText(int result)
{
    switch (result) {
    case 0:
        return QStringLiteral("The operating system is out\nof memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied\naccess to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred. ");
    case 27:
        return QStringLiteral("The filename association is\nincomplete or invalid.");
    case 28:
        return QStringLiteral(
            "The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not\nbe completed because other DDE "
                              "transactions\nwere being processed.");
    case 31:
        return QStringLiteral("There is no application associated\nwith the given filename "
                              "extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return QStringLiteral("Unknown Error (%1) occurred.").arg(result);
    }
}

QSize CLinkStatic::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * frameWidth();
    return QSize(metrics.horizontalAdvance(text()) + frame, metrics.height() + frame);
}

void CLinkStatic::fitToText()
{
    // The new size keeps the edge (or centre) that the alignment names.
    const QSize fitted = sizeHint();
    QRect place = geometry();
    const Qt::Alignment align = alignment();
    int left = place.left();
    if (align & Qt::AlignHCenter)
        left = place.center().x() - fitted.width() / 2;
    else if (align & Qt::AlignRight)
        left = place.right() + 1 - fitted.width();
    int top = place.top();
    if (align & Qt::AlignVCenter && place.height() > 0)
        top = place.center().y() - fitted.height() / 2;
    setGeometry(QRect(QPoint(left, top), fitted));
    updateGeometry();
}

void CLinkStatic::applyLook()
{
    QFont shown = m_normalFont;
    shown.setUnderline(m_underline == 1 || (m_underline == -1 && m_hovering));
    setFont(shown);
    QPalette colours = palette();
    const QColor colour = m_hovering ? hoverColor() : (m_visited ? visitedColor() : linkColor());
    colours.setColor(QPalette::WindowText, colour);
    setPalette(colours);
    update();
}

void CLinkStatic::startHover()
{
    if (m_hovering)
        return;
    m_hovering = true;
    applyLook();
}

void CLinkStatic::enterEvent(QEnterEvent* event)
{
    startHover();
    QLabel::enterEvent(event);
}

void CLinkStatic::mouseMoveEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        startHover();
    QLabel::mouseMoveEvent(event);
}

void CLinkStatic::leaveEvent(QEvent* event)
{
    if (m_hovering) {
        m_hovering = false;
        applyLook();
    }
    QLabel::leaveEvent(event);
}

void CLinkStatic::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    QLabel::mouseReleaseEvent(event);
    if (click)
        open();
}

void CLinkStatic::open()
{
    if (m_address.isEmpty())
        return;
    m_hovering = false;
    applyLook();
    const int result = m_opener ? m_opener(m_address) : kLaunchNoAssociation;
    if (result > 32) {
        SetVisited(true);
        return;
    }
    QApplication::beep();
    QMessageBox::warning(this, QStringLiteral("Warning"),
                         QStringLiteral("Unable to open hyperlink:\n\n") + ErrorText(result));
}
