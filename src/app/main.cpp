// zelvarion: the window program.
#include "platform/ProcessMemory.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/SingleInstance.h"
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int main(int argc, char *argv[])
{
    zelvarion::processMemory::keepFreedPhotographBuffers();
    QApplication app(argc, argv);
    // Both programs name only the application, so they share ~/.local/share/Zelvarion.
    QApplication::setApplicationName(QStringLiteral("Zelvarion"));
    // The desktop matches the window to its desktop entry, and so to the icon installed with it.
    QApplication::setDesktopFileName(QStringLiteral("org.zelvarion.Zelvarion"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zelvarion.Zelvarion")));
    // Files or folders given by a file manager (Open With) only bring the window forward: the
    // folders to catalogue are registered in the database dialog.

    // A second start brings the running window forward and ends without touching any file.
    zelvarion::SingleInstance instance(zelvarion::SingleInstance::keyFor(zelvarion::programFolder::path()));
    if (instance.activateRunningInstance())
        return 0;

    zelvarion::frmZelvarion window;
    instance.listen([&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.startUp();
    // The start-up benchmark measures the time to the enabled window and leaves there.
    if (qEnvironmentVariableIsSet("ZELVARION_EXIT_WHEN_READY"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
