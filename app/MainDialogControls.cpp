#include "MainDialogControls.h"

#include "CCellListCtrl.h"
#include "CImageButton.h"
#include "CPreviewPanel.h"
#include "DialogUnits.h"
#include "MainDialogIds.h"
#include "ResourceImages.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

namespace Id = MainDialogIds;
namespace Image = ResourceImages;

struct ButtonLayout
{
    int id;
    const char* name;
    const char* caption;
    const char* tooltip;
    int images[3]; // hovered, normal, pressed
    int rect[4];
};

const ButtonLayout kButtons[] = {
    {Id::kAdd,
     "add",
     "Add",
     "Add media file to control list",
     {Image::AddHover, Image::AddNormal, Image::AddPressed},
     {21, 4, 25, 31}},
    {Id::kRemove,
     "remove",
     "Remove",
     "Remove file from the following list",
     {Image::RemoveHover, Image::RemoveNormal, Image::RemovePressed},
     {67, 5, 25, 30}},
    {Id::kClear,
     "clear",
     "Clear",
     "Remove all file from the following list",
     {Image::ClearHover, Image::ClearNormal, Image::ClearPressed},
     {115, 5, 25, 30}},
    {Id::kEncode,
     "encode",
     "Encode",
     "Start convert",
     {Image::EncodeHover, Image::EncodeNormal, Image::EncodePressed},
     {188, 5, 25, 30}},
    {Id::kStop,
     "stop",
     "Stop",
     "Stop convert",
     {Image::StopHover, Image::StopNormal, Image::StopPressed},
     {233, 5, 25, 30}},
    {Id::kPause,
     "pause",
     "Pause",
     "Pause after the current file",
     {Image::PauseHover, Image::PauseNormal, Image::PausePressed},
     {262, 5, 25, 30}},
};

} // namespace

void MainDialogControls::fitCaption(QWidget* control, const QString& caption, int extra)
{
    const int needed = control->fontMetrics().horizontalAdvance(caption) + extra;
    QRect area = control->geometry();
    if (needed <= area.width())
        return;
    const int grow = needed - area.width();
    if (qobject_cast<QLabel*>(control))
        area.adjust(-grow, 0, 0, 0);
    else if (qobject_cast<CImageButton*>(control))
        area.adjust(-(grow + 1) / 2, 0, grow / 2, 0);
    else
        area.setWidth(needed);
    area.moveLeft(qMax(0, area.left()));
    control->setGeometry(area);
}

namespace {

void identify(QWidget* control, int id, const QString& name, const QString& accessible)
{
    control->setProperty("controlId", id);
    control->setObjectName(name);
    control->setAccessibleName(accessible);
}

CImageButton* makeButton(const ButtonLayout& entry, QWidget* client, const DialogUnits& units)
{
    auto* button = new CImageButton(client);
    identify(button, entry.id, QString::fromLatin1(entry.name), QString::fromLatin1(entry.caption));
    button->SetBitmaps(entry.images[0], Qt::black, entry.images[1], Qt::black, entry.images[2],
                       Qt::black);
    button->SetAlign(CImageButton::ImageCovers, true);
    button->SetTooltipText(QString::fromLatin1(entry.tooltip), true);
    button->setText(QString::fromLatin1(entry.caption));
    button->setGeometry(units.rect(entry.rect[0], entry.rect[1], entry.rect[2], entry.rect[3]));
    MainDialogControls::fitCaption(button, button->text(), 2 * CImageButton::kMargin);
    return button;
}

enum class Kind
{
    Separator,
    List,
    Label,
    ComboBox,
    LineEdit,
    PushButton,
    GroupBox
};

// A control of the template after the image buttons, in the order they are made, which is the
// order Tab follows. A label is the buddy of the control after it.
struct ControlLayout
{
    Kind kind;
    int id; // 0: none, nor a name
    const char* name;
    const char* caption; // of a label or a button
    const char* accessible;
    int rect[4]; // a combo box takes its own height
};

const ControlLayout kControls[] = {
    {Kind::Separator, 0, "", "", "", {163, 5, 1, 28}},
    {Kind::List, Id::kJobList, "jobList", "", "Job list", {2, 37, 288, 176}},
    {Kind::Label, 0, "", "Profile:", "", {6, 221, 22, 8}},
    {Kind::ComboBox, Id::kProfileBox, "profileBox", "", "Profile:", {32, 219, 253, 0}},
    {Kind::Label, 0, "", "Output:", "", {6, 239, 23, 10}},
    {Kind::LineEdit, Id::kOutputBox, "outputBox", "", "Output:", {32, 237, 152, 12}},
    {Kind::PushButton, Id::kBrowse, "browse", "&Browse...", "Browse...", {197, 235, 40, 17}},
    {Kind::PushButton, Id::kOpen, "open", "&Open", "Open", {246, 236, 36, 17}},
    {Kind::GroupBox, Id::kEditorFrame, "editorFrame", "", "Parameters", {293, 3, 111, 149}},
};

QWidget* make(const ControlLayout& entry, QWidget* client)
{
    const QString caption = QString::fromLatin1(entry.caption);
    switch (entry.kind) {
    case Kind::Separator: {
        auto* separator = new QFrame(client);
        separator->setFrameShape(QFrame::VLine);
        separator->setFrameShadow(QFrame::Sunken);
        return separator;
    }
    case Kind::List: {
        auto* list = new CCellListCtrl(client);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        return list;
    }
    case Kind::Label: {
        auto* label = new QLabel(caption, client);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    }
    case Kind::ComboBox:
        return new QComboBox(client);
    case Kind::LineEdit:
        return new QLineEdit(client);
    case Kind::PushButton:
        return new QPushButton(caption, client);
    case Kind::GroupBox:
        return new QGroupBox(client);
    }
    return nullptr;
}

// What a placed control needs beyond its template rectangle.
void fit(QWidget* control, const DialogUnits& units)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        MainDialogControls::fitCaption(label, label->text(), 0);
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        const QString caption = button->text().remove(QLatin1Char('&'));
        MainDialogControls::fitCaption(button, caption,
                                       button->sizeHint().width() -
                                           button->fontMetrics().horizontalAdvance(caption));
        // Enter must not press a button of the dialog (nor close it).
        button->setAutoDefault(false);
        button->setDefault(false);
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        box->resize(box->width(), box->sizeHint().height());
        box->setMaxVisibleItems(qMax(1, units.y(191) / qMax(1, box->fontMetrics().height() + 4)));
    }
}

