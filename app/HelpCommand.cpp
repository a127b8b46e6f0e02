#include "HelpCommand.h"

#include "AppFolder.h"
#include "CodecDownload.h"

#include <QUrl>

QString HelpCommand::TopicPath()
{
    return AppFolder::path() + QStringLiteral("help/introduction.htm");
}

void HelpCommand::Show(const BrowserLaunchHooks& hooks)
{
    OpenInBrowser(TopicPath(), kShowNormal, hooks);
}

QString HelpCommand::CodecsAddress()
{
    QUrl page = QUrl::fromLocalFile(TopicPath());
    page.setFragment(QStringLiteral("codecs"));
    return page.toString(QUrl::FullyEncoded);
}

void HelpCommand::CodecDownload(const BrowserLaunchHooks& hooks)
{
    if (!StartCodecDownload())
        OpenInBrowser(CodecsAddress(), kShowNormal, hooks);
}
