#include "FakeTool.h"

#include "EncoderTool.h"
#include "TestMedia.h"

#include <QFile>

FakeTool::FakeTool()
{
    const QString tool = appFolder() + EncoderTool::fileName();
    m_valid = m_dir.isValid() && QFile::copy(QStringLiteral(TOVEL_FAKE_ENCODER), tool) &&
              QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setPlan({});
}

FakeTool::~FakeTool()
{
    qunsetenv("TOVEL_FAKE_PLAN");
}

void FakeTool::setPlan(const QStringList& steps)
{
    const QString plan = filePath(QStringLiteral("plan.txt"));
    QFile::remove(plan + QStringLiteral(".args"));
    QFile::remove(plan + QStringLiteral(".stdin"));
    TestMedia::writeFile(plan, steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    qputenv("TOVEL_FAKE_PLAN", QFile::encodeName(plan));
}

QStringList FakeTool::arguments() const
{
    const QByteArray text = TestMedia::readFile(filePath(QStringLiteral("plan.txt.args")));
    QStringList args = QString::fromUtf8(text).split(QLatin1Char('\n'));
    if (!args.isEmpty() && args.last().isEmpty())
        args.removeLast();
    return args;
}

QByteArray FakeTool::input() const
{
    return TestMedia::readFile(filePath(QStringLiteral("plan.txt.stdin")));
}

bool FakeTool::ran() const
{
    return QFile::exists(filePath(QStringLiteral("plan.txt.args")));
}
