// A template whose texts hold variables: refused when saved with one a run cannot expand, its
// limits held to its fixed text when saved and to what each image gets when applied, and each
// image's values expanded before the merge rules, in every mode.
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/ProcessIptc.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateVariables.h"
#include "core/catalogue/ScanTestSupport.h"
#include "core/catalogue/SqlText.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcTestBytes.h"

#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::test::iptcbytes;

namespace {

std::string str(const QString &text) { return text.toStdString(); }

const int kCountryCodeIndex = iptcIndex("CountryCode");

// A JPEG of the given size with its start-of-frame segment, and IPTC when datasets are given.
QByteArray sizedJpeg(int width, int height, const QByteArray &datasets = {})
{
    const QByteArray frame = QByteArray(1, '\x08') + bigEndian16(height) + bigEndian16(width) + QByteArray("\x01\x01\x11\x00", 4);
    QList<QByteArray> segments{app0()};
    if (!datasets.isEmpty())
        segments << app13(resource(0x0404, datasets));
    segments << segment(0xC0, frame);
    return jpeg(segments);
}

// City, Caption, Keywords and a customized dataset named by variables.
TemplateRecord variableTemplate()
{
    TemplateRecord templ;
    templ.fields[kCityIndex] = QStringLiteral("{Folder}");
    templ.fields[kCaptionIndex] = QStringLiteral("{FileBase} #{Seq:3} in {City}, {{draft}}");
    templ.fields[kKeywordsIndex] = QStringLiteral("{FileBase}; fixed");
    templ.fields[kCreditIndex] = QStringLiteral("Desk");
    templ.customized[0] = QStringLiteral("200/{Width}x{Height}");
    return templ;
}

MergeRequest requestFor(const TemplateRecord &templ, MergeMode mode, ValueLimits limits = ValueLimits::Write)
{
    MergeRequest request;
    request.templ = templ;
    request.mode = mode;
    request.expansion = std::make_shared<const TemplateExpansion>(templ, limits);
    return request;
}

} // namespace

TEST(TemplateTexts, theFirstTextThatCannotBeExpandedIsNamedFieldsFirst)
{
    TemplateValues values;
    values.fields[kCaptionIndex] = QStringLiteral("{FileBase} {{ok}}");
    values.customized[2] = {QStringLiteral("200"), QStringLiteral("{Nope}")};
    const std::optional<TemplateTextProblem> customized = firstTemplateTextProblem(values);
    ASSERT_TRUE(customized);
    EXPECT_EQ(customized->fieldIndex, kCustomizedIndex);
    EXPECT_EQ(customized->customizedRow, 2);
    EXPECT_EQ(str(customized->problem.written), "{Nope}");

    values.fields[kCityIndex] = QStringLiteral("{Town");
    const std::optional<TemplateTextProblem> field = firstTemplateTextProblem(values);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->fieldIndex, kCityIndex);
    EXPECT_EQ(field->problem.kind, VariableProblem::Kind::UnclosedBrace);
    EXPECT_TRUE(templateTextProblemText(*field, QStringLiteral("City"), nullptr).startsWith(QStringLiteral("City: {Town")));

    values = TemplateValues{};
    values.fields[kCaptionIndex] = QStringLiteral("no braces at all");
    EXPECT_FALSE(firstTemplateTextProblem(values));
}

TEST(TemplateTexts, theSaveHoldsTheFixedTextToTheLimits)
{
    TemplateValues values;
    values.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("{Folder}"); // three characters in the dialog
    EXPECT_FALSE(templateValueOverLimit(values, ValueLimits::DialogAndWrite));
    values.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("FRA{Seq}");
    EXPECT_FALSE(templateValueOverLimit(values, ValueLimits::DialogAndWrite));
    values.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("FRAN{Seq}");
    const std::optional<ValueOverLimit> over = templateValueOverLimit(values, ValueLimits::DialogAndWrite);
    ASSERT_TRUE(over);
    EXPECT_EQ(over->fieldIndex, kCountryCodeIndex);
    EXPECT_EQ(over->bytes, 4);
    // Doubled braces count as the one brace each writes.
    values.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("{{x}}");
    EXPECT_FALSE(templateValueOverLimit(values, ValueLimits::DialogAndWrite)); // "{x}"
    values.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("{{xy}");
    EXPECT_TRUE(templateValueOverLimit(values, ValueLimits::DialogAndWrite)); // "{xy}"
}

