#include "platform/gui/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace zelvarion {
namespace {
constexpr int kAnswerTimeoutMs = 1000;
// One line each: the activation, a file (its name in base 64, so any byte may occur in it), the end.
const QByteArray kActivate = QByteArrayLiteral("activate");
const QByteArray kFile = QByteArrayLiteral("file ");
const QByteArray kEnd = QByteArrayLiteral("end");
} // namespace

SingleInstance::SingleInstance(const QString &key, QObject *parent) : QObject(parent), m_key(key) {}

QString SingleInstance::keyFor(const QString &programFolderPath)
{
    const QByteArray hash = QCryptographicHash::hash(programFolderPath.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("zelvarion-") + qEnvironmentVariable("USER", QStringLiteral("user")) + u'-'
           + QString::fromLatin1(hash.toHex().left(16));
}

QByteArray SingleInstance::request(const QStringList &files)
{
    QByteArray text = kActivate + '\n';
    for (const QString &file : files)
        text += kFile + file.toUtf8().toBase64() + '\n';
    return text + kEnd + '\n';
}

std::optional<QStringList> SingleInstance::filesOf(const QByteArray &request)
{
    const QList<QByteArray> lines = request.split('\n');
    if (lines.size() < 3 || lines.front() != kActivate || lines[lines.size() - 2] != kEnd || !lines.back().isEmpty())
        return std::nullopt;
    QStringList files;
    for (qsizetype i = 1; i < lines.size() - 2; ++i) {
        if (!lines[i].startsWith(kFile))
            return std::nullopt;
        files << QString::fromUtf8(QByteArray::fromBase64(lines[i].mid(kFile.size())));
    }
    return files;
}

bool SingleInstance::activateRunningInstance(const QStringList &files)
{
    QLocalSocket socket;
    socket.connectToServer(m_key);
    if (!socket.waitForConnected(kAnswerTimeoutMs))
        return false;
    socket.write(request(files));
    socket.waitForBytesWritten(kAnswerTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen(std::function<void(const QStringList &)> activate)
{
    m_activate = std::move(activate);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A server left behind by a crashed instance would block the name.
    QLocalServer::removeServer(m_key);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            // The request may arrive in pieces; it is acted on once its end line is in.
            auto received = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
                *received += socket->readAll();
                if (const std::optional<QStringList> files = filesOf(*received); files && m_activate) {
                    received->clear();
                    m_activate(*files);
                }
            });
        }
    });
    return m_server->listen(m_key);
}

} // namespace zelvarion
