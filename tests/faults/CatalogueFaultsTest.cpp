// A catalogue that cannot be written (its folder mounted read-only) or is damaged: the commands
// that would change it say so and exit 1, no photo is touched, and the catalogue is left as it was.
#include "FaultWorkspace.h"

#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// The folder mounted read-only onto itself for the life of the object (root only).
class ReadOnlyBind
{
public:
    explicit ReadOnlyBind(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        if (geteuid() != 0) {
            m_whyNot = "a read-only bind mount needs root";
            return;
        }
        if (::mount(m_folder.constData(), m_folder.constData(), nullptr, MS_BIND, nullptr) != 0) {
            m_whyNot = std::string("bind mount failed: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
        if (::mount(nullptr, m_folder.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
            m_whyNot = std::string("read-only remount failed: ") + std::strerror(errno);
    }
    ~ReadOnlyBind()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    ReadOnlyBind(const ReadOnlyBind &) = delete;
    ReadOnlyBind &operator=(const ReadOnlyBind &) = delete;
    bool readOnly() const { return m_mounted && m_whyNot.empty(); }
    const std::string &whyNot() const { return m_whyNot; }

private:
    QByteArray m_folder;
    bool m_mounted = false;
    std::string m_whyNot;
};

void prepare(FaultWorkspace &workspace, int photos)
{
    for (const auto &[name, bytes] : generatedPhotos(photos, 160, 120))
        workspace.addPhoto(name, bytes);
    workspace.scanAndChooseTemplate();
}

// The commands that change the catalogue or the photos through it.
std::vector<QStringList> changingCommands(const FaultWorkspace &workspace)
{
    return {{QStringLiteral("scan"), workspace.photos},
            {QStringLiteral("mark"), QStringLiteral("caption")},
            {QStringLiteral("template"), QStringLiteral("add"), QStringLiteral("Another")},
            FaultWorkspace::applyArguments()};
}

// Where the last page of the Images table starts in the file.
qsizetype lastImagesPageAt(const QString &catalogue)
{
    const std::vector<QStringList> rows =
        catalogueRows(catalogue, QStringLiteral("select max(pageno), (select page_size from pragma_page_size) from dbstat "
                                                "where name = 'Images';"));
    EXPECT_EQ(rows.size(), 1u);
    return rows.empty() ? 0 : (rows[0].at(0).toLongLong() - 1) * rows[0].at(1).toLongLong();
}

void expectRefusedWithAWord(const CliRun &run, const QStringList &command, const std::string &when)
{
    EXPECT_EQ(run.exitCode, 1) << when << ": " << command.join(u' ').toStdString() << " reported " << run.exitCode
                               << "\n" << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.err.trimmed().isEmpty()) << when << ": " << command.join(u' ').toStdString() << " said nothing";
}

} // namespace

TEST(ReadOnlyCatalogue, commandsThatWouldChangeItSaySoAndTouchNoPhoto)
{
    TempFolder folder;
    FaultWorkspace workspace(folder.path());
    prepare(workspace, 8);
    const QByteArray catalogueBefore = readWhole(workspace.catalogue());
    {
        ReadOnlyBind readOnly(workspace.program);
        if (!readOnly.readOnly())
            GTEST_SKIP() << readOnly.whyNot();
        for (const QStringList &command : changingCommands(workspace)) {
            expectRefusedWithAWord(workspace.run(command), command, "read-only catalogue");
            expectEachFileOldOrNew(workspace.originals, {}, "read-only catalogue, " + command.first().toStdString());
        }
        const CliRun search = workspace.run({QStringLiteral("search"), QStringLiteral("caption")});
        EXPECT_EQ(search.exitCode, 0) << "a search only reads: " << search.err.toStdString();
    }
    EXPECT_EQ(readWhole(workspace.catalogue()), catalogueBefore);
    expectCatalogueIntact(workspace.catalogue(), "after the read-only runs");
}

TEST(DamagedCatalogue, commandsSaySoAndLeaveThePhotosAndTheCatalogueAlone)
{
    struct Damage
    {
        const char *name;
        QByteArray (*damage)(const QByteArray &, qsizetype imagesPageAt);
    };
    const Damage damages[] = {
        {"header overwritten", [](const QByteArray &db, qsizetype) { return QByteArray(100, 'x') + db.mid(100); }},
        {"cut to half", [](const QByteArray &db, qsizetype) { return db.left(db.size() / 2); }},
        {"pages overwritten",
         [](const QByteArray &db, qsizetype) { return db.left(4096) + QByteArray(int(db.size()) - 4096, '\x5A'); }},
        // The search index's pages lie after the images; a command reads only what it needs.
        {"last page of the images overwritten",
         [](const QByteArray &db, qsizetype at) { return QByteArray(db).replace(at, 4096, QByteArray(4096, '\x5A')); }},
        {"a text file", [](const QByteArray &, qsizetype) { return QByteArray("these are not the tables you look for\n"); }},
    };
    for (const Damage &damage : damages) {
        TempFolder folder;
        FaultWorkspace workspace(folder.path());
        prepare(workspace, 60);
        const QByteArray damaged = damage.damage(readWhole(workspace.catalogue()), lastImagesPageAt(workspace.catalogue()));
        ASSERT_TRUE(writeWhole(workspace.catalogue(), damaged));
        // A template lies in a table the damage may have spared: only commands on the images.
        for (const QStringList &command : changingCommands(workspace)) {
            if (command.first() == u"template")
                continue;
            expectRefusedWithAWord(workspace.run(command), command, damage.name);
            expectEachFileOldOrNew(workspace.originals, {}, std::string(damage.name) + ", " + command.first().toStdString());
            EXPECT_EQ(readWhole(workspace.catalogue()), damaged) << damage.name << ": " << command.first().toStdString()
                                                                 << " replaced the damaged catalogue";
        }
    }
}
