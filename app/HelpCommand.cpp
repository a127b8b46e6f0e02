#include "HelpCommand.h"

#include "AppFolder.h"

QString HelpCommand::TopicPath()
{
    return AppFolder::path() + QStringLiteral("help/introduction.htm");
}

void HelpCommand::Show(const BrowserLaunchHooks& hooks)
{
    OpenInBrowser(TopicPath(), kShowNormal, hooks);
}
