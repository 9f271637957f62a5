#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesSearchStatement.h"
#include "core/session/AppSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failure output for texts.
void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

using namespace zelvarion;

namespace {

const QString P = QStringLiteral("select Folder,File,CheckMark from Images");

// Written out here rather than taken from the field catalogue, so a change of column order in
// the catalogue shows up as a failing search statement.
const QStringList kColumns = {
    "ObjectName", "EditStatus", "Urgency", "Category", "SupplementalCategory",
    "FixtureIdentifier", "Keywords", "ReleaseDate", "ReleaseTime", "SpecialInstructions",
    "ReferenceService", "ReferenceDate", "ReferenceNumber", "CreatedDate", "CreatedTime",
    "OriginatingProgram", "ProgramVersion", "ObjectCycle", "Byline", "BylineTitle", "City",
    "ProvinceState", "CountryCode", "Country", "OriginalTransmissionReference", "Headline",
    "Credit", "Contact", "Source", "Copyright", "Caption", "LocalCaption", "CaptionWriter",
    "ImageType", "Customized"};

constexpr int kCity = 20;
constexpr int kCaption = 30;

QString like(const QString &column, const QString &value)
{
    return "(" + column + " like '%" + value + "%')";
}

QString likeAll(const QString &value)
{
    QStringList terms;
    for (const QString &column : kColumns)
        terms << like(column, value);
    return terms.join(" or ");
}

// The four whole-word alternatives over IPTC text, spelled out once in full by a test below.
QString ww4(const QString &column, const QString &word)
{
    const QString sep = "[ .:;,''!?\"]";
    const QString lower = "lower(" + column + ") glob('";
    return lower + "*" + sep + word + sep + "*') or " + lower + word + sep + "*') or " + lower
           + "*" + sep + word + "') or " + lower + word + "')";
}

QString ww3Path(const QString &column, const QString &word)
{
    const QString sep = "[/ .:;,''!?\"]";
    const QString lower = "lower(" + column + ") glob('";
    return lower + "*" + sep + word + sep + "*') or " + lower + word + sep + "*') or " + lower
           + "*" + sep + word + "')";
}

QString ww4All(const QString &word)
{
    QStringList terms;
    for (const QString &column : kColumns)
        terms << ww4(column, word);
    return terms.join(" or ");
}

SearchRequest generalRequest(const QString &text)
{
    SearchRequest request;
    request.text = text;
    return request;
}

SearchRequest fieldRequest(int field, const QString &text)
{
    SearchRequest request;
    request.fieldSearch = true;
    request.fieldIndex = field;
    request.text = text;
    return request;
}

// General search over Keywords and Caption only, plus the path columns.
SearchRequest chosenColumnsRequest(const QString &text)
{
    SearchRequest request = generalRequest(text);
    request.targets.allIptc = false;
    request.targets.keywords = true;
    request.targets.caption = true;
    return request;
}

const QString kWith =
    " where ((ObjectName !='') or (EditStatus != '') or (Urgency != '')"
    " or (Category != '') or (SupplementalCategory != '') or (FixtureIdentifier != '')"
    " or (Keywords != '') or (ReleaseDate !='') or (ReleaseTime !='')"
    " or (SpecialInstructions !='') or (ReferenceService !='') or (ReferenceDate !='')"
    " or (ReferenceNumber != '') or (CreatedDate != '') or (CreatedTime != '')"
    " or (OriginatingProgram != '') or (ProgramVersion != '') or (ObjectCycle != '')"
    " or (Byline != '') or (BylineTitle !='') or (City != '')"
    " or (ProvinceState != '') or (CountryCode != '') or (Country != '')"
    " or (OriginalTransmissionReference != '') or (Headline != '') or (Credit != '') or (Contact!= '')"
    " or (Source != '') or (Copyright != '') or (Caption != '')"
    " or (LocalCaption != '') or (CaptionWriter != '') or (ImageType != '') or (Customized != ''))";

const QString kWithout =
    " where ((ObjectName ='') and (EditStatus = '') and (Urgency = '')"
    " and (Category = '') and (SupplementalCategory = '') and (FixtureIdentifier = '')"
    " and (Keywords = '') and (ReleaseDate ='') and (ReleaseTime ='')"
    " and (SpecialInstructions ='') and (ReferenceService ='') and (ReferenceDate ='')"
    " and (ReferenceNumber = '') and (CreatedDate = '') and (CreatedTime = '')"
    " and (OriginatingProgram = '') and (ProgramVersion = '') and (ObjectCycle = '')"
    " and (Byline = '') and (BylineTitle ='') and (City = '')"
    " and (ProvinceState = '') and (CountryCode = '') and (Country = '')"
    " and (OriginalTransmissionReference = '') and (Headline = '') and (Credit = '') and (Contact= '')"
    " and (Source = '') and (Copyright = '') and (Caption = '')"
    " and (LocalCaption = '') and (CaptionWriter = '') and (ImageType = '') and (Customized = ''))";

struct StatementCase
{
    const char *name;
    std::function<SearchRequest()> request;
    QString expected;
};

void expectStatements(const std::vector<StatementCase> &cases)
{
    for (const StatementCase &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(buildSearchStatement(c.request()).toStdString(), c.expected.toStdString());
    }
}

} // namespace

