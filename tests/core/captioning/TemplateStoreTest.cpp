// The template store on a real catalogue: names with apostrophes, letter case and wildcards,
// the counts of the list, marking in use, and the edit dialog's save statement.
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/iptc/IptcField.h"
#include "core/captioning/TemplateStore.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using Outcome = TemplateStore::NameOutcome;

namespace {

class TemplateStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file(QStringLiteral("Images.db"));
        createCatalogueSchema(db, feedback, {});
        feedback.messages.clear();
    }

    QStringList names()
    {
        QStringList found;
        for (const TemplateRecord &record : store.list().value_or(std::vector<TemplateRecord>{}))
            found << record.name;
        return found;
    }
    QStringList ticked()
    {
        QStringList found;
        for (const TemplateRecord &record : store.list().value_or(std::vector<TemplateRecord>{}))
            if (record.ticked())
                found << record.name;
        return found;
    }
    void add(std::initializer_list<const char *> list)
    {
        for (const char *name : list)
            ASSERT_EQ(store.add(QString::fromUtf8(name), QStringLiteral("r")), Outcome::Done) << name;
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
    TemplateStore store{db, feedback};
};

} // namespace

TEST_F(TemplateStoreTest, namesAreUniqueWithoutRegardToCaseOfAnyLetter)
{
    add({"Studio", "Été"});
    EXPECT_EQ(store.add(QStringLiteral("studio"), {}), Outcome::Taken);
    EXPECT_EQ(store.add(QStringLiteral("STUDIO"), {}), Outcome::Taken);
    EXPECT_EQ(store.add(QStringLiteral("été"), {}), Outcome::Taken);
    EXPECT_EQ(store.add(QStringLiteral("  Studio 2 "), {}), Outcome::Done);
    EXPECT_EQ(store.add(QStringLiteral("   "), {}), Outcome::Empty);
    EXPECT_EQ(store.rename(QStringLiteral("Studio"), QStringLiteral("STUDIO")), Outcome::Taken);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Studio"), QStringLiteral("Studio 2"), QStringLiteral("Été")}));
    EXPECT_TRUE(feedback.messages.empty());
}

TEST_F(TemplateStoreTest, wildcardsInNamesHitOnlyTheTemplateMeant)
{
    add({"abc", "a_c", "50%", "500 prints", "back\\slash", "backXslash", "Client's set"});
    EXPECT_EQ(store.add(QStringLiteral("A_C"), {}), Outcome::Taken);
    EXPECT_EQ(store.add(QStringLiteral("5%"), {}), Outcome::Done); // "5%" is not "50%" nor a pattern
    ASSERT_TRUE(store.markInUse(QStringLiteral("50%"), true));
    EXPECT_EQ(ticked(), QStringList{QStringLiteral("50%")});
    ASSERT_TRUE(store.remove(QStringLiteral("a_c")));
    ASSERT_TRUE(store.remove(QStringLiteral("back\\slash")));
    ASSERT_TRUE(store.remove(QStringLiteral("client's SET"))); // apostrophes doubled, case ignored
    EXPECT_EQ(names(), (QStringList{QStringLiteral("5%"), QStringLiteral("50%"), QStringLiteral("500 prints"),
                                    QStringLiteral("abc"), QStringLiteral("backXslash")}));
    EXPECT_EQ(store.load(QStringLiteral("50%"))->name, u"50%");
    EXPECT_FALSE(store.load(QStringLiteral("5_%")).has_value());
}

TEST_F(TemplateStoreTest, countsAndRevisionDateFollowWhatWasSaved)
{
    ASSERT_EQ(store.add(QStringLiteral("A"), QStringLiteral("created")), Outcome::Done);
    TemplateRecord fresh = store.list()->front();
    EXPECT_EQ(fresh.fieldCount(), 0);
    EXPECT_EQ(fresh.customizedCount(), 0);
    EXPECT_EQ(fresh.lastRevisionDate, u"created");
    EXPECT_FALSE(fresh.ticked());

    ASSERT_EQ(store.rename(QStringLiteral("A"), QStringLiteral("B")), Outcome::Done);
    ASSERT_TRUE(store.markInUse(QStringLiteral("B"), true));
    EXPECT_EQ(store.list()->front().lastRevisionDate, u"created"); // renaming and ticking keep it

    TemplateValues values;
    values.fields[0] = QStringLiteral("object");
    values.fields[30] = QString(2000, u'c'); // stored whole, as the file will hold it
    values.customized[1] = {QStringLiteral("200"), QStringLiteral("x")};
    values.customized[2] = {QStringLiteral("201"), QString()}; // incomplete rows are not kept
    ASSERT_TRUE(store.save(QStringLiteral("B"), values, QStringLiteral("saved")));
    const TemplateRecord saved = store.list()->front();
    EXPECT_EQ(saved.fieldCount(), 2);
    EXPECT_EQ(saved.customizedCount(), 1);
    EXPECT_EQ(saved.fields[30].size(), 2000);
    EXPECT_EQ(saved.lastRevisionDate, u"saved");
}

