#pragma once

#include <QWidget>

class CParamTree;

// The info pane of a CParamTree: the focused item's label in bold and its help text wrapped
// below, on a light blue ground inside a sunken edge. Threads: UI thread only.
class CParamTreeInfo : public QWidget
{
    Q_OBJECT
public:
    explicit CParamTreeInfo(CParamTree* tree);

    // The pane's ground colour.
    static QColor background() { return QColor(219, 224, 243); }
    // The title and the text shown now (empty when the pane is blank).
    QString Title() const;
    QString Text() const;
    // The height that shows the title and the whole text wrapped at `width`.
    int NeededHeight(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CParamTree* m_tree;
};
