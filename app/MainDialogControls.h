#pragma once

class CCellListCtrl;
class CImageButton;
class CPreviewPanel;
class DialogUnits;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QString;
class QWidget;

// The main window's own controls, made and placed from its dialog-unit template; each carries
// its dialog id (property "controlId"), an object name and an accessible name.
// Threads: UI thread only.
struct MainDialogControls
{
    // The client area of the template, in dialog units.
    static constexpr int kWidth = 409;
    static constexpr int kHeight = 258;

    CImageButton* add = nullptr;
    CImageButton* remove = nullptr;
    CImageButton* clear = nullptr;
    CImageButton* encode = nullptr;
    CImageButton* stop = nullptr;
    CImageButton* pause = nullptr;
    CCellListCtrl* list = nullptr;
    QComboBox* profileBox = nullptr;
    QLineEdit* outputBox = nullptr;
    QPushButton* browse = nullptr;
    QPushButton* open = nullptr;
    QGroupBox* editorFrame = nullptr;
    // "Adding files… N of M" and its Cancel over the bottom of the list; hidden when idle.
    QFrame* admissionBar = nullptr;
    QLabel* admissionText = nullptr;
    QPushButton* admissionCancel = nullptr;

    // Makes every control as a child of `client`, placed in `units`.
    static MainDialogControls create(QWidget* client, const DialogUnits& units);

    // Places the preview panel's controls (children of `client`) at their template rectangles.
    static void placePreview(const CPreviewPanel& preview, const DialogUnits& units);

    // The template was drawn for a narrower font: a caption that does not fit widens its
    // control (an image button on both sides, a label towards its left) instead of being cut.
    static void fitCaption(QWidget* control, const QString& caption, int extra);
};
