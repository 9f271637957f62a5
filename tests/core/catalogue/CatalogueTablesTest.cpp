#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueTables.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using zelvarion::test::RecordingFeedback;
using zelvarion::test::TempFolder;

namespace {

QString q(const char *text) { return QString::fromUtf8(text); }

// Catalogues in the field were created with exactly these statements; a produced statement that
// differs by one character would make a new catalogue unlike every existing one.
TEST(CatalogueTables, schemaStatementsAreTheOnesEveryCatalogueWasCreatedWith)
{
    EXPECT_EQ(createImagesTableStatement(),
              q("create table Images(Folder,File,ObjectName,EditStatus,Urgency,Category,SupplementalCategory,"
                "FixtureIdentifier,Keywords,ReleaseDate,ReleaseTime,SpecialInstructions,ReferenceService,"
                "ReferenceDate,ReferenceNumber,CreatedDate,CreatedTime,OriginatingProgram,ProgramVersion,"
                "ObjectCycle,Byline,BylineTitle,City,ProvinceState,CountryCode,Country,"
                "OriginalTransmissionReference,Headline,Credit,Contact,Source,Copyright,Caption,LocalCaption,"
                "CaptionWriter,ImageType,Customized,FileCreationDate,FileCreationTime,FileLastWriteDate,"
                "FileLastWriteTime,FileSize,LastRevisionDate,LastRevisionTime,SupportIPTC,Width,Height,"
                "CheckMark);"));
    EXPECT_EQ(createImagesAllIptcIndexStatement(),
              q("create index IndexImagesAllIPTC on Images(ObjectName,EditStatus,Urgency,Category,"
                "SupplementalCategory,FixtureIdentifier,Keywords,ReleaseDate,ReleaseTime,"
                "SpecialInstructions,ReferenceService,ReferenceDate,ReferenceNumber,CreatedDate,"
                "CreatedTime,OriginatingProgram,ProgramVersion,ObjectCycle,Byline,BylineTitle,City,"
                "ProvinceState,CountryCode,Country,OriginalTransmissionReference,Headline,Credit,"
                "Contact,Source,Copyright,Caption,LocalCaption,CaptionWriter,ImageType,Customized);"));
    EXPECT_EQ(createTemplatesTableStatement(),
              q("create table Templates(Name,Status,ObjectName,EditStatus,Urgency,Category,"
                "SupplementalCategory,FixtureIdentifier,Keywords,ReleaseDate,ReleaseTime,SpecialInstructions,"
                "ReferenceService,ReferenceDate,ReferenceNumber,CreatedDate,CreatedTime,OriginatingProgram,"
                "ProgramVersion,ObjectCycle,Byline,BylineTitle,City,ProvinceState,CountryCode,Country,"
                "OriginalTransmissionReference,Headline,Credit,Contact,Source,Copyright,Caption,LocalCaption,"
                "CaptionWriter,ImageType,Customized1,Customized2,Customized3,Customized4,Customized5,"
                "Customized6,Customized7,Customized8,Customized9,Customized10,Customized11,Customized12,"
                "Customized13,Customized14,Customized15,Customized16,LastRevisionDate);"));
    EXPECT_EQ(resultListColumnList(), q("Folder,File,CheckMark"));
}

class CatalogueTablesInFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.path = folder.file(q("Images.db"));
        ASSERT_TRUE(createCatalogueSchema(db, feedback, {}));
        ASSERT_TRUE(db.open());
    }

    TempFolder folder;
    CatalogueDb db;
    RecordingFeedback feedback;
};

// Every cell is written by position and read back by name: a column list out of step with the
// insert would put a value under the wrong name.
TEST_F(CatalogueTablesInFile, insertedRowLandsUnderTheColumnsItWasAddressedBy)
{
    ImagesRow written;
    for (int number = 0; number < kImagesColumnCount; ++number)
        written[ImagesColumn(number)] = QStringLiteral("it's %1").arg(imagesColumnName(ImagesColumn(number)));
    ASSERT_EQ(db.execute(insertImagesRowStatement(written)), 0) << db.errorText().toStdString();

    for (int number = 0; number < kImagesColumnCount; ++number) {
        const QString name = imagesColumnName(ImagesColumn(number));
        ASSERT_EQ(db.execute(QStringLiteral("select %1 from Images;").arg(name)), 0);
        EXPECT_EQ(db.cell(0, 1), written[ImagesColumn(number)]) << name.toStdString();
    }
    ASSERT_EQ(db.execute(q("select * from Images;")), 0);
    QStringList cells;
    for (int column = 0; column < db.columnCount(); ++column)
        cells << db.cell(column, 1);
    const ImagesRow read(cells);
    for (int i = 0; i < kIptcFieldCount; ++i)
        EXPECT_EQ(read[imagesColumnOfField(i)], QStringLiteral("it's ") + QLatin1String(iptcField(i).column));
    EXPECT_EQ(read[ImagesColumn::CheckMark], q("it's CheckMark"));
}

TEST_F(CatalogueTablesInFile, columnNamesMatchTheTablesTheSchemaCreates)
{
    ASSERT_EQ(db.execute(q("select * from Images;")), 0);
    QStringList images;
    for (int column = 0; column < db.columnCount(); ++column)
        images << db.cell(column, 0);
    EXPECT_EQ(images, imagesColumnNames());

    ASSERT_EQ(db.execute(q("select * from Templates;")), 0);
    QStringList templates;
    for (int column = 0; column < db.columnCount(); ++column)
        templates << db.cell(column, 0);
    EXPECT_EQ(templates, templatesColumnNames());
}

TEST(CatalogueTables, templateColumnsFollowTheFieldCatalogueAndTheSlots)
{
    for (int i = 0; i < kCustomizedIndex; ++i)
        EXPECT_EQ(templatesColumnName(templatesColumnOfField(i)), QLatin1String(iptcField(i).column)) << i;
    EXPECT_EQ(templatesColumnName(templatesColumnOfSlot(0)), q("Customized1"));
    EXPECT_EQ(templatesColumnName(templatesColumnOfSlot(kCustomizedSlotCount - 1)), q("Customized16"));
    EXPECT_EQ(templatesColumnName(TemplatesColumn::LastRevisionDate), q("LastRevisionDate"));
    for (int i = 0; i < kIptcFieldCount; ++i)
        EXPECT_EQ(imagesColumnName(imagesColumnOfField(i)), QLatin1String(iptcField(i).column)) << i;
}

TEST(CatalogueTables, shortRowReadsAsEmptyCellsAndLongerRowIsCutToTheTable)
{
    const ImagesRow shortRow(QStringList{q("/photos/"), q("a.jpg")});
    EXPECT_EQ(shortRow[ImagesColumn::File], q("a.jpg"));
    EXPECT_TRUE(shortRow[ImagesColumn::CheckMark].isEmpty());
    QStringList cells(kImagesColumnCount + 3, q("x"));
    cells[kImagesColumnCount - 1] = q("mark");
    EXPECT_EQ(ImagesRow(cells)[ImagesColumn::CheckMark], q("mark"));
}

} // namespace
