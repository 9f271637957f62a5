#pragma once

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"
#include "ui/frmZelvarion.h"

#include <QString>
#include <memory>

namespace zelvarion::test {

// An empty program folder for one window test; the language packs are copied in on request.
class ProgramFolderFixture
{
public:
    explicit ProgramFolderFixture(bool withLanguagePacks = true);
    ~ProgramFolderFixture();

    QString path() const { return m_folder.path(); }
    QString file(const QString &relative) const { return m_folder.file(relative); }
    QString write(const QString &relative, const QByteArray &bytes) const { return m_folder.write(relative, bytes); }
    QByteArray read(const QString &relative) const { return m_folder.read(relative); }
    QString iniText() const;
    void writeIni(const QString &text) const;

private:
    TempFolder m_folder;
};

// A main window on the fixture's folder whose messages are recorded and whose database dialog
// only counts its openings.
struct StartedWindow
{
    RecordingFeedback feedback;
    int databaseDialogOpenings = 0;
    std::unique_ptr<frmZelvarion> window;

    void start();
};

// The control, menu or item of a window named `name` (a control array element as "chkIPTC_2");
// a missing one ends the test.
template <typename T>
T *find(const QObject *window, const QString &name)
{
    T *control = window->findChild<T *>(name);
    if (!control)
        qFatal("no control named %s", qPrintable(name));
    return control;
}

template <typename T>
T *find(const QObject *window, const char *name)
{
    return find<T>(window, QString::fromLatin1(name));
}

template <typename T>
T *find(const QObject *window, const char *name, int index)
{
    return find<T>(window, QLatin1String(name) + u'_' + QString::number(index));
}

// Names of the tables and of the indexes of a catalogue file.
QStringList catalogueObjects(const QString &path, const QString &type);

// The rows a statement returns from a catalogue file, each row's cells joined by "|"; a failing
// statement gives the engine's text alone.
QStringList catalogueRows(const QString &path, const QString &statement);

} // namespace zelvarion::test
