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

} // namespace

MainDialogControls MainDialogControls::create(QWidget* client, const DialogUnits& units)
{
    MainDialogControls controls;
    const auto place = [&](QWidget* control, int x, int y, int w, int h) {
        control->setGeometry(units.rect(x, y, w, h));
    };

    CImageButton* buttons[5] = {};
    int index = 0;
    for (const ButtonLayout& entry : kButtons) {
        auto* button = new CImageButton(client);
        identify(button, entry.id, QString::fromLatin1(entry.name),
                 QString::fromLatin1(entry.caption));
        button->SetBitmaps(entry.images[0], Qt::black, entry.images[1], Qt::black, entry.images[2],
                           Qt::black);
        button->SetAlign(CImageButton::ImageCovers, true);
        button->SetTooltipText(QString::fromLatin1(entry.tooltip), true);
        button->setText(QString::fromLatin1(entry.caption));
        place(button, entry.rect[0], entry.rect[1], entry.rect[2], entry.rect[3]);
        fitCaption(button, button->text(), 2 * CImageButton::kMargin);
        buttons[index++] = button;
    }
    controls.add = buttons[0];
    controls.remove = buttons[1];
    controls.clear = buttons[2];
    controls.encode = buttons[3];
    controls.stop = buttons[4];

    auto* separator = new QFrame(client);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    place(separator, 163, 5, 1, 28);

    controls.list = new CCellListCtrl(client);
    identify(controls.list, Id::kJobList, QStringLiteral("jobList"), QStringLiteral("Job list"));
    controls.list->setContextMenuPolicy(Qt::CustomContextMenu);
    place(controls.list, 2, 37, 288, 176);
    addAdmissionBar(controls, client, units);

    auto* profileLabel = new QLabel(QStringLiteral("Profile:"), client);
    place(profileLabel, 6, 221, 22, 8);
    profileLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitCaption(profileLabel, profileLabel->text(), 0);
    controls.profileBox = new QComboBox(client);
    identify(controls.profileBox, Id::kProfileBox, QStringLiteral("profileBox"),
             QStringLiteral("Profile:"));
    profileLabel->setBuddy(controls.profileBox);
    controls.profileBox->setGeometry(units.x(32), units.y(219), units.x(253),
                                     controls.profileBox->sizeHint().height());
    controls.profileBox->setMaxVisibleItems(
        qMax(1, units.y(191) / qMax(1, controls.profileBox->fontMetrics().height() + 4)));

    auto* outputLabel = new QLabel(QStringLiteral("Output:"), client);
    place(outputLabel, 6, 239, 23, 10);
    outputLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fitCaption(outputLabel, outputLabel->text(), 0);
    controls.outputBox = new QLineEdit(client);
    identify(controls.outputBox, Id::kOutputBox, QStringLiteral("outputBox"),
             QStringLiteral("Output:"));
    outputLabel->setBuddy(controls.outputBox);
    place(controls.outputBox, 32, 237, 152, 12);

    controls.browse = new QPushButton(QStringLiteral("&Browse..."), client);
    identify(controls.browse, Id::kBrowse, QStringLiteral("browse"), QStringLiteral("Browse..."));
    place(controls.browse, 197, 235, 40, 17);
    controls.open = new QPushButton(QStringLiteral("&Open"), client);
    identify(controls.open, Id::kOpen, QStringLiteral("open"), QStringLiteral("Open"));
    place(controls.open, 246, 236, 36, 17);
    // Enter must not press a button of the dialog (nor close it).
    for (QPushButton* button : {controls.browse, controls.open}) {
        fitCaption(button, button->text().remove(QLatin1Char('&')),
                   button->sizeHint().width() - button->fontMetrics().horizontalAdvance(
                                                    button->text().remove(QLatin1Char('&'))));
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    controls.editorFrame = new QGroupBox(client);
    identify(controls.editorFrame, Id::kEditorFrame, QStringLiteral("editorFrame"),
             QStringLiteral("Parameters"));
    place(controls.editorFrame, 293, 3, 111, 149);
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
