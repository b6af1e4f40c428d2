#include "app/instancechannel.h"

#include <QCryptographicHash>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kConnectionTimeoutMs = 5000;

bool isPrivateDirectory(const QString &dir)
{
    struct stat info {};
    return !dir.isEmpty() && ::lstat(QFile::encodeName(dir).constData(), &info) == 0 && S_ISDIR(info.st_mode)
           && info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

} // namespace

InstanceChannel::InstanceChannel(QString socketPath, QObject *parent)
    : QObject(parent), m_socketPath(std::move(socketPath))
{
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::socketPathFor(const QString &programDir, const QString &runtimeDir)
{
    const QString dir =
        runtimeDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : runtimeDir;
    if (!isPrivateDirectory(dir))
        return {};
    const QByteArray key = QCryptographicHash::hash(QFile::encodeName(programDir), QCryptographicHash::Sha256).toHex();
    return dir + u"/wexal-"_s + QString::fromLatin1(key.left(16)) + u".socket"_s;
}

InstanceChannel::Outcome InstanceChannel::handOverOrListen(const StartRequest &request, int timeoutMs)
{
    if (m_socketPath.isEmpty())
        return Outcome::Alone;
    QLockFile lock(m_socketPath + u".lock"_s);
    lock.tryLock(timeoutMs);
    if (!request.isEmpty() && handOver(request, timeoutMs))
        return Outcome::HandedOver;
    return listen() ? Outcome::Listening : Outcome::Alone;
}

bool InstanceChannel::handOver(const StartRequest &request, int timeoutMs) const
{
    if (m_socketPath.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(request.encode());
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

bool InstanceChannel::listen()
{
    if (m_socketPath.isEmpty() || m_server)
        return m_server != nullptr;
    // Someone answering on the socket listens already.
    QLocalSocket probe;
    probe.connectToServer(m_socketPath);
    if (probe.waitForConnected(1000))
        return false;
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // What is left of a start that ended without closing its socket.
    QLocalServer::removeServer(m_socketPath);
    if (!server->listen(m_socketPath)) {
        delete server;
        return false;
    }
    m_server = server;
    connect(m_server, &QLocalServer::newConnection, this, [this] { takeConnection(); });
    return true;
}

bool InstanceChannel::isListening() const
{
    return m_server && m_server->isListening();
}

void InstanceChannel::takeConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A start that says nothing in time is let go.
        QTimer::singleShot(kConnectionTimeoutMs, socket, [socket] { socket->abort(); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest)
                    socket->abort();
                return;
            }
            const StartRequest request = StartRequest::decode(socket->readLine(kMaxRequest));
            socket->write("ok\n");
            socket->flush();
            socket->disconnectFromServer();
            emit requestReceived(request);
        });
    }
}
