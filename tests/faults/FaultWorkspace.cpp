#include "FaultWorkspace.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/iptc/IptcField.h"
#include "core/iptc/IptcReader.h"
#include "platform/FileNames.h"
#include "support/GeneratedJpeg.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <tuple>

namespace zelvarion::test {

// By the name's real bytes: the program catalogues names that are not UTF-8 in their decoded form.
QByteArray readWhole(const QString &path)
{
    QFile file;
    return filenames::openForReading(file, path) ? file.readAll() : QByteArray();
}

bool writeWhole(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

Contents filesUnder(const QString &folder)
{
    Contents found;
    for (const filenames::FolderEntry &entry : filenames::listFolder(folder).value_or(std::vector<filenames::FolderEntry>())) {
        const QString path = folder + u'/' + entry.name;
        if (entry.symLink)
            continue;
        if (entry.kind == filenames::FolderEntry::Kind::Folder)
            found.merge(filesUnder(path));
        else if (entry.kind == filenames::FolderEntry::Kind::File)
            found[path] = readWhole(path);
    }
    return found;
}

FaultWorkspace::FaultWorkspace(const QString &rootFolder)
    : root(rootFolder), program(rootFolder + QStringLiteral("/program")), photos(rootFolder + QStringLiteral("/photos")),
      backups(rootFolder + QStringLiteral("/backups")), home(rootFolder + QStringLiteral("/home"))
{
    for (const QString &folder : {program, photos, backups, home})
        QDir().mkpath(folder);
}

QString FaultWorkspace::addPhoto(const QString &name, const QByteArray &bytes)
{
    const QString path = photos + u'/' + name;
    EXPECT_TRUE(writeWhole(path, bytes)) << path.toStdString();
    originals[path] = bytes;
    return path;
}

void FaultWorkspace::askForBackups() const
{
    writeWhole(program + QStringLiteral("/Zelvarion.ini"),
               "[EditIPTCOptions]\nSaveOriginalFile=1\nSaveFirstVersion=1\nSaveFolder=" + backups.toUtf8() + "/\n");
}

QProcessEnvironment FaultWorkspace::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    return environment;
}

std::unique_ptr<QProcess> FaultWorkspace::start(const QStringList &arguments, const QString &workingFolder) const
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    if (!workingFolder.isEmpty())
        process->setWorkingDirectory(workingFolder);
    process->start(QStringLiteral(ZELVARION_CLI_PATH), QStringList{QStringLiteral("--program-folder"), program} + arguments);
    process->waitForStarted();
    return process;
}

CliRun FaultWorkspace::run(const QStringList &arguments, int timeoutMs, const QString &workingFolder) const
{
    const std::unique_ptr<QProcess> process = start(arguments, workingFolder);
    if (!process->waitForFinished(timeoutMs)) {
        process->kill();
        process->waitForFinished();
        return {-2, QString::fromUtf8(process->readAllStandardOutput()), QStringLiteral("(timed out)")};
    }
    return {process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
            QString::fromUtf8(process->readAllStandardOutput()), QString::fromUtf8(process->readAllStandardError())};
}

void FaultWorkspace::scanAndChooseTemplate() const
{
    const CliRun scan = run({QStringLiteral("scan"), photos});
    ASSERT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    ASSERT_EQ(run({QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("T")}).exitCode, 0);
    ASSERT_EQ(run({QStringLiteral("template"), QStringLiteral("set"), QStringLiteral("T"), QStringLiteral("City=Paris"),
                   QStringLiteral("Headline=Headline été"), QStringLiteral("Keywords=desk")})
                  .exitCode,
              0);
    ASSERT_EQ(run({QStringLiteral("template"), QStringLiteral("use"), QStringLiteral("T")}).exitCode, 0);
}

QStringList FaultWorkspace::applyArguments()
{
    return {QStringLiteral("apply"), QStringLiteral("--yes"), QStringLiteral("--mode"), QStringLiteral("1"),
            QStringLiteral("--add-keywords"), QStringLiteral("photos")};
}

KilledRun runAndKill(const FaultWorkspace &workspace, const QStringList &arguments, int killAfterMicroseconds)
{
    const std::unique_ptr<QProcess> process = workspace.start(arguments);
    QThread::usleep(static_cast<unsigned long>(killAfterMicroseconds));
    KilledRun result;
    if (process->state() != QProcess::NotRunning) {
        process->kill(); // SIGKILL: no destructor, no flush
        result.killed = true;
    }
    process->waitForFinished(120000);
    result.run = {result.killed ? -9 : process->exitCode(), QString::fromUtf8(process->readAllStandardOutput()),
                  QString::fromUtf8(process->readAllStandardError())};
    return result;
}

int expectEachFileOldOrNew(const Contents &old, const Contents &expectedNew, const std::string &when)
{
    int changed = 0;
    for (const auto &[path, before] : old) {
        const QByteArray now = readWhole(path);
        const auto after = expectedNew.find(path);
        const bool isNew = after != expectedNew.end() && now == after->second && now != before;
        changed += isNew ? 1 : 0;
        EXPECT_TRUE(isNew || now == before) << when << ": " << path.toStdString() << " is neither old nor new ("
                                            << now.size() << " bytes, was " << before.size() << ")";
    }
    return changed;
}

