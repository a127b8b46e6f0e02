#include "MessageBoxes.h"

#include <QMessageBox>

namespace {

QMessageBox::Icon iconOf(BatchUser::Icon icon)
{
    switch (icon) {
    case BatchUser::Information:
        return QMessageBox::Information;
    case BatchUser::Exclamation:
        return QMessageBox::Warning;
    case BatchUser::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

} // namespace

namespace MessageBoxes {

void show(QWidget* owner, const QString& text, const QString& caption, BatchUser::Icon icon)
{
    QMessageBox box(iconOf(icon), caption, text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

bool askYesNo(QWidget* owner, const QString& text, const QString& caption)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setObjectName(QStringLiteral("messageBox"));
    return box.exec() == QMessageBox::Yes;
}

} // namespace MessageBoxes