// Made right after the list, so that Tab goes from the list to Cancel.
void addAdmissionBar(MainDialogControls& controls, QWidget* client, const DialogUnits& units)
{
    auto* bar = new QFrame(client);
    identify(bar, Id::kAdmissionBar, QStringLiteral("admissionBar"),
             QStringLiteral("Adding files"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setAutoFillBackground(true);
    // Inside the list's frame, over its last rows.
    bar->setGeometry(units.rect(3, 198, 286, 14));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(units.x(4), 1, 1, 1);
    auto* text = new QLabel(bar);
    identify(text, Id::kAdmissionText, QStringLiteral("admissionText"),
             QStringLiteral("Adding files"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), bar);
    identify(cancel, Id::kAdmissionCancel, QStringLiteral("admissionCancel"),
             QStringLiteral("Cancel adding files"));
    cancel->setAutoDefault(false);
    cancel->setDefault(false);
    row->addWidget(text, 1);
    row->addWidget(cancel);
    bar->hide();
    controls.admissionBar = bar;
    controls.admissionText = text;
    controls.admissionCancel = cancel;
}

template <class Control> void take(Control*& member, const QHash<int, QWidget*>& made, int id)
{
    member = static_cast<Control*>(made.value(id));
}

} // namespace

MainDialogControls MainDialogControls::create(QWidget* client, const DialogUnits& units)
{
    MainDialogControls controls;
    QHash<int, QWidget*> made;
    for (const ButtonLayout& entry : kButtons)
        made.insert(entry.id, makeButton(entry, client, units));
    QLabel* label = nullptr; // waiting for its buddy
    for (const ControlLayout& entry : kControls) {
        QWidget* control = make(entry, client);
        if (entry.id != 0) {
            identify(control, entry.id, QString::fromLatin1(entry.name),
                     QString::fromLatin1(entry.accessible));
            made.insert(entry.id, control);
        }
        control->setGeometry(
            units.rect(entry.rect[0], entry.rect[1], entry.rect[2], entry.rect[3]));
        fit(control, units);
        if (label)
            label->setBuddy(control);
        label = entry.kind == Kind::Label ? static_cast<QLabel*>(control) : nullptr;
        if (entry.kind == Kind::List)
            addAdmissionBar(controls, client, units);
    }

    take(controls.add, made, Id::kAdd);
    take(controls.remove, made, Id::kRemove);
    take(controls.clear, made, Id::kClear);
    take(controls.encode, made, Id::kEncode);
    take(controls.stop, made, Id::kStop);
    take(controls.pause, made, Id::kPause);
    take(controls.list, made, Id::kJobList);
    take(controls.profileBox, made, Id::kProfileBox);
    take(controls.outputBox, made, Id::kOutputBox);
    take(controls.browse, made, Id::kBrowse);
    take(controls.open, made, Id::kOpen);
    take(controls.editorFrame, made, Id::kEditorFrame);
    return controls;
}

void MainDialogControls::placePreview(const CPreviewPanel& preview, const DialogUnits& units)
{
    const struct
    {
        int id;
        int rect[4];
    } rects[] = {{CPreviewPanel::kPictureId, {293, 154, 111, 77}},
                 {CPreviewPanel::kSliderId, {293, 232, 114, 9}},
                 {CPreviewPanel::kPlayId, {300, 241, 13, 12}},
                 {CPreviewPanel::kPauseId, {318, 241, 13, 12}},
                 {CPreviewPanel::kStopId, {337, 241, 13, 12}},
                 {CPreviewPanel::kTimeId, {367, 242, 32, 8}}};
    for (const auto& entry : rects)
        preview.control(entry.id)->setGeometry(
            units.rect(entry.rect[0], entry.rect[1], entry.rect[2], entry.rect[3]));
    if (auto* time = qobject_cast<QLabel*>(preview.control(CPreviewPanel::kTimeId)))
        fitCaption(time, QStringLiteral("00:00:00"), 0);
}
