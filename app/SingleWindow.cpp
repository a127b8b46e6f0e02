#include "SingleWindow.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace {

// How long a later start waits for the window to listen (it may be starting itself) and to
// answer.
constexpr int kAnswerMs = 10000;
// The end of a hand-over: the files, one a line (percent-encoded), then an empty line.
const QByteArray kEnd = "\n\n";
const QByteArray kTaken = "ok\n";

} // namespace

SingleWindow::SingleWindow(const QString& stateFolder, QObject* parent)
    : QObject(parent), m_lock(QDir(stateFolder).filePath(QStringLiteral("window.lock")))
{
    // The socket's name stands for the user and the folder: another user's window or another
    // copy of the program is another window.
    const QByteArray key =
        (QDir(stateFolder).absolutePath() + QLatin1Char('\n') + QDir::homePath()).toUtf8();
    m_name = QStringLiteral("tovel-") +
             QString::fromLatin1(
                 QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20));
    m_lock.setStaleLockTime(0); // only a dead owner frees it, never its age
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleWindow::onConnection);
}

bool SingleWindow::claim()
{
    if (!m_lock.tryLock(0)) {
        // A lock that cannot be made (a folder nobody may write) decides nothing.
        if (m_lock.error() == QLockFile::LockFailedError)
            return false;
    }
    // The lock is ours, so a socket left under the name is a dead window's.
    QLocalServer::removeServer(m_name);
    m_server.listen(m_name);
    return true;
}

bool SingleWindow::handOver(const QStringList& files)
{
    QByteArray message;
    for (const QString& file : files)
        message += file.toUtf8().toPercentEncoding("/ ") + '\n'; // a name may hold a line feed
    message += files.isEmpty() ? kEnd : QByteArray("\n");
    const QDeadlineTimer deadline(kAnswerMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (!socket.waitForConnected(int(deadline.remainingTime()))) {
            QThread::msleep(100); // not listening yet: the window is still starting
            continue;
        }
        socket.write(message);
        QByteArray answer;
        while (!answer.endsWith('\n') && socket.waitForReadyRead(int(deadline.remainingTime())))
            answer += socket.readAll();
        return answer == kTaken;
    }
    return false;
}

void SingleWindow::onConnection()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->property("received").toByteArray() + socket->readAll();
            socket->setProperty("received", data);
            if (!data.endsWith(kEnd))
                return;
            QStringList files;
            for (const QByteArray& line : data.split('\n'))
                if (!line.isEmpty())
                    files += QString::fromUtf8(QByteArray::fromPercentEncoding(line));
            socket->write(kTaken);
            socket->flush();
            emit filesArrived(files);
        });
    }
}
