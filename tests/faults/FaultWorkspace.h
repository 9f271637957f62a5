#pragma once

// A program folder, a photo folder and a backup folder for real zelvarion-cli processes, with the
// checks every fault case ends with: each file old or new, each backup asked for present, the
// catalogue whole and in step with the files.

#include "cli/CliRunner.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <map>
#include <ostream>
#include <memory>
#include <set>
#include <string>

// Texts in the failure messages rather than their bytes.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

namespace zelvarion::test {

using Contents = std::map<QString, QByteArray>; // by absolute path

QByteArray readWhole(const QString &path);
bool writeWhole(const QString &path, const QByteArray &bytes);
// Every regular file under a folder (hidden ones too) by path, without following links.
Contents filesUnder(const QString &folder);

class FaultWorkspace
{
public:
    // Lays the folders out under root, which must exist (a temporary folder or a mount).
    explicit FaultWorkspace(const QString &root);

    QString root;
    QString program; // --program-folder: Zelvarion.ini and the default Images.db
    QString photos;
    QString backups;
    QString home; // HOME and the XDG folders of the processes: their trash and thumbnail cache
    Contents originals;

    QString catalogue() const { return program + QStringLiteral("/Images.db"); }
    QString addPhoto(const QString &name, const QByteArray &bytes);
    // Backups of the first version of every rewritten file into `backups`.
    void askForBackups() const;

    // Runs in workingFolder when one is given (relative file names).
    CliRun run(const QStringList &arguments, int timeoutMs = 120000, const QString &workingFolder = {}) const;
    std::unique_ptr<QProcess> start(const QStringList &arguments, const QString &workingFolder = {}) const;
    // Scans the photo folder and makes template T (City=Paris, a headline, a keyword) the one in use.
    void scanAndChooseTemplate() const;
    static QStringList applyArguments();

private:
    QProcessEnvironment environment() const;
};

// A zelvarion-cli run killed with SIGKILL after the given time (unless it ended before).
struct KilledRun
{
    bool killed = false;
    CliRun run;
};
KilledRun runAndKill(const FaultWorkspace &workspace, const QStringList &arguments, int killAfterMicroseconds);

// Each file either as it was or as the uninterrupted command leaves it; returns how many are new.
int expectEachFileOldOrNew(const Contents &old, const Contents &expectedNew, const std::string &when);
// Every file whose content changed has a backup equal to its original somewhere in the folder.
void expectBackupsOfChangedFiles(const Contents &originals, const QString &backups, const std::string &when);
// pragma integrity_check through the engine's own shell.
void expectCatalogueIntact(const QString &catalogue, const std::string &when);
// One row per image, each with the IPTC values its file holds now, and its size when a scan was
// the last to write the rows (a rewrite updates the values and the revision only).
enum class RowSize { Checked, NotChecked };
void expectCatalogueAgreesWithFiles(const QString &catalogue, const QStringList &images, const std::string &when,
                                    RowSize size = RowSize::Checked);
// Nothing but the given names lies in the folder: no temporary file left behind.
void expectOnlyTheseFiles(const QString &folder, const QStringList &names, const std::string &when);

// A small tmpfs mounted for the life of the object (root only), so writes meet a full disk.
class TmpfsMount
{
public:
    TmpfsMount(const QString &folder, int kilobytes);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;
    bool mounted() const { return m_mounted; }
    const QString &whyNot() const { return m_whyNot; }
    // Takes the free room down to about `leaveBytes` with a filler file; dropFiller gives it back.
    void fill(qint64 leaveBytes) const;
    void dropFiller() const;

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_whyNot;
};
qint64 freeBytes(const QString &folder);

// The rows of one select on the catalogue, each a list of its cells.
std::vector<QStringList> catalogueRows(const QString &catalogue, const QString &select);
// The value of an IPTC column (City, Caption...) as the reader reads it from the bytes.
QString iptcValue(const QByteArray &bytes, const char *column);

// Photos by file name: generated pictures of the size given, each with a city, a keyword and a
// caption. Made once per size and count.
Contents generatedPhotos(int count, int width, int height);

} // namespace zelvarion::test
