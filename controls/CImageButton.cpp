#include "CImageButton.h"

#include "ResourceImages.h"
#include "SystemColors.h"
#include "TransparentColor.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

CImageButton::CImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover, false);
    resetColors();
}

int CImageButton::SetIcon(int id)
{
    const QPixmap picture = ResourceImages::bitmap(id);
    return SetIcon(picture.isNull() ? QIcon() : QIcon(picture), picture.size());
}

int CImageButton::SetIcon(const QIcon& icon, const QSize& size)
{
    for (QPixmap& bitmap : m_bitmaps)
        bitmap = QPixmap();
    m_icon = icon;
    m_iconSize = icon.isNull() ? QSize() : size;
    updateGeometry();
    update();
    return 0;
}

int CImageButton::SetBitmaps(int hoverId, const QColor& hoverKey, int normalId,
                             const QColor& normalKey, int pressedId, const QColor& pressedKey)
{
    return SetBitmaps(ResourceImages::bitmap(hoverId), hoverKey, ResourceImages::bitmap(normalId),
                      normalKey, ResourceImages::bitmap(pressedId), pressedKey);
}

int CImageButton::SetBitmaps(const QPixmap& hover, const QColor& hoverKey, const QPixmap& normal,
                             const QColor& normalKey, const QPixmap& pressed,
                             const QColor& pressedKey)
{
    m_icon = QIcon();
    m_iconSize = QSize();
    m_bitmaps[0] = withTransparentColor(hover, hoverKey);
    m_bitmaps[1] = withTransparentColor(normal, normalKey);
    m_bitmaps[2] = withTransparentColor(pressed, pressedKey);
    m_pressedOffset = QPoint(0, 0);
    updateGeometry();
    update();
    return 0;
}

int CImageButton::SetAlign(int align, bool repaint)
{
    if (align < ImageLeft || align > ImageCovers)
        return 4;
    m_align = align;
    if (repaint)
        update();
    return 0;
}

void CImageButton::DrawTransparent(bool on)
{
    // The parent's pixels show through by themselves here; nothing needs capturing.
    m_transparent = on;
    update();
}

void CImageButton::SetTooltipText(const QString& text, bool activate)
{
    m_tipText = text;
    m_tipActive = activate;
    setToolTip(activate ? ShownTooltip() : QString());
}

void CImageButton::SetShortcut(const QKeySequence& keys)
{
    setShortcut(keys);
    SetTooltipText(m_tipText, m_tipActive);
}

QString CImageButton::ShownTooltip() const
{
    if (shortcut().isEmpty())
        return m_tipText;
    return m_tipText + QStringLiteral(" (") + shortcut().toString(QKeySequence::NativeText) +
           QLatin1Char(')');
}

void CImageButton::SetFlat(bool flat)
{
    m_flat = flat;
    if (!flat)
        m_hovered = false;
    update();
}

QSize CImageButton::sizeHint() const
{
    for (const QPixmap& bitmap : m_bitmaps) {
        if (!bitmap.isNull())
            return bitmap.size();
    }
    const QSize label =
        text().isEmpty() ? QSize(0, 0) : fontMetrics().size(Qt::TextSingleLine, text());
    const QSize image = m_iconSize.isValid() ? m_iconSize : QSize(0, 0);
    if (m_align == ImageTop)
        return QSize(std::max(image.width(), label.width()) + 2 * kMargin,
                     image.height() + label.height() + 2 * kMargin);
    return QSize(image.width() + label.width() + 2 * kMargin,
                 std::max(image.height(), label.height()) + 2 * kMargin);
}

void CImageButton::resetColors()
{
    const SystemColors colors = SystemColors::fromPalette(palette());
    for (int i = 0; i < 3; ++i) {
        m_back[i] = colors.buttonFace;
        m_fore[i] = colors.buttonText;
    }
}

void CImageButton::endHover()
{
    if (m_flat && m_hovered) {
        m_hovered = false;
        update();
    }
}

void CImageButton::mouseMoveEvent(QMouseEvent* event)
{
    QAbstractButton::mouseMoveEvent(event);
    if ((event->buttons() & Qt::LeftButton) && !m_hovered)
        return;
    if (!m_flat)
        return;
    if (rect().contains(event->position().toPoint())) {
        if (!m_hovered) {
            m_hovered = true;
            update();
        }
    } else {
        endHover();
    }
}

void CImageButton::leaveEvent(QEvent* event)
{
    endHover();
    QAbstractButton::leaveEvent(event);
}

void CImageButton::focusInEvent(QFocusEvent* event)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        m_keyboardFocus = true;
        break;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        break; // the focus comes back as it left
    default:
        m_keyboardFocus = false;
        break;
    }
    QAbstractButton::focusInEvent(event);
}

void CImageButton::focusOutEvent(QFocusEvent* event)
{
    endHover();
    QAbstractButton::focusOutEvent(event);
}

void CImageButton::keyPressEvent(QKeyEvent* event)
{
    if (!m_keyboardFocus) {
        m_keyboardFocus = true;
        update();
    }
    QAbstractButton::keyPressEvent(event);
}

void CImageButton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ActivationChange:
    case QEvent::EnabledChange:
        endHover();
        break;
    case QEvent::PaletteChange:
        resetColors();
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(event);
}