// --- Mode table -----------------------------------------------------------------------------

TEST(SearchModes, firstMatchingModeDecidesTheStatement)
{
    expectStatements({
        {"single image doubles apostrophes and takes no tail",
         [] {
             SearchRequest r;
             r.singleImage = SingleImage{"/photos/l'été/", "d'or.jpg"};
             r.showCheckedOnly = true;
             r.revised = RevisedFilter::NeverRevised;
             r.sortIndex = 4;
             return r;
         },
         P + " where ((Folder='/photos/l''été/') and (File='d''or.jpg'));"},
        {"check-marked images outrank the presence boxes",
         [] {
             SearchRequest r = generalRequest("ignored");
             r.showCheckedOnly = true;
             r.withIptc = true;
             return r;
         },
         P + " where (CheckMark != '');"},
        {"both presence boxes list every image and ignore text and field",
         [] {
             SearchRequest r = fieldRequest(kCity, "paris");
             r.withIptc = r.withoutIptc = true;
             return r;
         },
         P + ";"},
        {"with IPTC",
         [] {
             SearchRequest r = fieldRequest(-1, "paris");
             r.withIptc = true;
             return r;
         },
         P + kWith + ";"},
        {"without IPTC", [] { SearchRequest r; r.withoutIptc = true; return r; },
         P + kWithout + ";"},
        {"field search with empty text lists non-empty values", [] { return fieldRequest(kCity, ""); },
         P + " where (City != '');"},
        {"general search", [] { return chosenColumnsRequest("car"); },
         P + " where ((Folder like '%car%') or (File like '%car%') or (Keywords like '%car%') or "
             "(Caption like '%car%'));"},
    });
}

TEST(SearchModes, refusesWhenThereIsNothingToSearch)
{
    EXPECT_EQ(searchRefusal(SearchRequest{}), SearchRefusal::NothingToSearch);
    EXPECT_TRUE(buildSearchStatement(SearchRequest{}).isEmpty());

    SearchRequest checked;
    checked.showCheckedOnly = true;
    EXPECT_EQ(searchRefusal(checked), SearchRefusal::None);
    SearchRequest single;
    single.singleImage = SingleImage{"/a/", "b.jpg"};
    EXPECT_EQ(searchRefusal(single), SearchRefusal::None);
}

TEST(SearchModes, refusesFieldSearchWithoutAValidField)
{
    for (int field : {-1, 35}) {
        SCOPED_TRACE(field);
        const SearchRequest request = fieldRequest(field, "paris");
        EXPECT_EQ(searchRefusal(request), SearchRefusal::NoFieldChosen);
        EXPECT_TRUE(buildSearchStatement(request).isEmpty());
    }
    SearchRequest presence = fieldRequest(-1, "");
    presence.withoutIptc = true; // presence boxes take precedence over the field box
    EXPECT_EQ(searchRefusal(presence), SearchRefusal::None);
}

// --- Field grammar --------------------------------------------------------------------------

