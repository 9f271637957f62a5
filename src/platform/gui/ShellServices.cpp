#include "platform/gui/ShellServices.h"

#include "platform/FileNames.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QSysInfo>
#include <QUrl>

namespace zelvarion::shell {

bool openWithDefaultProgram(const QString &pathOrUrl)
{
    // A file goes by the real bytes of its name, which need not be UTF-8.
    const QUrl url = filenames::fileFacts(pathOrUrl).exists ? filenames::fileUrl(pathOrUrl) : QUrl(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

bool showFileProperties(const QString &path)
{
    const QString service = QStringLiteral("org.freedesktop.FileManager1");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // A running file manager answers at once; one the bus has to start first takes longer.
    const bool running = bus.interface()->isServiceRegistered(service);
    if (!running && !bus.interface()->activatableServiceNames().value().contains(service))
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/FileManager1"),
                                                       service, QStringLiteral("ShowItemProperties"));
    call << QStringList{filenames::fileUrl(path).toString(QUrl::FullyEncoded)} << QString();
    const QDBusMessage reply = bus.call(call, QDBus::Block, running ? 3000 : 10000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QString operatingSystemDescription()
{
    return QSysInfo::prettyProductName() + QStringLiteral(" v.") + QSysInfo::kernelVersion()
           + QStringLiteral(", ") + QSysInfo::currentCpuArchitecture();
}

} // namespace zelvarion::shell