TEST_F(TemplateStoreTest, tickingMakesTheOnlyTemplateInUseAndUntickingLeavesNone)
{
    add({"A", "B"});
    ASSERT_TRUE(store.markInUse(QStringLiteral("A"), true));
    ASSERT_TRUE(store.markInUse(QStringLiteral("B"), true));
    EXPECT_EQ(ticked(), QStringList{QStringLiteral("B")});
    EXPECT_EQ(store.inUse().record->name, u"B");
    ASSERT_TRUE(store.markInUse(QStringLiteral("B"), false));
    EXPECT_TRUE(ticked().isEmpty());
    const TemplateStore::InUse none = store.inUse();
    EXPECT_TRUE(none.ok);
    EXPECT_FALSE(none.record.has_value());
}

TEST_F(TemplateStoreTest, saveStatementHasTheFixedShape)
{
    TemplateValues values;
    values.fields[0] = QStringLiteral("a'b");
    values.customized[15] = {QStringLiteral("200"), QStringLiteral("v/w")};
    const QString statement = templatesTable::saveStatement(QStringLiteral("T'1"), values, QStringLiteral("now"));
    EXPECT_TRUE(statement.startsWith(QStringLiteral("Update Templates set ObjectName='a''b',EditStatus='',")));
    EXPECT_TRUE(statement.contains(QStringLiteral(",ImageType='',Customized1='',")));
    EXPECT_TRUE(statement.endsWith(QStringLiteral("Customized16='200/v/w',LastRevisionDate='now' where(Name = 'T''1');")));
}

TEST_F(TemplateStoreTest, failuresAreReportedWithTheirMessages)
{
    db.path = folder.file(QStringLiteral("missing/Images.db"));
    EXPECT_FALSE(store.list().has_value());
    EXPECT_EQ(store.add(QStringLiteral("A"), {}), Outcome::Failed);
    ASSERT_EQ(feedback.messages.size(), 2u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("Cannot open '")));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);

    feedback.messages.clear();
    db.path = folder.file(QStringLiteral("Images.db"));
    db.open();
    db.execute(QStringLiteral("drop table Templates;"));
    db.close();
    EXPECT_FALSE(store.inUse().ok);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("Cannot get data\n")));
}

TEST_F(TemplateStoreTest, valueItsDatasetCannotHoldIsRefusedAndTheTemplateKeepsItsValues)
{
    add({"A"});
    TemplateValues kept;
    kept.fields[kCityIndex] = QStringLiteral("Quimper");
    ASSERT_TRUE(store.save(QStringLiteral("A"), kept, QStringLiteral("r")));
    const QString cjk(1, QChar(0x65E5));
    const std::pair<int, QString> refused[] = {{kCaptionIndex, cjk.repeated(1200)}, // 3,600 bytes
                                                {kCaptionIndex, QString(2001, u'c')},
                                                {kKeywordsIndex, QStringLiteral("a; ") + QString(256, u'k')}};
    for (const auto &[index, value] : refused) {
        feedback.messages.clear();
        TemplateValues values = kept;
        values.fields[std::size_t(index)] = value;
        EXPECT_FALSE(store.save(QStringLiteral("A"), values, QStringLiteral("later")));
        ASSERT_EQ(feedback.messages.size(), 1u);
        EXPECT_TRUE(feedback.messages[0].text.startsWith(QStringLiteral("Cannot update data\n")));
    }
    TemplateValues customized = kept;
    customized.customized[0] = {QStringLiteral("200"), QString(256, u's')};
    EXPECT_FALSE(store.save(QStringLiteral("A"), customized, QStringLiteral("later")));
    EXPECT_EQ(store.list()->front().fields[kCityIndex], u"Quimper");
    EXPECT_EQ(store.list()->front().lastRevisionDate, u"r");
}
