// The peer of the start-up benchmark: a plain Qt main window with a menu bar, shown and left at
// once.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.menuBar()->addMenu(QStringLiteral("File"));
    window.resize(715, 640);
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}
