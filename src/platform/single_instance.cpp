#include "platform/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace vexmo {

namespace {

QString SocketPath()
{
    return SingleInstance::RuntimeFolder() + "/" + kMainWindowClass;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

SingleInstance::~SingleInstance()
{
    server_.close();
}

QString SingleInstance::RuntimeFolder()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists())
        dir = QDir::tempPath() + QString("/vexmo-%1").arg(getuid());
    QDir().mkpath(dir);
    return dir;
}

bool SingleInstance::Acquire()
{
    lock_ = std::make_unique<QLockFile>(RuntimeFolder() + "/" + kInstanceMutexName + ".lock");
    // A lock left by a crashed copy is taken over (QLockFile checks whether its owner still runs).
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    lock_.reset();
    return false;
}

bool SingleInstance::SendBringForward(int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QByteArray::number(kMsgBringForward) + "\n");
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // Like a synchronous send: wait for the window's answer before ending.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(timeoutMs))
            break;
    }
    return true;
}

bool SingleInstance::Listen(std::function<long(int)> handler)
{
    handler_ = std::move(handler);
    const QString path = SocketPath();
    // We hold the instance lock, so a socket file still there belongs to a copy that is gone.
    QLocalServer::removeServer(path);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(path))
        return false;
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(client, &QLocalSocket::readyRead, client, [this, client] {
                while (client->canReadLine()) {
                    bool ok = false;
                    const int message = client->readLine(64).trimmed().toInt(&ok);
                    // Only the bring-forward request is accepted from outside.
                    const long result = (ok && message == kMsgBringForward && handler_) ? handler_(message) : -1;
                    client->write(QByteArray::number(static_cast<qlonglong>(result)) + "\n");
                    client->flush();
                }
            });
        }
    });
    return true;
}

} // namespace vexmo
