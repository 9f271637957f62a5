// The merge of a template into an image's values: every row of the merge table, the keyword
// options, the supplemental-category split and the customized slots.
#include "core/captioning/MergeTemplate.h"

#include <gtest/gtest.h>

using namespace zelvarion;

namespace {

constexpr int kCity = 20;
constexpr int kCaption = 30;
constexpr int kCategory = kSupplementalCategoryIndex;

WorkingValues image(std::initializer_list<std::pair<int, QString>> values, QStringList keywords = {})
{
    WorkingValues working;
    for (const auto &[index, value] : values)
        working.fields.values[std::size_t(index)] = value;
    working.keywords = keywords;
    working.fields.values[kKeywordsIndex] = keywords.join(QStringLiteral("; "));
    return working;
}

TemplateRecord templ(std::initializer_list<std::pair<int, QString>> values)
{
    TemplateRecord record;
    for (const auto &[index, value] : values)
        record.fields[std::size_t(index)] = value;
    return record;
}

WorkingValues merged(WorkingValues working, const TemplateRecord &t, MergeMode mode,
                     KeywordOption option = KeywordOption::None)
{
    mergeTemplate(working, t, mode, option, QStringLiteral("Field"));
    return working;
}

QStringList list(std::initializer_list<const char *> entries)
{
    QStringList result;
    for (const char *entry : entries)
        result << QString::fromUtf8(entry);
    return result;
}

} // namespace

TEST(MergeTemplateFields, eachModeTakesWhatItsRowSays)
{
    struct Case { MergeMode mode; const char *imageValue; const char *templateValue; const char *expected; };
    const Case cases[] = {
        {MergeMode::KeepOriginal, "A", "B", "A"},
        {MergeMode::KeepOriginal, "", "B", "B"},
        {MergeMode::KeepOriginal, "A", "", "A"},
        {MergeMode::OverwriteNonEmpty, "Lyon", "", "Lyon"},
        {MergeMode::OverwriteNonEmpty, "Lyon", "Paris", "Paris"},
        {MergeMode::OverwriteNonEmpty, "", "", ""},
        {MergeMode::OverwriteAll, "Lyon", "", ""},
        {MergeMode::OverwriteAll, "Lyon", "Paris", "Paris"},
    };
    for (const Case &c : cases) {
        const WorkingValues result = merged(image({{kCity, QString::fromUtf8(c.imageValue)}}),
                                            templ({{kCity, QString::fromUtf8(c.templateValue)}}), c.mode);
        EXPECT_EQ(result.fields.values[kCity], QString::fromUtf8(c.expected))
            << int(c.mode) << " " << c.imageValue << "/" << c.templateValue;
    }
}

TEST(MergeTemplateKeywords, optionsAndModesDecideTheList)
{
    struct Case {
        const char *name;
        MergeMode mode;
        KeywordOption option;
        QStringList imageKeywords;
        const char *templateKeywords;
        QStringList expected;
    };
    const Case cases[] = {
        {"mode 1 without option keeps the image's", MergeMode::OverwriteNonEmpty, KeywordOption::None,
         list({"a", "b"}), "c", list({"a", "b"})},
        {"add skips exact twins, keeps other case", MergeMode::KeepOriginal, KeywordOption::Add,
         list({"a", "b"}), "b; c; c; B", list({"a", "b", "c", "B"})},
        {"remove takes the first equal entry", MergeMode::OverwriteNonEmpty, KeywordOption::Remove,
         list({"a", "b", "a"}), "a", list({"b", "a"})},
        {"neither on an image without keywords keeps twins", MergeMode::KeepOriginal, KeywordOption::None,
         {}, " x ;; x ", list({"x", "x"})},
        {"mode 2 with empty template empties the list", MergeMode::OverwriteAll, KeywordOption::None,
         list({"a"}), "", {}},
        {"mode 2 ignores the add option", MergeMode::OverwriteAll, KeywordOption::Add,
         list({"a"}), "b", list({"b"})},
        {"an empty template never adds or removes", MergeMode::OverwriteNonEmpty, KeywordOption::Remove,
         list({"a"}), "", list({"a"})},
    };
    for (const Case &c : cases) {
        const WorkingValues result = merged(image({}, c.imageKeywords),
                                            templ({{kKeywordsIndex, QString::fromUtf8(c.templateKeywords)}}),
                                            c.mode, c.option);
        EXPECT_EQ(result.keywords, c.expected) << c.name;
        EXPECT_EQ(result.fields.values[kKeywordsIndex], c.expected.join(QStringLiteral("; "))) << c.name;
    }
}

