// zelvarion: the window program.
#include "platform/FileNames.h"
#include "platform/ProcessMemory.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/SingleInstance.h"
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

namespace {

// The files a file manager or a shell gives (Open With), as absolute paths; the toolkit has taken its own
// options out of argv already. Names are read from the raw bytes, as the catalogue keeps them.
QStringList filesOfArguments(int argc, char *argv[])
{
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString argument = zelvarion::filenames::decode(argv[i]);
        if (!argument.isEmpty() && !argument.startsWith(u'-'))
            files << zelvarion::filenames::absolutePath(argument);
    }
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    zelvarion::processMemory::keepFreedPhotographBuffers();
    QApplication app(argc, argv);
    // Both programs name only the application, so they share ~/.local/share/Zelvarion.
    QApplication::setApplicationName(QStringLiteral("Zelvarion"));
    // The desktop matches the window to its desktop entry, and so to the icon installed with it.
    QApplication::setDesktopFileName(QStringLiteral("org.zelvarion.Zelvarion"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.zelvarion.Zelvarion")));
    const QStringList files = filesOfArguments(argc, argv);

    // A second start hands its files to the running window and ends without touching any file.
    zelvarion::SingleInstance instance(zelvarion::SingleInstance::keyFor(zelvarion::programFolder::path()));
    if (instance.activateRunningInstance(files))
        return 0;

    zelvarion::frmZelvarion window;
    instance.listen([&window](const QStringList &given) {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
        if (!given.isEmpty())
            window.showOpenedImage(given.front());
    });
    window.startUp();
    // An image opened with the program is shown once the catalogue is open.
    if (!files.isEmpty())
        window.showOpenedImage(files.front());
    // The start-up benchmark measures the time to the enabled window and leaves there.
    if (qEnvironmentVariableIsSet("ZELVARION_EXIT_WHEN_READY"))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
