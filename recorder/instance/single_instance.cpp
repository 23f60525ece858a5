#include "recorder/instance/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include "recorder/recorder_log.h"

namespace recorder {
namespace {

constexpr QByteArrayView kRaiseRequest = "raise\n";
constexpr int kAnswerLimitMs = 2000;

}  // namespace

SingleInstance::SingleInstance(QString socketPath) : socketPath_(std::move(socketPath)) {
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

QString SingleInstance::defaultSocketPath() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    return QDir(folder).absoluteFilePath(QStringLiteral("ambrevo-instance"));
}

InstanceRole SingleInstance::claim() {
    QLocalSocket running;
    running.connectToServer(socketPath_);
    if (running.waitForConnected(kAnswerLimitMs)) {
        running.write(kRaiseRequest.data(), kRaiseRequest.size());
        running.waitForBytesWritten(kAnswerLimitMs);
        running.disconnectFromServer();
        return InstanceRole::Second;
    }
    // Nobody answers: a socket file still there is left over from an Ambrevo that ended
    // without removing it.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath_)) {
        qCWarning(recorderLog) << "cannot listen for later starts:" << server_.errorString();
    }
    return InstanceRole::First;
}

void SingleInstance::onNewConnection() {
    while (QLocalSocket* client = server_.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            const QByteArray request = client->readAll();
            if (!request.startsWith("raise")) {
                return;
            }
            qCInfo(recorderLog) << "raise request from a later start";
            if (raiseHandler_) {
                raiseHandler_();
            }
        });
    }
}

}  // namespace recorder