TEST(MergeTemplateCategories, takenCategoriesSplitAsTheTemplateTextSays)
{
    EXPECT_EQ(templateCategoryEntries(QStringLiteral("s1 ;s2")), list({"s1 ", "s2"}));
    EXPECT_EQ(templateCategoryEntries(QStringLiteral("a;  ;b; b ;")), list({"a", "b", "b "})); // only the rest is trimmed
    EXPECT_TRUE(templateCategoryEntries(QString()).isEmpty());

    WorkingValues working = image({{kCategory, QStringLiteral("old")}});
    working.supplementalCategories = list({"old"});
    const WorkingValues kept = merged(working, templ({{kCategory, QStringLiteral("new")}}), MergeMode::KeepOriginal);
    EXPECT_EQ(kept.supplementalCategories, list({"old"}));
    const WorkingValues taken = merged(working, templ({{kCategory, QStringLiteral("s1 ;s2")}}), MergeMode::OverwriteNonEmpty);
    EXPECT_EQ(taken.supplementalCategories, list({"s1 ", "s2"}));
    EXPECT_EQ(taken.fields.values[kCategory], u"s1 ; s2");
}

TEST(MergeTemplateCustomized, slotsComeFromTheTemplateOnlyInModeTwoOrWhenTheImageHasNone)
{
    TemplateRecord t;
    t.customized[2] = QStringLiteral("200/Box 12/B");
    t.customized[5] = QStringLiteral("no slash");
    t.customized[6] = QStringLiteral("25/a catalogue number");
    t.customized[7] = QStringLiteral("201/");

    const WorkingValues fromTemplate = merged(image({}), t, MergeMode::KeepOriginal);
    EXPECT_EQ(fromTemplate.fields.slots[2].number, 200);
    EXPECT_EQ(fromTemplate.fields.slots[2].value, u"Box 12/B");
    EXPECT_EQ(fromTemplate.fields.slots[5].number, -1);
    EXPECT_EQ(fromTemplate.fields.slots[6].number, -1);
    EXPECT_EQ(fromTemplate.fields.slots[7].number, 201); // an empty value writes nothing
    EXPECT_EQ(fromTemplate.fields.values[kCustomizedIndex], u"Field 200: Box 12/B\r\nField 201: ");

    WorkingValues withOwn = image({{kCustomizedIndex, QStringLiteral("Field 300: x\r\n")}});
    withOwn.fields.slots[0] = {230, QStringLiteral("x")};
    withOwn.moreCustomized = {{231, QStringLiteral("beyond")}};
    for (MergeMode mode : {MergeMode::KeepOriginal, MergeMode::OverwriteNonEmpty}) {
        const WorkingValues kept = merged(withOwn, t, mode);
        EXPECT_EQ(kept.fields.slots[0].number, 230);
        EXPECT_EQ(kept.moreCustomized.size(), 1u);
    }
    const WorkingValues replaced = merged(withOwn, t, MergeMode::OverwriteAll);
    EXPECT_EQ(replaced.fields.slots[0].number, -1);
    EXPECT_TRUE(replaced.moreCustomized.empty());
    EXPECT_EQ(replaced.fields.slots[2].number, 200);
}