TEST(FieldSearch, wholeWordGlobSpelledOutAgainstLowerCasedColumn)
{
    SearchRequest request = fieldRequest(kCity, "Paris");
    request.wholeWord = true;
    EXPECT_EQ(buildSearchStatement(request).toStdString(),
              (P + " where lower(City) glob('*[ .:;,''!?\"]paris[ .:;,''!?\"]*') or "
                   "lower(City) glob('paris[ .:;,''!?\"]*') or lower(City) glob('*[ .:;,''!?\"]paris') "
                   "or lower(City) glob('paris');")
                  .toStdString());
}

TEST(FieldSearch, composesEachCaseOfTheGrammar)
{
    auto with = [](SearchRequest r, auto change) { change(r); return r; };
    expectStatements({
        {"whole word with translation adds four more alternatives",
         [&] {
             return with(fieldRequest(kCity, "Paris"), [](SearchRequest &r) {
                 r.wholeWord = true;
                 r.op = SearchOperator::And; // ignored under whole word
                 r.useTranslation = true;
                 r.translation = "Parigi";
             });
         },
         P + " where " + ww4("City", "paris") + " or " + ww4("City", "parigi") + ";"},
        {"exact expression doubles the apostrophe", [] { return fieldRequest(kCaption, "l'eau"); },
         P + " where (Caption like '%l''eau%');"},
        {"exact expression with translation",
         [&] {
             return with(fieldRequest(kCaption, "l'eau"), [](SearchRequest &r) {
                 r.useTranslation = true;
                 r.translation = "Water's";
             });
         },
         P + " where (Caption like '%l''eau%') or (Caption like '%Water''s%');"},
        {"a translation is ignored while automatic translation is off",
         [&] {
             return with(fieldRequest(kCaption, "eau"), [](SearchRequest &r) { r.translation = "x"; });
         },
         P + " where (Caption like '%eau%');"},
        {"and ties every word to the field, without translation",
         [&] {
             return with(fieldRequest(kCaption, "red car"), [](SearchRequest &r) {
                 r.op = SearchOperator::And;
                 r.useTranslation = true;
                 r.translation = "x";
             });
         },
         P + " where (Caption like '%red%') and (Caption like '%car%');"},
        {"or with two spaces adds an empty word",
         [&] {
             return with(fieldRequest(kCaption, "red  car"),
                         [](SearchRequest &r) { r.op = SearchOperator::Or; });
         },
         P + " where (Caption like '%red%') or (Caption like '%%') or (Caption like '%car%');"},
    });
}

// --- Wildcards typed by the user match themselves ---------------------------------------------

TEST(SearchWildcards, likeTermsEscapeTheirWildcardsOnlyWhenTheTextHoldsOne)
{
    auto with = [](SearchRequest r, auto change) { change(r); return r; };
    expectStatements({
        {"percent sign", [] { return fieldRequest(kCaption, "100%"); },
         P + " where (Caption like '%100\\%%' escape '\\');"},
        {"underscore and the escape character itself", [] { return fieldRequest(kCaption, "a_b\\c"); },
         P + " where (Caption like '%a\\_b\\\\c%' escape '\\');"},
        {"a backslash alone stands for itself without an escape clause",
         [] { return fieldRequest(kCaption, "a\\c"); }, P + " where (Caption like '%a\\c%');"},
        {"each word decides for itself",
         [&] {
             return with(fieldRequest(kCaption, "x_y z"), [](SearchRequest &r) { r.op = SearchOperator::And; });
         },
         P + " where (Caption like '%x\\_y%' escape '\\') and (Caption like '%z%');"},
        {"the translation found is escaped too",
         [&] {
             return with(fieldRequest(kCaption, "cent"), [](SearchRequest &r) {
                 r.useTranslation = true;
                 r.translation = "100%";
             });
         },
         P + " where (Caption like '%cent%') or (Caption like '%100\\%%' escape '\\');"},
        {"paths and fields of the general search", [] { return chosenColumnsRequest("%"); },
         P + " where ((Folder like '%\\%%' escape '\\') or (File like '%\\%%' escape '\\') or "
             "(Keywords like '%\\%%' escape '\\') or (Caption like '%\\%%' escape '\\'));"},
    });
}

