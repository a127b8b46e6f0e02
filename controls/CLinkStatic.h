#pragma once

#include <QColor>
#include <QLabel>

#include <functional>

// A static text that acts as a web link: coloured, underlined as its mode says, with a hand
// cursor and the address as tooltip; a click opens the address in the browser and marks the
// link visited, or beeps and explains why it could not. Threads: UI thread only.
class CLinkStatic : public QLabel
{
    Q_OBJECT
public:
    // Opens an address; answers a launch result (above 32 is success).
    using Opener = std::function<int(const QString& address)>;

    // An empty address is taken from `text`; an empty text shows the address.
    explicit CLinkStatic(const QString& text = QString(), QWidget* parent = nullptr);

    // Stores the address, refits the control and updates the tooltip.
    void SetAddress(const QString& address);
    QString Address() const { return m_address; }
    // -1 underline while hovered, 0 never, 1 always; other values are ignored.
    void SetUnderline(int mode);
    int Underline() const { return m_underline; }
    void SetVisited(bool visited);
    bool IsVisited() const { return m_visited; }
    bool IsHovering() const { return m_hovering; }
    // Replaces the browser opener (the default opens through OpenInBrowser).
    void SetOpener(Opener opener);

    // The text shown under "Unable to open hyperlink:" for a failed launch result.
    static QString ErrorText(int result);

    static QColor linkColor() { return QColor(0, 0, 238); }
    static QColor visitedColor() { return QColor(85, 26, 139); }
    static QColor hoverColor() { return QColor(255, 0, 0); }

    // The text's size in the current font: the control fits its text.
    QSize sizeHint() const override;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void startHover();
    void applyLook();
    void fitToText();
    void open();

    QString m_address;
    int m_underline = -1;
    bool m_hovering = false;
    bool m_visited = false;
    bool m_pressed = false;
    QFont m_normalFont;
    Opener m_opener;
};
