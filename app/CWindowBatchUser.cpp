#include "CWindowBatchUser.h"

#include "MessageBoxes.h"
#include "ThreadHandOff.h"

#include <QWidget>

CWindowBatchUser::CWindowBatchUser(QWidget* owner, Hooks hooks)
    : QObject(owner), m_owner(owner), m_hooks(std::move(hooks))
{
}

void CWindowBatchUser::onUiThread(const std::function<void()>& work)
{
    ThreadHandOff::callAndWait(this, work);
}

void CWindowBatchUser::later(std::function<void()> work)
{
    ThreadHandOff::post(this, std::move(work));
}

void CWindowBatchUser::showMessage(const QString& text, const QString& caption, Icon icon)
{
    onUiThread([&] {
        if (!m_quiet.load())
            MessageBoxes::show(m_owner, text, caption, icon);
    });
}

bool CWindowBatchUser::askYesNo(const QString& text, const QString& caption)
{
    bool yes = false;
    onUiThread([&] { yes = !m_quiet.load() && MessageBoxes::askYesNo(m_owner, text, caption); });
    return yes;
}

QString CWindowBatchUser::outputBoxText()
{
    QString text;
    onUiThread([&] { text = m_hooks.outputBoxText(); });
    return text;
}

void CWindowBatchUser::setOutputBoxText(const QString& text)
{
    later([this, text] { m_hooks.setOutputBoxText(text); });
}

void CWindowBatchUser::enableControls(bool enable)
{
    later([this, enable] { m_hooks.enableControls(enable); });
}

void CWindowBatchUser::enableEncode()
{
    later([this] { m_hooks.enableEncode(); });
}

void CWindowBatchUser::stopPreview()
{
    later([this] { m_hooks.stopPreview(); });
}

void CWindowBatchUser::writeBackSelectedProfile()
{
    // The worker reads the profiles right after this: the values must be in place first.
    onUiThread([this] { m_hooks.writeBackSelectedProfile(); });
}

void CWindowBatchUser::openOutputFolder(const QString& folder)
{
    later([this, folder] { m_hooks.openOutputFolder(folder); });
}