bool CImageButton::event(QEvent* event)
{
    // An inactive tooltip keeps its text but stays hidden.
    if (event->type() == QEvent::ToolTip && !m_tipActive)
        return true;
    return QAbstractButton::event(event);
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = isDown();
    const int state = (m_hovered || pressed) ? 0 : (hasFocus() ? 2 : 1);

    if (m_bitmaps[2].isNull()) {
        if (!m_transparent)
            painter.fillRect(rect(), m_back[state]);
        drawBorder(painter, pressed);
    }
    const QRect imageArea = drawIcon(painter, pressed);

    // The label's area: beside or below the image, or the whole button.
    QRect area = m_align == ImageCovers ? rect().adjusted(0, kMargin, 0, -kMargin)
                                        : rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (imageArea.isValid() && m_align != ImageCovers) {
        if (m_align == ImageTop)
            area.setTop(imageArea.bottom() + 1);
        else if (m_align == ImageLeft)
            area.setLeft(imageArea.right() + 1 + kMargin);
        else
            area.setRight(imageArea.left() - 1 - kMargin);
    }
    drawLabel(painter, area, pressed);

    if (hasFocus() && (!m_flat || m_keyboardFocus)) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        // Styles draw the frame only once the keyboard has moved the focus.
        if (m_keyboardFocus)
            focus.state |= QStyle::State_KeyboardFocusChange;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

void CImageButton::drawBorder(QPainter& painter, bool pressed)
{
    const SystemColors c = SystemColors::fromPalette(palette());
    const int w = width();
    const int h = height();
    auto frame = [&](const QColor& topLeft, const QColor& bottomRight, int inset) {
        painter.fillRect(inset, inset, w - 2 * inset - 1, 1, topLeft);
        painter.fillRect(inset, inset, 1, h - 2 * inset - 1, topLeft);
        painter.fillRect(inset, h - inset - 1, w - 2 * inset, 1, bottomRight);
        painter.fillRect(w - inset - 1, inset, 1, h - 2 * inset, bottomRight);
    };
    if (m_flat) {
        if (!m_drawBorder)
            return;
        if (pressed)
            frame(c.buttonShadow, c.buttonHighlight, 0);
        else if (m_hovered)
            frame(c.buttonHighlight, c.buttonShadow, 0);
        return;
    }
    if (pressed) {
        frame(c.darkShadow, c.darkShadow, 0);
        frame(c.buttonShadow, c.buttonShadow, 1);
    } else {
        frame(c.buttonHighlight, c.darkShadow, 0);
        frame(c.light, c.buttonShadow, 1);
    }
}

QRect CImageButton::drawIcon(QPainter& painter, bool pressed)
{
    QPixmap picture;
    if (!m_icon.isNull()) {
        picture = m_icon.pixmap(m_iconSize, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    } else {
        // Hovered shows the first picture, pressed the third, otherwise the second.
        const int pick = pressed ? 2 : (m_hovered ? 0 : 1);
        picture = m_bitmaps[pick].isNull() ? m_bitmaps[1] : m_bitmaps[pick];
        if (!picture.isNull() && !isEnabled()) {
            QStyleOption option;
            option.initFrom(this);
            picture = style()->generatedIconPixmap(QIcon::Disabled, m_bitmaps[1], &option);
        }
    }
    if (picture.isNull())
        return QRect();

    const QSize size = m_icon.isNull() ? picture.size() : m_iconSize;
    const bool hasText = !text().isEmpty();
    QPoint at;
    switch (m_align) {
    case ImageTop:
        at = QPoint((width() - size.width()) / 2,
                    hasText ? kMargin : (height() - size.height()) / 2);
        break;
    case ImageRight:
        at = QPoint(width() - kMargin - size.width(), (height() - size.height()) / 2);
        break;
    case ImageCovers:
        at = m_icon.isNull() ? QPoint(0, 0)
                             : QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
        break;
    default:
        at = QPoint(kMargin, (height() - size.height()) / 2);
        break;
    }
    if (!hasText && m_align != ImageCovers)
        at = QPoint((width() - size.width()) / 2, (height() - size.height()) / 2);
    const QRect placed(at, size);
    painter.drawPixmap(pressed ? placed.translated(m_pressedOffset) : placed, picture);
    return placed;
}

void CImageButton::drawLabel(QPainter& painter, const QRect& area, bool pressed)
{
    const QString label = text();
    if (label.isEmpty() || !area.isValid())
        return;
    const int flags = int(Qt::AlignHCenter | Qt::AlignBottom | Qt::TextSingleLine);
    const QRect placed = pressed ? area.translated(m_pressedOffset) : area;
    painter.setFont(font());
    if (!isEnabled()) {
        // Embossed: a highlight copy one pixel down-right under the shadow-coloured text.
        const SystemColors c = SystemColors::fromPalette(palette());
        painter.setPen(c.buttonHighlight);
        painter.drawText(placed.translated(1, 1), flags, label);
        painter.setPen(c.buttonShadow);
        painter.drawText(placed, flags, label);
        return;
    }
    const int state = (m_hovered || pressed) ? 0 : (hasFocus() ? 2 : 1);
    painter.setPen(m_fore[state]);
    painter.drawText(placed, flags, label);
}
