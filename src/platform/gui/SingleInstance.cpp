#include "platform/gui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace zelvarion {
namespace {
constexpr int kAnswerTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key) {}

QString SingleInstance::keyFor(const QString &programFolderPath)
{
    const QByteArray hash = QCryptographicHash::hash(programFolderPath.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("zelvarion-") + qEnvironmentVariable("USER", QStringLiteral("user")) + u'-'
           + QString::fromLatin1(hash.toHex().left(16));
}

bool SingleInstance::activateRunningInstance()
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(kAnswerTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kAnswerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<void()> activate)
{
    m_activate = std::move(activate);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A server left behind by a crashed instance would block the name.
    QLocalServer::removeServer(m_key);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("activate") && m_activate)
                    m_activate();
            });
        }
    });
    return m_server->listen(m_key);
}

} // namespace zelvarion