TEST(SearchWildcards, wholeWordBracketsGlobWildcardsOfTextAndTranslation)
{
    SearchRequest request = fieldRequest(kCity, "A*b?[c");
    request.wholeWord = true;
    request.useTranslation = true;
    request.translation = "D?";
    EXPECT_EQ(buildSearchStatement(request).toStdString(),
              (P + " where " + ww4("City", "a[*]b[?][[]c") + " or " + ww4("City", "d[?]") + ";").toStdString());

    SearchRequest general = chosenColumnsRequest("x*");
    general.wholeWord = true;
    const QString statement = buildSearchStatement(general);
    EXPECT_TRUE(statement.startsWith(P + " where (" + ww3Path("Folder", "x[*]") + " or " + ww3Path("File", "x[*]")))
        << statement.toStdString();
    EXPECT_FALSE(statement.contains("x*")) << statement.toStdString();
}

// --- General grammar ------------------------------------------------------------------------

TEST(GeneralSearch, chosenColumnsFollowTheirFixedOrderAfterThePaths)
{
    auto with = [](SearchRequest r, auto change) { change(r); return r; };
    expectStatements({
        {"exact expression with translation right after each column",
         [&] {
             return with(chosenColumnsRequest("l'eau"), [](SearchRequest &r) {
                 r.useTranslation = true;
                 r.translation = "Water";
             });
         },
         P + " where ((Folder like '%l''eau%') or (File like '%l''eau%') or (Keywords like '%l''eau%') "
             "or (Keywords like '%Water%') or (Caption like '%l''eau%') or (Caption like '%Water%'));"},
        {"and keeps all words in one column, paths take the whole text",
         [&] {
             return with(chosenColumnsRequest("red car"),
                         [](SearchRequest &r) { r.op = SearchOperator::And; });
         },
         P + " where ((Folder like '%red car%') or (File like '%red car%') or (Keywords like '%red%') "
             "and (Keywords like '%car%') or (Caption like '%red%') and (Caption like '%car%'));"},
        {"paths switched off leave no trace",
         [&] {
             return with(chosenColumnsRequest("car"), [](SearchRequest &r) {
                 r.targets.folderNames = r.targets.fileNames = false;
                 r.targets.caption = false;
                 r.targets.city = true;
             });
         },
         P + " where ((Keywords like '%car%') or (City like '%car%'));"},
        {"no target at all leaves an empty condition the engine rejects",
         [&] {
             return with(chosenColumnsRequest("car"), [](SearchRequest &r) {
                 r.targets = SearchTargets{false, false, false};
             });
         },
         P + " where ();"},
    });
}

TEST(GeneralSearch, allFieldsCoverTheThirtyFiveColumnsInCatalogueOrder)
{
    auto with = [](SearchRequest r, auto change) { change(r); return r; };
    const QString paths = "(Folder like '%red car%') or (File like '%red car%') or ";
    expectStatements({
        {"exact expression, then the translation over all columns",
         [&] {
             return with(generalRequest("red car"), [](SearchRequest &r) {
                 r.useTranslation = true;
                 r.translation = "auto rossa";
             });
         },
         P + " where (" + paths + likeAll("red car") + " or " + likeAll("auto rossa") + ");"},
        {"and lets each further word occur in any column",
         [&] {
             return with(generalRequest("red car"), [](SearchRequest &r) { r.op = SearchOperator::And; });
         },
         P + " where (" + paths + likeAll("red") + ") and (" + likeAll("car") + ");"},
        {"or", [&] {
             return with(generalRequest("red car"), [](SearchRequest &r) { r.op = SearchOperator::Or; });
         },
         P + " where (" + paths + likeAll("red") + ") or (" + likeAll("car") + ");"},
    });
}

// The three-alternative form missed a value equal to the word alone, so City "Paris" was not
// found by a whole-word search for paris; IPTC columns take all four alternatives.
TEST(GeneralSearch, wholeWordUsesFourAlternativesForIptcColumnsAndSlashAsPathSeparator)
{
    SearchRequest request = chosenColumnsRequest("Paris");
    request.targets.keywords = request.targets.caption = false;
    request.targets.city = true;
    request.wholeWord = true;
    request.useTranslation = true;
    request.translation = "Parigi";
    EXPECT_EQ(buildSearchStatement(request).toStdString(),
              (P + " where (" + ww3Path("Folder", "paris") + " or " + ww3Path("File", "paris") + " or "
               + ww4("City", "paris") + " or " + ww4("City", "parigi") + ");")
                  .toStdString());
    EXPECT_TRUE(buildSearchStatement(request).contains("lower(Folder) glob('*[/ .:;,''!?\"]paris"));

    SearchRequest all = generalRequest("Paris");
    all.targets.folderNames = all.targets.fileNames = false;
    all.wholeWord = true;
    all.useTranslation = true;
    all.translation = "Parigi";
    EXPECT_EQ(buildSearchStatement(all).toStdString(),
              (P + " where (" + ww4All("paris") + " or " + ww4All("parigi") + ");").toStdString());
}

