// The backup folder's index: each copy belongs to one source, a source keeps its copy, another
// source of the same name gets one of its own, a copy the index does not know is never taken or
// replaced, lines of other processes are read and a line cut short by a crash is passed over.
#include "core/iptc/IptcWriter.h"
#include "core/iptc/OriginalBackups.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class OriginalBackupsTest : public ::testing::Test
{
protected:
    OriginalBackupsTest() { QDir().mkpath(backups()); }

    QString backups() const { return folder.file(QStringLiteral("backups")); }
    QString slotName(const QString &source) const
    {
        const BackupSlot slot = backupSlotFor(backups(), source);
        EXPECT_TRUE(slot.error.isEmpty()) << slot.error.toStdString();
        return slot.path.section(u'/', -1);
    }
    void appendToIndex(const QByteArray &bytes) const
    {
        QFile index(backups() + u'/' + backupIndexName());
        ASSERT_TRUE(index.open(QIODevice::Append));
        index.write(bytes);
    }

    TempFolder folder;
};

} // namespace

TEST_F(OriginalBackupsTest, eachSourceKeepsItsOwnNameWhateverTheCase)
{
    struct Case { const char *source; const char *name; };
    const Case cases[] = {
        {"/x/Photo.JPG", "Photo.JPG"},
        {"/y/photo.jpg", "photo (2).jpg"}, // the same name but for case: a FAT backup disk would merge them
        {"/x/Photo.JPG", "Photo.JPG"},     // asked again: the same slot
        {"/z/photo (2).jpg", "photo (2) (2).jpg"},
        {"/z/README", "README"},
        {"/w/README", "README (2)"},
        {"/v/tab\tand\nbreak.jpg", "tab\tand\nbreak.jpg"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(slotName(QString::fromUtf8(c.source)), QString::fromUtf8(c.name)) << c.source;
}

TEST_F(OriginalBackupsTest, aCopyTheIndexDoesNotKnowIsNeitherTakenNorReplaced)
{
    // Made before the index existed: whose original it is, nobody can say.
    const QByteArray unknown = "an older copy";
    folder.write(QStringLiteral("backups/a.jpg"), unknown);
    const QString path = folder.write(QStringLiteral("images/a.jpg"), "\xFF\xD8 image");
    for (const bool firstVersion : {true, false}) {
        const IptcWriteOptions options{true, firstVersion, backups() + u'/', false};
        EXPECT_TRUE(backupOriginalFile(path, options).ok);
    }
    EXPECT_EQ(folder.read(QStringLiteral("backups/a.jpg")), unknown);
    EXPECT_EQ(folder.read(QStringLiteral("backups/a (2).jpg")), QByteArray("\xFF\xD8 image"));
}

TEST_F(OriginalBackupsTest, linesOfOtherProcessesCountAndATornLineIsPassedOver)
{
    // Another process claimed b.jpg for its own source, then died half-way through a line for c.jpg.
    appendToIndex("b.jpg\t" + QUrl::toPercentEncoding(QStringLiteral("/elsewhere/b.jpg")) + "\t\n");
    appendToIndex("c.jpg\t/here/c.j");
    EXPECT_EQ(slotName(QStringLiteral("/here/b.jpg")), u"b (2).jpg");
    EXPECT_EQ(slotName(QStringLiteral("/here/c.jpg")), u"c.jpg");
    EXPECT_EQ(slotName(QStringLiteral("/elsewhere/b.jpg")), u"b.jpg");
    // A line appended later by someone else is seen too.
    appendToIndex("d.jpg\t" + QUrl::toPercentEncoding(QStringLiteral("/elsewhere/d.jpg")) + "\t\n");
    EXPECT_EQ(slotName(QStringLiteral("/here/d.jpg")), u"d (2).jpg");
}

TEST_F(OriginalBackupsTest, anIndexThatCannotBeMadeRefusesTheBackup)
{
    const QString path = folder.write(QStringLiteral("images/a.jpg"), "\xFF\xD8 image");
    QDir().mkpath(backups() + u'/' + backupIndexName()); // a folder where the index should be
    const BackupResult result = backupOriginalFile(path, IptcWriteOptions{true, true, backups() + u'/', false});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(backupIndexName())) << result.error.toStdString();
}
