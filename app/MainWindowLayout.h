#pragma once

class QSize;
class QWidget;
class TemplateLayout;

// How the main window's controls follow a window larger than its template: the job list
// takes the extra width and height, the editor the extra height, the preview keeps its place
// at the right and the Profile and Output rows stay at the bottom.
namespace MainWindowLayout {

// Lays out every direct child of `client` (placed at its template rectangle, tagged with its
// "controlId"; the editor's tree with its control id 10000001) by its anchors; a label follows
// its buddy. Returns the layout `client` owns.
TemplateLayout* install(QWidget* client, const QSize& templateSize);

} // namespace MainWindowLayout