// --- Tail: revised filter, parentheses, sort --------------------------------------------------

TEST(SearchTail, revisedFilterStartsTheConditionWhenThereIsNone)
{
    auto allImages = [](RevisedFilter revised, bool ascending) {
        SearchRequest r;
        r.withIptc = r.withoutIptc = true;
        r.revised = revised;
        r.revisionAscending = ascending;
        r.sortIndex = 4; // taken away by the revision order
        return r;
    };
    expectStatements({
        {"never revised", [&] { return allImages(RevisedFilter::NeverRevised, true); },
         P + " where (LastRevisionDate = '') order by File asc;"},
        {"already revised, chronological",
         [&] { return allImages(RevisedFilter::AlreadyRevised, true); },
         P + " where (LastRevisionDate != '') order by LastRevisionDate asc,LastRevisionTime asc;"},
        {"already revised, newest first",
         [&] { return allImages(RevisedFilter::AlreadyRevised, false); },
         P + " where (LastRevisionDate != '') order by LastRevisionDate desc,LastRevisionTime desc;"},
        {"check-marked images",
         [] {
             SearchRequest r;
             r.showCheckedOnly = true;
             r.revised = RevisedFilter::NeverRevised;
             return r;
         },
         P + " where (CheckMark != '') and (LastRevisionDate = '');"},
    });
}

TEST(SearchTail, bracketsAConditionWithTopLevelOrBeforeTheFilter)
{
    auto filtered = [](SearchRequest r, auto change) {
        change(r);
        r.revised = RevisedFilter::NeverRevised;
        return buildSearchStatement(r);
    };
    const QString filter = " and (LastRevisionDate = '');";
    struct Case { const char *name; QString actual; QString expected; };
    const Case cases[] = {
        {"field whole word",
         filtered(fieldRequest(kCity, "paris"), [](SearchRequest &r) { r.wholeWord = true; }),
         P + " where (" + ww4("City", "paris") + ")" + filter},
        {"field exact without translation stays bare", filtered(fieldRequest(kCity, "x"), [](auto &) {}),
         P + " where (City like '%x%')" + filter},
        {"field exact with translation",
         filtered(fieldRequest(kCity, "x"), [](SearchRequest &r) { r.useTranslation = true; r.translation = "y"; }),
         P + " where ((City like '%x%') or (City like '%y%'))" + filter},
        {"field or with two words",
         filtered(fieldRequest(kCity, "x y"), [](SearchRequest &r) { r.op = SearchOperator::Or; }),
         P + " where ((City like '%x%') or (City like '%y%'))" + filter},
        {"field or with one word stays bare",
         filtered(fieldRequest(kCity, "x"), [](SearchRequest &r) { r.op = SearchOperator::Or; }),
         P + " where (City like '%x%')" + filter},
        {"field and stays bare",
         filtered(fieldRequest(kCity, "x y"), [](SearchRequest &r) { r.op = SearchOperator::And; }),
         P + " where (City like '%x%') and (City like '%y%')" + filter},
        {"general or over all fields with two words",
         filtered(generalRequest("x y"), [](SearchRequest &r) { r.op = SearchOperator::Or; }),
         P + " where ((" + "(Folder like '%x y%') or (File like '%x y%') or " + likeAll("x") + ") or ("
             + likeAll("y") + "))" + filter},
        {"general or over chosen columns is already bracketed",
         filtered(chosenColumnsRequest("x y"), [](SearchRequest &r) { r.op = SearchOperator::Or; }),
         P + " where ((Folder like '%x y%') or (File like '%x y%') or (Keywords like '%x%') or "
             "(Keywords like '%y%') or (Caption like '%x%') or (Caption like '%y%'))" + filter},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.actual.toStdString(), c.expected.toStdString());
    }

    SearchRequest unfiltered = fieldRequest(kCity, "x y");
    unfiltered.op = SearchOperator::Or;
    EXPECT_EQ(buildSearchStatement(unfiltered), P + " where (City like '%x%') or (City like '%y%');");
}

