#include "ProfileBoxMarks.h"

#include "CProfileManager.h"

#include <QBrush>
#include <QComboBox>
#include <QPalette>

void ProfileBoxMarks::Fill(QComboBox& box, const CProfileManager& profiles)
{
    const QList<QByteArray>& names = profiles.Names();
    for (int i = 0; i < names.size(); ++i) {
        const ProfileProblem found = profiles.Problem(names[i]);
        const QString problem = found.text();
        const QString name = QString::fromLocal8Bit(names[i]);
        if (problem.isEmpty()) {
            box.addItem(name);
            continue;
        }
        // The name stays first: selecting a row finds its entry by prefix.
        box.addItem(name + QStringLiteral(" (%1)").arg(found.kindWord()));
        box.setItemData(i, problem, Qt::ToolTipRole);
        box.setItemData(i, problem, Qt::AccessibleDescriptionRole);
        box.setItemData(i, box.palette().brush(QPalette::Disabled, QPalette::Text),
                        Qt::ForegroundRole);
    }
}

void ProfileBoxMarks::ShowReason(QComboBox& box, const CProfileManager& profiles)
{
    const int index = box.currentIndex();
    const QList<QByteArray>& names = profiles.Names();
    const QString problem =
        index >= 0 && index < names.size() ? profiles.Problem(names[index]).text() : QString();
    box.setToolTip(problem);
    box.setAccessibleDescription(problem);
}
