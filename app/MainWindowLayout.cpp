#include "MainWindowLayout.h"

#include "CProfileEditor.h"
#include "TemplateLayout.h"

#include <QLabel>
#include <QWidget>

namespace {

unsigned anchorsFor(int id)
{
    using L = TemplateLayout;
    switch (id) {
    case 1001: // job list
        return L::GrowWidth | L::GrowHeight;
    case 1004: // Profile box
    case 1005: // output box
        return L::MoveDown | L::GrowWidth;
    case 1014: // Browse
    case 1019: // Open
        return L::MoveDown | L::MoveRight;
    case 1020: // editor frame
    case CProfileEditor::kControlId:
        return L::MoveRight | L::GrowHeight;
    case 1046: // the preview panel
    case 1047:
    case 1048:
    case 1050:
    case 1052:
    case 1053:
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