void expectBackupsOfChangedFiles(const Contents &originals, const QString &backups, const std::string &when)
{
    std::set<QByteArray> copies;
    for (const auto &[path, bytes] : filesUnder(backups))
        copies.insert(bytes);
    for (const auto &[path, original] : originals) {
        if (readWhole(path) != original) {
            EXPECT_TRUE(copies.count(original)) << when << ": no backup of the original of " << path.toStdString();
        }
    }
}

void expectCatalogueIntact(const QString &catalogue, const std::string &when)
{
    ASSERT_TRUE(QFileInfo::exists(catalogue)) << when;
    const CliRun check = runProgram(QStringLiteral("sqlite3"), {catalogue, QStringLiteral("pragma integrity_check;")});
    EXPECT_EQ(check.out.trimmed(), u"ok") << when << ": " << check.err.toStdString();
}

std::vector<QStringList> catalogueRows(const QString &catalogue, const QString &select)
{
    CatalogueDb db;
    db.path = catalogue;
    std::vector<QStringList> rows;
    if (!db.open())
        return rows;
    if (db.execute(select) == 0)
        for (int r = 1; r <= db.rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < db.columnCount(); ++c)
                cells << db.cell(c, r);
            rows.push_back(cells);
        }
    db.close();
    return rows;
}

namespace {

int fieldIndex(const char *column)
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (iptcField(i).column == std::string_view(column))
            return i;
    return -1;
}

} // namespace

QString iptcValue(const QByteArray &bytes, const char *column)
{
    return readIptcFromBytes(bytes, QStringLiteral("image.jpg"), QStringLiteral("Field")).fields.values.at(std::size_t(fieldIndex(column)));
}

void expectCatalogueAgreesWithFiles(const QString &catalogue, const QStringList &images, const std::string &when, RowSize size)
{
    std::map<QString, std::vector<QStringList>> rowsByPath;
    for (const QStringList &row : catalogueRows(catalogue, QStringLiteral("select * from Images;")))
        rowsByPath[row[0] + row[1]].push_back(row);
    EXPECT_EQ(rowsByPath.size(), std::size_t(images.size())) << when << ": the catalogue lists other images";
    constexpr int kFirstIptc = int(ImagesColumn::FirstIptcField);
    constexpr int kCustomized = kIptcFieldCount - 1; // its text depends on the language's label
    constexpr int kFileSize = int(ImagesColumn::FileSize);
    int missing = 0;
    for (const QString &image : images) {
        const auto found = rowsByPath.find(image);
        if (found == rowsByPath.end()) {
            if (++missing <= 3) // the first few say enough
                ADD_FAILURE() << when << ": no row for " << image.toStdString();
            continue;
        }
        EXPECT_EQ(found->second.size(), 1U) << when << ": rows for " << image.toStdString();
        const QStringList &row = found->second.front();
        const QByteArray bytes = readWhole(image);
        const IptcFieldSet fields = readIptcFromBytes(bytes, image, QStringLiteral("Field")).fields;
        for (int i = 0; i < kCustomized; ++i)
            EXPECT_EQ(row[kFirstIptc + i], fields.values.at(std::size_t(i)))
                << when << ": " << iptcField(i).column << " of " << image.toStdString();
        if (size == RowSize::Checked) {
            EXPECT_EQ(row[kFileSize], QString::number(bytes.size())) << when << ": size of " << image.toStdString();
        }
    }
    EXPECT_LE(missing, 3) << when << ": " << missing << " images have no row";
}

void expectOnlyTheseFiles(const QString &folder, const QStringList &names, const std::string &when)
{
    QStringList present = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QStringList expected = names;
    expected.sort();
    present.sort();
    EXPECT_EQ(present, expected) << when << ": in " << folder.toStdString();
}

Contents generatedPhotos(int count, int width, int height)
{
    static std::map<std::tuple<int, int, int>, Contents> made;
    Contents &photos = made[{count, width, height}];
    if (photos.empty())
        for (int i = 0; i < count; ++i) {
            const QByteArray iim = generated::iimDataset(90, "Lyon") + generated::iimDataset(25, "kept")
                                   + generated::iimDataset(120, "caption " + QByteArray::number(i));
            photos[QStringLiteral("img%1.jpg").arg(i, 2, 10, QLatin1Char('0'))] =
                generated::generatedJpeg(QSize(width, height), i + 1, iim);
        }
    return photos;
}

TmpfsMount::TmpfsMount(const QString &folder, int kilobytes) : m_folder(folder)
{
    if (geteuid() != 0) {
        m_whyNot = QStringLiteral("mounting a small file system needs root");
        return;
    }
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0) {
        m_whyNot = QStringLiteral("mount -t tmpfs failed: ") + QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_mounted = true;
}

TmpfsMount::~TmpfsMount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH); // even with files still open
}

qint64 freeBytes(const QString &folder)
{
    struct statvfs facts {};
    if (::statvfs(QFile::encodeName(folder).constData(), &facts) != 0)
        return -1;
    return qint64(facts.f_bavail) * qint64(facts.f_frsize);
}

void TmpfsMount::fill(qint64 leaveBytes) const
{
    QFile filler(m_folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::Append))
        return;
    const QByteArray block(4096, 'f');
    while (freeBytes(m_folder) > leaveBytes + block.size() && filler.write(block) == block.size())
        filler.flush();
}

void TmpfsMount::dropFiller() const { QFile::remove(m_folder + QStringLiteral("/filler")); }

} // namespace zelvarion::test
