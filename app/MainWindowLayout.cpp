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
        return L::RightColumn | L::MoveRight | L::GrowWidth | L::GrowHeight;
    case CPreviewPanel::kPictureId:
        return L::RightColumn | L::MoveRight | L::MoveDown | L::GrowWidth | L::Picture;
    case CPreviewPanel::kSliderId:
        return L::RightColumn | L::MoveRight | L::MoveDown | L::GrowWidth;
    case CPreviewPanel::kPlayId:
    case CPreviewPanel::kPauseId:
    case CPreviewPanel::kStopId:
        return L::RightColumn | L::MoveRight | L::MoveDown;
    case CPreviewPanel::kTimeId:
        return L::RightColumn | L::ColumnRight | L::MoveRight | L::MoveDown;
    default: // the tool buttons and their separator
        return L::Fixed;
    }
}

} // namespace

TemplateLayout* MainWindowLayout::install(QWidget* client, const QSize& templateSize)
{
    auto* layout = new TemplateLayout(client, templateSize);
    // Enlarged, the editor and the preview take a third of the extra width; the picture keeps
    // its shape and the editor the rest of the height.
    for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->property("controlId").toInt() == CPreviewPanel::kPictureId)
            layout->setRightColumn(1.0 / 3, child->size());
    for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const auto* label = qobject_cast<QLabel*>(child);
        const QWidget* owner = label && label->buddy() ? label->buddy() : child;
        const unsigned anchors = anchorsFor(owner->property("controlId").toInt());
        // A label beside a growing box keeps its width.
        layout->addControl(child, label && label->buddy() ? anchors & ~TemplateLayout::GrowWidth
                                                          : anchors);
    }
    return layout;
}
