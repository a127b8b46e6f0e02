#include "OpenInBrowser.h"

#include <QDir>
#include <QRegularExpression>

#include <windows.h>

#include <shellapi.h>

namespace {

// One argument quoted for CreateProcess's command-line parser.
QString quoteArgument(const QString& arg)
{
    if (!arg.isEmpty() && !arg.contains(QRegularExpression(QStringLiteral("[\\s\"]"))))
        return arg;
    QString out = QStringLiteral("\"");
    int slashes = 0;
    for (const QChar c : arg) {
        if (c == QLatin1Char('\\')) {
            ++slashes;
            continue;
        }
        out += QString(c == QLatin1Char('"') ? slashes * 2 + 1 : slashes, QLatin1Char('\\'));
        slashes = 0;
        out += c;
    }
    out += QString(slashes * 2, QLatin1Char('\\'));
    return out + QLatin1Char('"');
}

// The default value of a key under HKEY_CLASSES_ROOT, as the registry stores it (260 bytes).
bool readClassValue(const QByteArray& key, QByteArray& value)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.constData(), 0, KEY_QUERY_VALUE, &handle) !=
        ERROR_SUCCESS)
        return false;
    char buffer[MAX_PATH] = {};
    LONG size = sizeof buffer;
    const LONG status = RegQueryValueA(handle, nullptr, buffer, &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS)
        return false;
    value = QByteArray(buffer);
    return true;
}

// Cuts the open command before "%1": at the opening quote of a quoted one, else at a bare one.
QString cutAtPlaceholder(const QString& command)
{
    const qsizetype quoted = command.indexOf(QStringLiteral("\"%1\""));
    if (quoted >= 0)
        return command.left(quoted);
    const qsizetype bare = command.indexOf(QStringLiteral("%1"));
    return bare >= 0 ? command.left(bare) : command;
}

QStringList splitCommandLine(const QString& command)
{
    QStringList args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(reinterpret_cast<LPCWSTR>(command.utf16()), &count);
    if (!argv)
        return args;
    for (int i = 0; i < count; ++i)
        args << QString::fromWCharArray(argv[i]);
    LocalFree(argv);
    return args;
}

} // namespace

BrowserLaunchHooks defaultBrowserLaunchHooks()
{
    BrowserLaunchHooks hooks;
    hooks.openWithDesktop = [](const QString& address, int show) {
        const HINSTANCE result = ShellExecuteW(
            nullptr, L"open", reinterpret_cast<LPCWSTR>(address.utf16()), nullptr, nullptr, show);
        return int(reinterpret_cast<INT_PTR>(result));
    };
    hooks.start = [](const QString& program, const QStringList& arguments, int show) {
        QString commandLine = quoteArgument(QDir::toNativeSeparators(program));
        for (const QString& arg : arguments)
            commandLine += QLatin1Char(' ') + quoteArgument(arg);
        std::wstring line = commandLine.toStdWString();
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = WORD(show);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                error == ERROR_BAD_FORMAT)
                return int(error);
            return 0;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return kLaunchSucceeded;
    };
    return hooks;
}

int OpenInBrowser(const QString& address, int show)
{
    return OpenInBrowser(address, show, defaultBrowserLaunchHooks());
}

int OpenInBrowser(const QString& address, int show, const BrowserLaunchHooks& hooks)
{
    if (address.isEmpty() || address.startsWith(QLatin1Char('-')))
        return kLaunchFileNotFound;
    const int result = hooks.openWithDesktop(address, show);
    if (result > 32)
        return result;

    // The registry names the .htm handler's class; its open command starts the browser.
    QByteArray value;
    if (!readClassValue(".htm", value))
        return result;
    if (!readClassValue(value + "\\shell\\open\\command", value))
        return result;
    QStringList args = splitCommandLine(cutAtPlaceholder(QString::fromLocal8Bit(value)));
    if (args.isEmpty())
        return result;
    const QString program = args.takeFirst();
    args << address;
    return hooks.start(program, args, show);
}
