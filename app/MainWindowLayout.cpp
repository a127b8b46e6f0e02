#include "MainWindowLayout.h"

#include "CProfileEditor.h"
#include "MainDialogIds.h"
#include "TemplateLayout.h"

#include <QLabel>
#include <QWidget>

namespace {

unsigned anchorsFor(int id)
{
    using L = TemplateLayout;
    switch (id) {
    case MainDialogIds::kJobList:
        return L::GrowWidth | L::GrowHeight;
    case MainDialogIds::kProfileBox:
    case MainDialogIds::kOutputBox:
    case MainDialogIds::kAdmissionBar:
        return L::MoveDown | L::GrowWidth;
    case MainDialogIds::kBrowse:
    case MainDialogIds::kOpen:
        return L::MoveDown | L::MoveRight;
    case MainDialogIds::kEditorFrame:
    case CProfileEditor::kControlId:
        return L::MoveRight | L::GrowHeight;
    case CPreviewPanel::kPlayId:
    case CPreviewPanel::kPauseId:
    case CPreviewPanel::kStopId:
    case CPreviewPanel::kSliderId:
    case CPreviewPanel::kPictureId:
    case CPreviewPanel::kTimeId:
        return L::MoveRight | L::MoveDown;
    default: // the tool buttons and their separator
        return L::Fixed;
    }
}

} // namespace

TemplateLayout* MainWindowLayout::install(QWidget* client, const QSize& templateSize)
{
    auto* layout = new TemplateLayout(client, templateSize);
    for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* label = qobject_cast<QLabel*>(child);
        const QWidget* owner = label && label->buddy() ? label->buddy() : child;
        const unsigned anchors = anchorsFor(owner->property("controlId").toInt());
        // A label beside a growing box keeps its width.
        layout->addControl(child, label ? anchors & ~TemplateLayout::GrowWidth : anchors);
    }
    return layout;
}