TEST(TemplateTexts, theStoreRefusesATextARunCouldNotExpand)
{
    ScanFixture scan;
    TemplateStore store(scan.db, scan.feedback);
    ASSERT_EQ(store.add(QStringLiteral("T"), QStringLiteral("now")), TemplateStore::NameOutcome::Done);
    TemplateValues values;
    values.fields[kCaptionIndex] = QStringLiteral("{Town}");
    scan.feedback.messages.clear();
    EXPECT_FALSE(store.save(QStringLiteral("T"), values, QStringLiteral("later")));
    ASSERT_EQ(scan.feedback.messages.size(), 1u);
    EXPECT_TRUE(scan.feedback.texts().join(u'\n').contains(QStringLiteral("Caption: {Town}")));
    EXPECT_TRUE(store.load(QStringLiteral("T"))->fields[kCaptionIndex].isEmpty());
    values.fields[kCaptionIndex] = QStringLiteral("{FileBase}");
    EXPECT_TRUE(store.save(QStringLiteral("T"), values, QStringLiteral("later")));
    EXPECT_EQ(str(store.load(QStringLiteral("T"))->fields[kCaptionIndex]), "{FileBase}");
}

TEST(TemplateExpansionOfAnImage, variablesMeetTheMergeRulesOfEachMode)
{
    TempFolder folder;
    const QByteArray image = sizedJpeg(320, 200, dataset2(90, "Lyon") + dataset2(120, "old caption"));
    struct Case
    {
        MergeMode mode;
        const char *city;
        const char *caption;
        const char *keywords;
    };
    const Case cases[] = {
        {MergeMode::KeepOriginal, "Lyon", "old caption", "IMG_7; fixed"},
        {MergeMode::OverwriteNonEmpty, "Trip", "IMG_7 #042 in Lyon, {draft}", "IMG_7; fixed"},
        {MergeMode::OverwriteAll, "Trip", "IMG_7 #042 in Lyon, {draft}", "IMG_7; fixed"},
    };
    for (const Case &c : cases) {
        const QString path = folder.write(QStringLiteral("Trip/IMG_7.jpg"), image);
        const ProcessResult result = processIptc(path, requestFor(variableTemplate(), c.mode), {}, false, nullptr, 42);
        ASSERT_EQ(result.status, ProcessResult::Status::Written) << str(result.reason);
        const IptcReadResult read = readImageIptc(path, QStringLiteral("Field"));
        EXPECT_EQ(str(read.fields.values[kCityIndex]), c.city) << int(c.mode);
        EXPECT_EQ(str(read.fields.values[kCaptionIndex]), c.caption) << int(c.mode); // {City} as before the run
        EXPECT_EQ(str(read.fields.values[kKeywordsIndex]), c.keywords) << int(c.mode);
        EXPECT_EQ(str(read.fields.values[kCreditIndex]), "Desk");
        ASSERT_EQ(read.fields.slots[0].number, 200);
        EXPECT_EQ(str(read.fields.slots[0].value), "320x200");
    }
}

TEST(TemplateExpansionOfAnImage, aDryRunShowsTheExpandedValuesAndWritesNothing)
{
    TempFolder folder;
    const QByteArray image = sizedJpeg(64, 48);
    const QString path = folder.write(QStringLiteral("Trip/b.jpg"), image);
    const ProcessResult result = processIptc(path, requestFor(variableTemplate(), MergeMode::KeepOriginal), {}, true, nullptr, 3);
    ASSERT_EQ(result.status, ProcessResult::Status::Written);
    EXPECT_EQ(str(result.after.values[kCaptionIndex]), "b #003 in , {draft}");
    EXPECT_EQ(folder.read(QStringLiteral("Trip/b.jpg")), image);
}

