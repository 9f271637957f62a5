// zelvarion: the window program.
#include "platform/ProgramFolder.h"
#include "platform/gui/SingleInstance.h"
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Both programs name only the application, so they share ~/.local/share/Zelvarion.
    QApplication::setApplicationName(QStringLiteral("Zelvarion"));

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
