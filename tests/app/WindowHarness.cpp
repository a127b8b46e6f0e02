#include "WindowHarness.h"

#include "AppFolder.h"
#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "CParamTree.h"
#include "CParamTreeItem.h"
#include "CProfileEditor.h"
#include "EncoderTool.h"
#include "Preferences.h"
#include "TestMedia.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

ModalAnswerer::ModalAnswerer()
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start(10);
}

QStringList ModalAnswerer::texts() const
{
    QStringList all;
    for (const Seen& one : seen)
        all << one.text;
    return all;
}

void ModalAnswerer::poll()
{
    auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!modal || !modal->isVisible() || modal->property("answered").toBool() || m_hold)
        return;
    modal->setProperty("answered", true);
    auto* box = qobject_cast<QMessageBox*>(modal);
    seen.append({QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(),
                 box ? box->text() : QString()});
    if (!box) {
        modal->reject();
        return;
    }
    QMessageBox::StandardButton answer =
        m_answers.isEmpty() ? QMessageBox::NoButton : m_answers.takeFirst();
    if (answer == QMessageBox::NoButton)
        answer = box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    box->button(answer)->click();
}

void WindowTest::SetUp()
{
    ASSERT_TRUE(m_app.isValid() && m_media.isValid());
    m_startDir = QDir::currentPath();
    g_bOverwrite = 0;
    g_bShutdown = 0;
    AppFolder::setOverride(m_app.path());
    ASSERT_TRUE(QFile::link(TestMedia::appDir() + "profiles", app("profiles")));
    ASSERT_TRUE(TestMedia::writeFile(app("config.ini"),
                                     "[Config]\nOutput=" + out().toUtf8() + "\nCProID=0\n"));
    answers = std::make_unique<ModalAnswerer>();
}

void WindowTest::TearDown()
{
    dlg.reset();
    answers.reset();
    AppFolder::setOverride(QString());
    QDir::setCurrent(m_startDir);
    g_bShutdown = 0;
}

void WindowTest::open(const QString& tool)
{
    const QString target = tool.isEmpty() ? TestMedia::appDir() + EncoderTool::fileName() : tool;
    // A window opened again over the same folder finds its tool in place.
    const QString link = app(EncoderTool::fileName());
    ASSERT_TRUE(QFileInfo(link).isSymLink() || QFile::link(target, link));
    dlg = m_where ? std::make_unique<CConverterDlg>(nullptr, *m_where)
                  : std::make_unique<CConverterDlg>(nullptr);
    dlg->setDesktopHooks({[this](QWidget*, const QString&) { return m_toOpen; },
                          [this](QWidget*, const QString&) { return m_folderPick; },
                          [this](const QString& folder) { m_opened << folder; }});
    dlg->batch().setShutdown([] {});
    dlg->show();
}

void WindowTest::add(const QStringList& paths)
{
    m_toOpen = paths;
    click(1006);
    waitForAdmission();
}

void WindowTest::waitForAdmission()
{
    ASSERT_TRUE(waitFor([this] { return !dlg->isAdmitting(); }, 120000, "the admission's end"));
}

void WindowTest::drop(const QStringList& paths)
{
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    QWidget* target = dlg->jobList()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (enter.isAccepted()) {
        QDropEvent dropEvent(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
    }
    // The list hands the files over once the drop has ended.
    QApplication::processEvents();
    delete data;
    waitForAdmission();
}

QString WindowTest::cell(int row, int column) const
{
    return dlg->jobList()->GetItemText(row, column);
}

bool WindowTest::checked(int row) const
{
    return dlg->jobList()->GetCheck(row, 0) == 1;
}

void WindowTest::click(int id)
{
    auto* button = qobject_cast<QAbstractButton*>(control(id));
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

void WindowTest::trigger(int commandId)
{
    QAction* action = dlg->menus().action(commandId);
    ASSERT_NE(action, nullptr) << commandId;
    action->trigger();
}

CParamTreeItem* WindowTest::videoItem(const QString& label) const
{
    CParamTreeItem* found = nullptr;
    dlg->editor().Tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
        if (!found && each->Label() == label && CProfileEditor::CategoryOf(each) == 1)
            found = each;
    });
    return found;
}

void WindowTest::typeInto(const QString& label, const QString& text)
{
    CParamTree* tree = dlg->editor().Tree();
    CParamTreeItem* target = videoItem(label);
    ASSERT_NE(target, nullptr) << label.toStdString();
    ASSERT_TRUE(tree->ActivateItem(target, false));
    auto* box = qobject_cast<QLineEdit*>(target->EditorWidget());
    if (!box)
        box = qobject_cast<QComboBox*>(target->EditorWidget())->lineEdit();
    ASSERT_NE(box, nullptr);
    box->setText(text);
    tree->EndEditing(target);
}

void WindowTest::encodeAndWait()
{
    click(1015);
    ASSERT_TRUE(waitFor([this] { return !dlg->IsConverting(); }));
}