TEST(TemplateExpansionOfAnImage, aValueTooLongForOneImageLeavesThatImageAlone)
{
    TempFolder folder;
    TemplateRecord templ;
    templ.fields[std::size_t(kCountryCodeIndex)] = QStringLiteral("{FileBase}");
    const QByteArray plain = sizedJpeg(8, 8);
    const QByteArray withCode = sizedJpeg(8, 8, dataset2(100, "CHE"));
    const QString longName = folder.write(QStringLiteral("Paris.jpg"), plain);
    const QString shortName = folder.write(QStringLiteral("FRA.jpg"), plain);
    const QString kept = folder.write(QStringLiteral("Berne.jpg"), withCode);
    const MergeRequest dialog = requestFor(templ, MergeMode::KeepOriginal, ValueLimits::DialogAndWrite);

    const ProcessResult refused = processIptc(longName, dialog, {}, false);
    EXPECT_EQ(refused.status, ProcessResult::Status::NotProcessed);
    EXPECT_TRUE(refused.reason.contains(QStringLiteral("CountryCode takes 5 bytes"))) << str(refused.reason);
    EXPECT_EQ(folder.read(QStringLiteral("Paris.jpg")), plain);

    EXPECT_EQ(processIptc(shortName, dialog, {}, false).status, ProcessResult::Status::Written);
    // Mode 0 does not take the value into an image that has one: nothing is too long there.
    EXPECT_EQ(processIptc(kept, dialog, {}, false).status, ProcessResult::Status::Written);
    EXPECT_EQ(str(readImageIptc(kept, QStringLiteral("Field")).fields.values[std::size_t(kCountryCodeIndex)]), "CHE");
    // Without length control the dataset's own limit applies.
    const QString again = folder.write(QStringLiteral("Paris.jpg"), plain);
    EXPECT_EQ(processIptc(again, requestFor(templ, MergeMode::KeepOriginal), {}, false).status,
              ProcessResult::Status::Written);
}

TEST(TemplateExpansionOfAnImage, aTemplateWithoutNotationsIsTakenAsItIs)
{
    TemplateRecord templ;
    templ.fields[kCaptionIndex] = QStringLiteral("A caption = with {{no}} variables"); // braces: changes
    EXPECT_TRUE(TemplateExpansion(templ, ValueLimits::Write).changesTexts());
    templ.fields[kCaptionIndex] = QStringLiteral("A caption = with no variables");
    templ.customized[0] = QStringLiteral("200/plain");
    const TemplateExpansion plain(templ, ValueLimits::Write);
    EXPECT_FALSE(plain.changesTexts());
    EXPECT_FALSE(plain.problem());
}

namespace {

class ApplyVariablesTest : public ::testing::Test
{
protected:
    std::vector<ResultRow> rows()
    {
        std::vector<ResultRow> found;
        for (const QStringList &row : scan.rows(QStringLiteral("select Folder, File from Images order by File;")))
            found.push_back({row[0], row[1], {}});
        return found;
    }
    // Stored as another program could, past the store's check.
    void storeTemplate(const QString &caption)
    {
        TemplateStore store(scan.db, scan.feedback);
        ASSERT_EQ(store.add(QStringLiteral("T"), QStringLiteral("now")), TemplateStore::NameOutcome::Done);
        ASSERT_TRUE(store.markInUse(QStringLiteral("T"), true));
        ASSERT_TRUE(scan.db.open());
        ASSERT_EQ(scan.db.execute(QStringLiteral("update Templates set Caption=%1;").arg(sqlText(caption))), 0);
        scan.db.close();
    }

    ScanFixture scan;
    RecordingFeedback feedback;
};

} // namespace

TEST_F(ApplyVariablesTest, eachImageGetsItsRankInTheResult)
{
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        scan.write(QLatin1String(name), sizedJpeg(10, 10));
    scan.scanFolder(scan.root);
    storeTemplate(QStringLiteral("{Seq:2} of {File}"));
    const ApplySummary summary = runApplyTemplate(scan.db, feedback, rows(), ApplyOptions{}, nullptr);
    EXPECT_EQ(summary.processed, 3);
    EXPECT_EQ(str(readImageIptc(scan.root + QStringLiteral("c.jpg"), {}).fields.values[kCaptionIndex]), "03 of c.jpg");
    EXPECT_EQ(scan.rows(QStringLiteral("select Caption from Images order by File;")),
              (std::vector<QStringList>{{QStringLiteral("01 of a.jpg")}, {QStringLiteral("02 of b.jpg")},
                                        {QStringLiteral("03 of c.jpg")}}));
}

TEST_F(ApplyVariablesTest, aStoredTemplateWithAnUnknownVariableIsRefusedBeforeAnyFile)
{
    const QByteArray image = sizedJpeg(10, 10);
    scan.write(QStringLiteral("a.jpg"), image);
    scan.scanFolder(scan.root);
    storeTemplate(QStringLiteral("in {Town}"));
    const ApplySummary summary = runApplyTemplate(scan.db, feedback, rows(), ApplyOptions{}, nullptr);
    EXPECT_FALSE(summary.ran);
    EXPECT_EQ(summary.processed, 0);
    EXPECT_EQ(scan.folder.read(QStringLiteral("photos/a.jpg")), image);
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.texts().join(u'\n').contains(QStringLiteral("Caption: {Town}"))) << str(feedback.texts().join(u'\n'));
}