TEST(SearchTail, sortIndexNamesColumnAndDirection)
{
    const std::pair<int, QString> cases[] = {
        {0, ""}, {4, " order by File desc"}, {5, " order by Folder desc"}, {6, " order by ObjectName desc"},
        {26, " order by City desc"}, {40, " order by Customized desc"}, {41, ""}, {-1, ""}};
    for (const auto &[index, clause] : cases) {
        SCOPED_TRACE(index);
        EXPECT_EQ(sortClause(index, false), clause);
    }
    // Numbers stored as text are ordered by their value, in either direction.
    const std::pair<int, const char *> numeric[] = {{1, "FileSize"}, {2, "Width"}, {3, "Height"}};
    for (const auto &[index, column] : numeric) {
        SCOPED_TRACE(index);
        EXPECT_EQ(sortClause(index, true), " order by " + numericOrderTerm(column, false));
        EXPECT_EQ(sortClause(index, false), " order by " + numericOrderTerm(column, true));
    }

    SearchRequest request = fieldRequest(kCity, "");
    request.revised = RevisedFilter::NeverRevised;
    request.sortIndex = 26;
    request.sortAscending = false;
    EXPECT_EQ(buildSearchStatement(request),
              P + " where (City != '') and (LastRevisionDate = '') order by City desc;");
    request.sortAscending = true;
    request.revised = RevisedFilter::Any;
    EXPECT_EQ(buildSearchStatement(request), P + " where (City != '') order by City asc;");
}

// --- Translations and text helpers -----------------------------------------------------------

TEST(TranslationLookup, statementPerDirectionWithDoubledApostrophes)
{
    const TranslationLookup both = translationLookup("l'eau", TranslationDirection::BothWays);
    EXPECT_EQ(both.first, "select word2 from Translations where (word1 like 'l''eau');");
    EXPECT_EQ(both.fallback, QString("select word1 from Translations where (word2='l''eau');"));

    const TranslationLookup forward = translationLookup("pomme de terre", TranslationDirection::FirstToSecond);
    EXPECT_EQ(forward.first, "select word2 from Translations where (word1 like 'pomme de terre');");
    EXPECT_FALSE(forward.fallback);

    const TranslationLookup backward = translationLookup("potato", TranslationDirection::SecondToFirst);
    EXPECT_EQ(backward.first, "select word1 from Translations where (word2 like 'potato');");
    EXPECT_FALSE(backward.fallback);

    const TranslationLookup wildcard = translationLookup("1_%'", TranslationDirection::BothWays);
    EXPECT_EQ(wildcard.first, "select word2 from Translations where (word1 like '1\\_\\%''' escape '\\');");
    EXPECT_EQ(wildcard.fallback, QString("select word1 from Translations where (word2='1_%''');"));

    EXPECT_EQ(translationDirectionFrom(7), TranslationDirection::BothWays);
    EXPECT_EQ(translationDirectionFrom(2), TranslationDirection::SecondToFirst);
}

TEST(SearchText, wordsAreCutAtEverySingleSpace)
{
    EXPECT_EQ(searchWords("red  car "), QStringList({"red", "", "car", ""}));
    EXPECT_EQ(lastSearchWords("l'eau vive"), QStringList({"l''eau", "vive"}));
}

TEST(SearchTargets, comeFromTheSearchOptions)
{
    AppSettings settings;
    settings.searchAllIPTC = false;
    settings.searchCity = true;
    settings.searchFileNames = false;
    const SearchTargets targets = searchTargetsFrom(settings);
    EXPECT_FALSE(targets.allIptc);
    EXPECT_TRUE(targets.city);
    EXPECT_FALSE(targets.country);
    EXPECT_TRUE(targets.folderNames);
    EXPECT_FALSE(targets.fileNames);
}
