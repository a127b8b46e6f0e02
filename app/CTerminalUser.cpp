#include "CTerminalUser.h"

#include "CConsoleWriter.h"

CTerminalUser::CTerminalUser(CConsoleWriter& writer, const QString& outputBox)
    : m_writer(writer), m_outputBox(outputBox)
{
}

void CTerminalUser::showMessage(const QString& text, const QString& caption, Icon icon)
{
    const QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    if (icon == Information)
        m_writer.line(line);
    else
        m_writer.errorLine(line);
}

bool CTerminalUser::askYesNo(const QString& text, const QString& caption)
{
    m_writer.errorLine(caption + QStringLiteral(": ") + text + QStringLiteral(" Yes"));
    return true;
}

QString CTerminalUser::outputBoxText()
{
    QMutexLocker lock(&m_lock);
    return m_outputBox;
}

void CTerminalUser::setOutputBoxText(const QString& text)
{
    QMutexLocker lock(&m_lock);
    m_outputBox = text;
}

void CTerminalUser::openOutputFolder(const QString& folder)
{
    m_writer.line(QStringLiteral("Output folder: ") + folder);
}
