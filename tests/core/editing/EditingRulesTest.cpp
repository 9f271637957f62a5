// The edit dialog's value rules: dates and times in the user's formats and back, length limits,
// customized numbers, the urgency and cycle lists.
#include "core/editing/EditDates.h"
#include "core/editing/FieldRules.h"
#include "core/iptc/IptcField.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::editing;

namespace {

const QLocale kFrench(QLocale::French, QLocale::France);
const QLocale kAmerican(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

} // namespace

TEST(EditDates, storedDatesShowInTheUserFormatAndComeBackUnchanged)
{
    EXPECT_EQ(dateForDisplay(QStringLiteral("20050422"), kFrench), u"22/04/2005");
    EXPECT_EQ(storedDate(QStringLiteral("22/04/2005"), kFrench), u"20050422");
    for (const QLocale &locale : {kFrench, kAmerican, kGerman}) {
        for (const char *stored : {"20050422", "19991231", "20480101", "18500601"}) {
            const QString shown = dateForDisplay(QString::fromLatin1(stored), locale);
            EXPECT_EQ(storedDate(shown, locale), QString::fromLatin1(stored)) << locale.name().toStdString() << stored;
        }
    }
    EXPECT_TRUE(dateForDisplay(QStringLiteral("20051345"), kFrench).isEmpty());
    EXPECT_EQ(dateForDisplay(QStringLiteral("2005"), kFrench), u"2005"); // not eight digits: as it is
}

TEST(EditDates, typedDatesInOtherFormsAndTextsThatAreNoDate)
{
    EXPECT_EQ(storedDate(QStringLiteral("4/22/05"), kAmerican), u"20050422"); // the locale's own two-digit year
    EXPECT_EQ(storedDate(QStringLiteral("4/22/75"), kAmerican), u"19750422");
    EXPECT_EQ(storedDate(QStringLiteral("20050422"), kGerman), u"20050422");
    for (const char *text : {"31/02/2005", "hello", "22/04", "2005-13-01"})
        EXPECT_TRUE(storedDate(QString::fromLatin1(text), kFrench).isEmpty()) << text;
    EXPECT_FALSE(parseDate(QString(), kFrench).has_value());
}

TEST(EditDates, timesKeepTheirSecondsAndDropAZoneOffset)
{
    EXPECT_EQ(storedTime(QStringLiteral("14:30"), kFrench), u"143000");
    for (const QLocale &locale : {kFrench, kAmerican, kGerman}) {
        EXPECT_EQ(storedTime(timeForDisplay(QStringLiteral("143015"), locale), locale), u"143015") << locale.name().toStdString();
        EXPECT_EQ(storedTime(timeForDisplay(QStringLiteral("143000+0100"), locale), locale), u"143000");
    }
    EXPECT_EQ(storedTime(QStringLiteral("2:30 PM"), kAmerican), u"143000");
    EXPECT_TRUE(timeForDisplay(QStringLiteral("256000"), kFrench).isEmpty());
    EXPECT_EQ(timeForDisplay(QStringLiteral("1430"), kFrench), u"1430"); // five characters or fewer: as it is
    EXPECT_TRUE(storedTime(QStringLiteral("25:00"), kFrench).isEmpty());
}

// The form a box says it expects is one it accepts: the example in it reads back as its date.
TEST(EditDates, shownFormsNameTheFieldsOfTheLocaleInTheUsersLetters)
{
    EXPECT_EQ(shownDateForm(kFrench, QStringLiteral("jma")), u"jj/mm/aaaa");
    EXPECT_EQ(shownDateForm(kAmerican, QStringLiteral("dmy")), u"m/d/yyyy");
    EXPECT_EQ(shownDateForm(kGerman, QString()), u"dd.mm.yyyy"); // letters missing: the English ones
    EXPECT_EQ(shownTimeForm(kFrench), u"hh:mm:ss");
    for (const QLocale &locale : {kFrench, kAmerican, kGerman}) {
        const QString example = dateText(QDate(2026, 6, 21), locale);
        EXPECT_EQ(storedDate(example, locale), u"20260621") << locale.name().toStdString();
    }
    EXPECT_EQ(storedDate(QStringLiteral("21/06/2026"), kFrench), u"20260621");
}

TEST(EditDates, revisionStampIsDateBlankTime)
{
    EXPECT_EQ(revisionStamp(QDateTime(QDate(2005, 4, 22), QTime(14, 30)), kFrench), u"22/04/2005 14:30:00");
}

TEST(FieldRules, limitsAreTheLowerOfDialogAndWriteLimitsExceptForTheLists)
{
    EXPECT_FALSE(exceededLimit(0, QString(64, u'x')).has_value());
    EXPECT_EQ(exceededLimit(0, QString(65, u'x'))->limit, 64);
    EXPECT_EQ(exceededLimit(31, QString(513, u'x'))->limit, 512); // LocalCaption: a file holds 512
    EXPECT_EQ(exceededLimit(25, QString(256, u'x'))->limit, 255); // Headline
    EXPECT_FALSE(exceededLimit(kKeywordsIndex, QString(500, u'x')).has_value());
    EXPECT_EQ(entryExceedsLimit(kKeywordsIndex, QString(65, u'x'))->limit, 64);
    EXPECT_FALSE(exceededLimit(kCustomizedIndex, QString(5000, u'x')).has_value());
    EXPECT_EQ(tooLongMessage(QStringLiteral("# is too long: at most % characters."), QStringLiteral("Object Name"), 64),
              u"Object Name is too long: at most 64 characters.");
}

TEST(FieldRules, limitsCountTheBytesTheFileWillHold)
{
    using iptctext::Charset;
    const QString cjk(1, QChar(0x65E5));
    const QString message15 = QStringLiteral("# is too long: at most % characters.");
    const QString message51 = QStringLiteral("# is too long: it takes $ bytes in the file, at most %.");
    struct Case
    {
        int index;
        QString text;
        Charset charset;
        std::optional<qsizetype> bytes; // nothing: within the limit
    };
    const Case cases[] = {
        {30, cjk.repeated(666), Charset::Utf8, std::nullopt},
        {30, cjk.repeated(667), Charset::Utf8, 2001},
        {30, cjk.repeated(1200), Charset::Utf8, 3600},
        {30, QString(2000, QChar(0xE9)), Charset::Windows1252, std::nullopt},
        {30, QString(1001, QChar(0xE9)), Charset::Utf8, 2002},
        {kCityIndex, QString::fromUtf8("Besançon"), Charset::Utf8, std::nullopt},
        {kCityIndex, cjk.repeated(11), Charset::Utf8, 33},
    };
    for (const Case &c : cases) {
        const std::optional<LengthExcess> excess = exceededLimit(c.index, c.text, c.charset);
        ASSERT_EQ(excess.has_value(), c.bytes.has_value()) << c.index << ' ' << c.text.size();
        if (!excess)
            continue;
        EXPECT_EQ(excess->bytes, *c.bytes);
        EXPECT_EQ(tooLongMessage(message15, message51, QStringLiteral("Caption"), *excess),
                  QStringLiteral("Caption is too long: it takes %1 bytes in the file, at most %2.").arg(*c.bytes).arg(excess->limit));
    }
    EXPECT_EQ(tooLongMessage(message15, message51, QStringLiteral("City"), *exceededLimit(kCityIndex, QString(33, u'x'))),
              u"City is too long: at most 32 characters.");
}

TEST(FieldRules, customizedNumbersOfTheEditDialogAndTheNamesDialog)
{
    using V = NumberVerdict;
    struct Case { const char *number; V edit; V names; };
    const Case cases[] = {
        {"200", V::Valid, V::Valid},     {"254", V::Valid, V::Valid},    {"255", V::Invalid, V::Valid},
        {"120", V::Invalid, V::Invalid}, {"121", V::Invalid, V::Invalid}, {"122", V::Invalid, V::Invalid},
        {"25", V::Invalid, V::Invalid},  {"0", V::Invalid, V::Invalid},   {"abc", V::Invalid, V::Invalid},
        {"-3", V::Invalid, V::Invalid},  {"40000", V::Invalid, V::Invalid}, {" 201 ", V::Valid, V::Valid},
        {"1", V::Valid, V::Valid},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(checkCustomizedNumber(QString::fromLatin1(c.number), {}), c.edit) << c.number;
        EXPECT_EQ(checkNamedNumber(QString::fromLatin1(c.number), {}), c.names) << c.number;
    }
    EXPECT_EQ(checkCustomizedNumber(QStringLiteral("200"), {QStringLiteral(" 200")}), V::Duplicate);
    EXPECT_EQ(checkNamedNumber(QStringLiteral("200"), {QStringLiteral("201"), QString()}), V::Valid);
}

TEST(FieldRules, urgencyAndCycleListsRoundTrip)
{
    for (int value = 1; value <= 9; ++value)
        EXPECT_EQ(urgencyValue(urgencyEntry(QString::number(value))), QString::number(value));
    for (const char *other : {"0", "12", "x", ""})
        EXPECT_EQ(urgencyEntry(QString::fromLatin1(other)), 9) << other;
    EXPECT_TRUE(urgencyValue(9).isEmpty());
    EXPECT_EQ(cycleEntry(QStringLiteral("p")), 1);
    EXPECT_EQ(cycleEntry(QStringLiteral("ap")), 3);
    EXPECT_EQ(cycleValue(2), u"b");
    EXPECT_TRUE(cycleValue(3).isEmpty());
}

TEST(FieldRules, listsAndCopyright)
{
    EXPECT_EQ(joinedEntries({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}), u"a; b; c");
    EXPECT_TRUE(joinedEntries({}).isEmpty());
    EXPECT_TRUE(hasEntryIgnoringCase({QStringLiteral("PARIS")}, QStringLiteral("Paris")));
    EXPECT_EQ(withCopyrightSign(QStringLiteral("Agence")), u"© Agence");
    EXPECT_EQ(withCopyrightSign(QStringLiteral("©2005")), u"©2005");
}
