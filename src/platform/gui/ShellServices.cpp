#include "platform/gui/ShellServices.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>

namespace zelvarion::shell {

bool openWithDefaultProgram(const QString &pathOrUrl)
{
    const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl) : QUrl(pathOrUrl);
    return QDesktopServices::openUrl(url);
}

QString operatingSystemDescription()
{
    return QSysInfo::prettyProductName() + QStringLiteral(" v.") + QSysInfo::kernelVersion()
           + QStringLiteral(", ") + QSysInfo::currentCpuArchitecture();
}

} // namespace zelvarion::shell
