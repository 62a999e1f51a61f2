#include "app/shell/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include "core/common/local_time.h"

namespace kv820 {

namespace {
constexpr int ConnectTimeoutMs = 1000;
}

SingleInstance::SingleInstance(const QString& key, QObject* parent) : QObject(parent), key_(key) {
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activationRequested();
        }
    });
}

QString SingleInstance::perUserKey(const QString& program) {
    return program + QLatin1Char('-') + QString::fromLocal8Bit(currentUserName());
}

SingleInstance::~SingleInstance() {
    server_.close();
}

bool SingleInstance::claim() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    QDir().mkpath(folder);
    lock_ = std::make_unique<QLockFile>(folder + QLatin1Char('/') + key_ + QStringLiteral(".lock"));
    lock_->setStaleLockTime(0);  // only a dead owner makes a lock stale
    if (!lock_->tryLock(100)) {
        askRunningCopyToActivate();
        return false;
    }
    QLocalServer::removeServer(key_);  // a socket left by a crashed copy
    server_.listen(key_);
    return true;
}

bool SingleInstance::askRunningCopyToActivate() {
    QLocalSocket socket;
    socket.connectToServer(key_);
    if (!socket.waitForConnected(ConnectTimeoutMs)) {
        return false;
    }
    socket.write("activate");
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

}  // namespace kv820
