#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>

// A flat push button showing an icon or three state pictures (hovered, normal, pressed),
// raised while the mouse is over it and sunken while pressed, with a label and a tooltip.
// Clicks reach the owner as clicked(). Threads: UI thread only.
class CImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum Align
    {
        ImageLeft = 0,   // image left of the text
        ImageTop = 1,    // image above the text
        ImageRight = 2,  // image right of the text
        ImageCovers = 3, // image over the whole button, text on top of it
    };

    explicit CImageButton(QWidget* parent = nullptr);

    // Shows icon resource `id` at its own size (none when there is no such icon).
    int SetIcon(int id);
    int SetIcon(const QIcon& icon, const QSize& size);
    // Shows three pictures by resource number: hovered, normal, pressed; pixels of each
    // transparent colour are see-through. Returns 0, or 1 when a picture has no size (the
    // button is left without pictures).
    int SetBitmaps(int hoverId, const QColor& hoverKey, int normalId, const QColor& normalKey,
                   int pressedId, const QColor& pressedKey);
    int SetBitmaps(const QPixmap& hover, const QColor& hoverKey, const QPixmap& normal,
                   const QColor& normalKey, const QPixmap& pressed, const QColor& pressedKey);
    // Image placement, 0..3 (see Align); anything else is refused with 4 and changes nothing.
    int SetAlign(int align, bool repaint = true);
    int GetAlign() const { return m_align; }
    // Lets the parent show through instead of filling the background.
    void DrawTransparent(bool on);
    // The tooltip's text; an inactive tooltip keeps its text but does not show.
    void SetTooltipText(const QString& text, bool activate = true);
    QString TooltipText() const { return m_tipText; }
    // A key that clicks the button while its window is active; the tooltip names it after
    // the tooltip's own text. An empty sequence removes it.
    void SetShortcut(const QKeySequence& keys);
    // The tooltip as shown: its text and the shortcut, if any.
    QString ShownTooltip() const;
    // The focus frame shows after the focus came by the keyboard, so that a keyboard user
    // sees where it is; a mouse click gives the focus without one.
    bool ShowsFocusFrame() const { return hasFocus() && m_keyboardFocus; }
    // Flat buttons show a border only while hovered or pressed.
    void SetFlat(bool flat);
    bool IsFlat() const { return m_flat; }
    bool IsHovered() const { return m_hovered; }
    // How far icon and label move while pressed ((1, 1); (0, 0) after SetBitmaps).
    QPoint PressedOffset() const { return m_pressedOffset; }

    // Margin between the edge and the icon or label.
    static constexpr int kMargin = 3;

    // The pictures' size, or the icon and label with margins.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void endHover();
    void resetColors();
    void drawBorder(QPainter& painter, bool pressed);
    QRect drawIcon(QPainter& painter, bool pressed);
    void drawLabel(QPainter& painter, const QRect& area, bool pressed);

    bool m_flat = true;
    bool m_hovered = false;
    bool m_transparent = false;
    bool m_drawBorder = true;
    int m_align = ImageLeft;
    QPoint m_pressedOffset{1, 1};
    QIcon m_icon;
    QSize m_iconSize;
    QPixmap m_bitmaps[3]; // hovered, normal, pressed
    QColor m_back[3];     // hovered-or-pressed, normal, focused
    QColor m_fore[3];
    QString m_tipText;
    bool m_tipActive = false;
    bool m_keyboardFocus = false;
};
