#include "ProfileBoxMarks.h"

#include "CProfileManager.h"

#include <QBrush>
#include <QComboBox>
#include <QFont>
#include <QPalette>
#include <QStandardItemModel>

namespace {

// Where an entry keeps its catalogue index; a heading has none.
constexpr int kIndexRole = Qt::UserRole + 1;

QString headingOf(CProfileManager::Group group)
{
    switch (group) {
    case CProfileManager::Group::Today:
        return QStringLiteral("Today's video");
    case CProfileManager::Group::Audio:
        return QStringLiteral("Audio only");
    case CProfileManager::Group::Devices:
        return QStringLiteral("Devices and discs");
    case CProfileManager::Group::Own:
        break;
    }
    return QStringLiteral("Your own");
}

// A heading neither the mouse, the arrow keys nor a screen reader's list selects.
void addHeading(QComboBox& box, CProfileManager::Group group)
{
    auto* model = qobject_cast<QStandardItemModel*>(box.model());
    auto* item = new QStandardItem(headingOf(group));
    item->setFlags(Qt::NoItemFlags);
    QFont bold = box.font();
    bold.setBold(true);
    item->setFont(bold);
    model->appendRow(item);
}

void addEntry(QComboBox& box, const CProfileManager& profiles, int index)
{
    const QByteArray& listed = profiles.Names().at(index);
    const ProfileProblem found = profiles.Problem(listed);
    const QString name = QString::fromLocal8Bit(listed);
    // The name stays first: it is what a user types to jump to the entry.
    box.addItem(found.isEmpty() ? name : name + QStringLiteral(" (%1)").arg(found.kindWord()));
    const int entry = box.count() - 1;
    box.setItemData(entry, index, kIndexRole);
    if (found.isEmpty())
        return;
    const QString problem = found.text();
    box.setItemData(entry, problem, Qt::ToolTipRole);
    box.setItemData(entry, problem, Qt::AccessibleDescriptionRole);
    box.setItemData(entry, box.palette().brush(QPalette::Disabled, QPalette::Text),
                    Qt::ForegroundRole);
}

} // namespace

void ProfileBoxMarks::Fill(QComboBox& box, const CProfileManager& profiles)
{
    box.clear();
    const QList<QByteArray>& names = profiles.Names();
    for (const auto group : {CProfileManager::Group::Today, CProfileManager::Group::Audio,
                             CProfileManager::Group::Devices, CProfileManager::Group::Own}) {
        bool headed = false;
        for (int i = 0; i < names.size(); ++i) {
            if (profiles.GroupOf(names[i]) != group)
                continue;
            if (!headed)
                addHeading(box, group);
            headed = true;
            addEntry(box, profiles, i);
        }
    }
}

int ProfileBoxMarks::CatalogueIndex(const QComboBox& box, int entry)
{
    const QVariant index = box.itemData(entry, kIndexRole);
    return index.isValid() ? index.toInt() : -1;
}

int ProfileBoxMarks::EntryOf(const QComboBox& box, int index)
{
    return index < 0 ? -1 : box.findData(index, kIndexRole);
}

void ProfileBoxMarks::ShowReason(QComboBox& box, const CProfileManager& profiles)
{
    const int index = CatalogueIndex(box, box.currentIndex());
    const QList<QByteArray>& names = profiles.Names();
    const QString problem =
        index >= 0 && index < names.size() ? profiles.Problem(names[index]).text() : QString();
    box.setToolTip(problem);
    box.setAccessibleDescription(problem);
}
