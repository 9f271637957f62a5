#include "core/catalogue/ImagesSearchStatement.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueTables.h"
#include "core/catalogue/TranslationsTable.h"
#include "core/iptc/IptcField.h"

namespace zelvarion {

namespace {

const QString kSelect = QStringLiteral("select ") + resultListColumnList() + QStringLiteral(" from Images");

QString columnName(ImagesColumn column) { return imagesColumnName(column); }
QString fieldColumn(int fieldIndex) { return QLatin1String(iptcField(fieldIndex).column); }

// Word separators of IPTC text, as a glob bracket expression inside an SQL string literal
// (the apostrophe is written twice there).
const QString kIptcSeparators = QStringLiteral("[ .:;,''!?\"]");
// Folder and File are paths, so the path separator also ends a word.
const QString kPathSeparators = QStringLiteral("[/ .:;,''!?\"]");

const QString kLikeEscapeClause = QStringLiteral(" escape '\\'");

// A text put into a like pattern so that it matches only itself.
struct LikeLiteral
{
    QString text;
    bool escaped = false; // the text needs the escape clause
};

// Text without "%" or "_" goes in unchanged: a backslash stands for itself when no escape
// clause follows.
LikeLiteral likeLiteral(const QString &text)
{
    if (!text.contains(u'%') && !text.contains(u'_'))
        return {text, false};
    LikeLiteral literal{{}, true};
    literal.text.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            literal.text += u'\\';
        literal.text += c;
    }
    return literal;
}

// A text put into a glob pattern so that it matches only itself: glob has no escape clause, so
// each of its wildcards becomes a bracket expression holding just that character.
QString globLiteral(const QString &text)
{
    QString literal;
    literal.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'*' || c == u'?' || c == u'[')
            literal += u'[' + QString(c) + u']';
        else
            literal += c;
    }
    return literal;
}

// The condition that follows " where ". A top-level " or " must be bracketed before a revised
// filter is joined with " and ", or the filter would bind to its last alternative only.
struct Condition
{
    QString text;
    bool topLevelOr = false;
};

// The user's text matches itself: a "%" or "_" it holds is escaped, and only then does the term
// carry an escape clause, so the statement of ordinary text keeps its plain form.
QString like(const QString &column, const QString &value)
{
    const LikeLiteral literal = likeLiteral(value);
    return QLatin1Char('(') + column + QStringLiteral(" like '%") + literal.text + QStringLiteral("%'")
           + (literal.escaped ? kLikeEscapeClause : QString()) + QLatin1Char(')');
}

QString glob(const QString &column, const QString &pattern)
{
    return QStringLiteral("lower(") + column + QStringLiteral(") glob('") + pattern
           + QStringLiteral("')");
}

// The word in the middle, at the start, at the end of the value. The word is the user's text,
// so its glob wildcards are bracketed; the separators are the pattern's own.
QString wholeWord3(const QString &column, const QString &word, const QString &separators)
{
    const QString star = QStringLiteral("*");
    const QString literal = globLiteral(word);
    return glob(column, star + separators + literal + separators + star) + QStringLiteral(" or ")
           + glob(column, literal + separators + star) + QStringLiteral(" or ")
           + glob(column, star + separators + literal);
}

// The three alternatives and the value equal to the word alone.
QString wholeWord4(const QString &column, const QString &word)
{
    return wholeWord3(column, word, kIptcSeparators) + QStringLiteral(" or ") + glob(column, globLiteral(word));
}

QString joinedByOr(const QStringList &pieces) { return pieces.join(QStringLiteral(" or ")); }

QString likeInAllFields(const QString &value)
{
    QStringList terms;
    for (const IptcField &field : kIptcFields)
        terms << like(QLatin1String(field.column), value);
    return joinedByOr(terms);
}

// The IPTC columns of the general search when SearchAllIPTC is off, in their fixed order.
QStringList chosenColumns(const SearchTargets &targets)
{
    const std::pair<bool, int> choices[] = {
        {targets.keywords, kKeywordsIndex}, {targets.headline, kHeadlineIndex}, {targets.credit, kCreditIndex},
        {targets.caption, kCaptionIndex},   {targets.byline, kBylineIndex},     {targets.city, kCityIndex},
        {targets.country, kCountryIndex},
    };
    QStringList columns;
    for (const auto &[on, fieldIndex] : choices) {
        if (on)
            columns << fieldColumn(fieldIndex);
    }
    return columns;
}

QStringList iptcTargetColumns(const SearchTargets &targets)
{
    return targets.allIptc ? iptcColumnNames() : chosenColumns(targets);
}

// The translation as the statement uses it; empty when no translation term is added.
QString translationTerm(const SearchRequest &request)
{
    return request.useTranslation ? doubledApostrophes(request.translation) : QString();
}

// Folder and File are matched on their own, never word by word and never translated.
QStringList pathPieces(const SearchTargets &targets, bool wholeWord, const QString &value)
{
    QStringList pieces;
    for (const auto &[on, column] : {std::pair{targets.folderNames, columnName(ImagesColumn::Folder)},
                                     std::pair{targets.fileNames, columnName(ImagesColumn::File)}}) {
        if (on)
            pieces << (wholeWord ? wholeWord3(column, value, kPathSeparators) : like(column, value));
    }
    return pieces;
}

// Whole word and exact expression: one piece per IPTC column with the text, then, with every
// column, the translation (all 35 with SearchAllIPTC, each column's right after it otherwise).
Condition generalSingleTermCondition(const SearchRequest &request)
{
    const SearchTargets &targets = request.targets;
    const QString text = doubledApostrophes(request.text);
    const QString translated = translationTerm(request);
    const QString value = request.wholeWord ? text.toLower() : text;
    const QString translatedValue = request.wholeWord ? translated.toLower() : translated;
    auto term = [&](const QString &column, const QString &v) {
        return request.wholeWord ? wholeWord4(column, v) : like(column, v);
    };

    QStringList pieces = pathPieces(targets, request.wholeWord, value);
    const QStringList columns = iptcTargetColumns(targets);
    QStringList textTerms;
    QStringList translationTerms;
    for (const QString &column : columns) {
        textTerms << term(column, value);
        if (!translated.isEmpty())
            translationTerms << term(column, translatedValue);
    }
    if (targets.allIptc) {
        pieces << textTerms << translationTerms;
    } else {
        for (qsizetype i = 0; i < textTerms.size(); ++i) {
            pieces << textTerms.at(i);
            if (!translationTerms.isEmpty())
                pieces << translationTerms.at(i);
        }
    }
    return {QLatin1Char('(') + joinedByOr(pieces) + QLatin1Char(')'), false};
}

QString wordJoiner(SearchOperator op)
{
    return op == SearchOperator::And ? QStringLiteral(" and ") : QStringLiteral(" or ");
}

// "and" / "or": with SearchAllIPTC each further word may occur in any column; with chosen
// columns every word is tested within the same column.
Condition generalWordsCondition(const SearchRequest &request)
{
    const SearchTargets &targets = request.targets;
    const QString text = doubledApostrophes(request.text);
    const QStringList words = searchWords(text);
    const QString joiner = wordJoiner(request.op);

    QStringList pieces = pathPieces(targets, false, text);
    if (targets.allIptc) {
        pieces << likeInAllFields(words.first());
        QString condition = QLatin1Char('(') + joinedByOr(pieces) + QLatin1Char(')');
        for (qsizetype i = 1; i < words.size(); ++i)
            condition += joiner + QLatin1Char('(') + likeInAllFields(words.at(i)) + QLatin1Char(')');
        return {condition, request.op == SearchOperator::Or && words.size() > 1};
    }
    for (const QString &column : chosenColumns(targets)) {
        QString chain = like(column, words.first());
        for (qsizetype i = 1; i < words.size(); ++i)
            chain += joiner + like(column, words.at(i));
        pieces << chain;
    }
    return {QLatin1Char('(') + joinedByOr(pieces) + QLatin1Char(')'), false};
}

Condition generalCondition(const SearchRequest &request)
{
    if (request.wholeWord || request.op == SearchOperator::ExactExpression)
        return generalSingleTermCondition(request);
    return generalWordsCondition(request);
}

Condition fieldCondition(const SearchRequest &request)
{
    const QString column = fieldColumn(request.fieldIndex);
    if (request.text.isEmpty())
        return {QLatin1Char('(') + column + QStringLiteral(" != '')"), false};

    const QString text = doubledApostrophes(request.text);
    const QString translated = translationTerm(request);
    if (request.wholeWord) {
        QString condition = wholeWord4(column, text.toLower());
        if (!translated.isEmpty())
            condition += QStringLiteral(" or ") + wholeWord4(column, translated.toLower());
        return {condition, true};
    }
    if (request.op == SearchOperator::ExactExpression) {
        QString condition = like(column, text);
        if (!translated.isEmpty())
            condition += QStringLiteral(" or ") + like(column, translated);
        return {condition, !translated.isEmpty()};
    }
    const QStringList words = searchWords(text);
    QString condition = like(column, words.first());
    for (qsizetype i = 1; i < words.size(); ++i)
        condition += wordJoiner(request.op) + like(column, words.at(i));
    return {condition, request.op == SearchOperator::Or && words.size() > 1};
}

// How the presence test of each IPTC column has always been spelled. The statements are logged
// and compared character for character, so a few columns keep "!=''" and Contact "!= ''" glued
// to its name.
enum class TestSpelling { Spaced, ValueGlued, ColumnGlued };

TestSpelling presenceSpelling(int fieldIndex)
{
    switch (fieldIndex) {
    case 0: case 7: case 8: case 9: case 10: case 11: case 19: // ObjectName, ReleaseDate … ReferenceDate, BylineTitle
        return TestSpelling::ValueGlued;
    case 27: // Contact
        return TestSpelling::ColumnGlued;
    default:
        return TestSpelling::Spaced;
    }
}

// "((ObjectName !='') or (EditStatus != '') …)" over the 35 IPTC columns: the images with some
// IPTC text, or with anyText false those with none ("=" joined by " and ").
QString presenceCondition(bool anyText)
{
    const QString op = anyText ? QStringLiteral("!=") : QStringLiteral("=");
    const QString space = QStringLiteral(" ");
    QStringList tests;
    for (const IptcField &field : kIptcFields) {
        const TestSpelling spelling = presenceSpelling(field.index);
        tests << QLatin1Char('(') + QLatin1String(field.column)
                     + (spelling == TestSpelling::ColumnGlued ? QString() : space) + op
                     + (spelling == TestSpelling::ValueGlued ? QString() : space) + QStringLiteral("'')");
    }
    return QLatin1Char('(') + tests.join(anyText ? QStringLiteral(" or ") : QStringLiteral(" and ")) + QLatin1Char(')');
}

const QString kWithIptc = presenceCondition(true);
const QString kWithoutIptc = presenceCondition(false);

// The condition of the chosen mode; none for "all images".
std::optional<Condition> modeCondition(const SearchRequest &request)
{
    if (request.showCheckedOnly)
        return Condition{QLatin1Char('(') + columnName(ImagesColumn::CheckMark) + QStringLiteral(" != '')"), false};
    if (request.withoutIptc && request.withIptc)
        return std::nullopt;
    if (request.withIptc)
        return Condition{kWithIptc, false};
    if (request.withoutIptc)
        return Condition{kWithoutIptc, false};
    if (request.fieldSearch)
        return fieldCondition(request);
    return generalCondition(request);
}

QString direction(bool ascending)
{
    return ascending ? QStringLiteral(" asc") : QStringLiteral(" desc");
}

// The revised filter's condition and, for images already revised, the order it imposes.
struct RevisedFilterParts
{
    QString condition;
    QString order; // " order by ..." or empty
};

RevisedFilterParts revisedFilter(const SearchRequest &request)
{
    switch (request.revised) {
    case RevisedFilter::NeverRevised:
        return {QStringLiteral("(%1 = '')").arg(columnName(ImagesColumn::LastRevisionDate)), {}};
    case RevisedFilter::AlreadyRevised: {
        const QString order = direction(request.revisionAscending);
        return {QStringLiteral("(%1 != '')").arg(columnName(ImagesColumn::LastRevisionDate)),
                QStringLiteral(" order by %1%3,%2%3")
                    .arg(columnName(ImagesColumn::LastRevisionDate), columnName(ImagesColumn::LastRevisionTime), order)};
    }
    case RevisedFilter::Any:
        break;
    }
    return {};
}

QString singleImageStatement(const SingleImage &image)
{
    return kSelect + QStringLiteral(" where ((%1=%3) and (%2=%4));")
                         .arg(columnName(ImagesColumn::Folder), columnName(ImagesColumn::File), sqlText(image.folder),
                              sqlText(image.file));
}

} // namespace

SearchRefusal searchRefusal(const SearchRequest &request)
{
    if (request.singleImage)
        return SearchRefusal::None;
    const bool anyPresenceOrField = request.withoutIptc || request.withIptc || request.fieldSearch;
    if (request.text.isEmpty() && !anyPresenceOrField && !request.showCheckedOnly)
        return SearchRefusal::NothingToSearch;
    const bool fieldMode = request.fieldSearch && !request.showCheckedOnly && !request.withIptc
                           && !request.withoutIptc;
    if (fieldMode && (request.fieldIndex < 0 || request.fieldIndex >= kIptcFieldCount))
        return SearchRefusal::NoFieldChosen;
    return SearchRefusal::None;
}

std::optional<SearchStatementParts> searchStatementParts(const SearchRequest &request)
{
    if (searchRefusal(request) != SearchRefusal::None || request.singleImage)
        return std::nullopt;
    const std::optional<Condition> condition = modeCondition(request);
    const RevisedFilterParts filter = revisedFilter(request);
    SearchStatementParts parts;
    if (condition) {
        const bool bracket = !filter.condition.isEmpty() && condition->topLevelOr;
        parts.where = bracket ? QLatin1Char('(') + condition->text + QLatin1Char(')') : condition->text;
    }
    if (!filter.condition.isEmpty())
        parts.where += (condition ? QStringLiteral(" and ") : QString()) + filter.condition;
    parts.order = request.revised == RevisedFilter::AlreadyRevised
                      ? filter.order : sortClause(request.sortIndex, request.sortAscending);
    return parts;
}

QString searchSelect() { return kSelect; }

QString withMoreColumns(const QString &searchStatement, const QStringList &columns)
{
    // Every search statement starts with kSelect. No index of Images holds all of Folder, File
    // and CheckMark, so none covers the statement with or without the columns added: the engine's
    // plan stays the same, and with it the order of the rows the statement leaves open.
    Q_ASSERT(searchStatement.startsWith(kSelect));
    if (columns.isEmpty())
        return searchStatement;
    const QString select = QStringLiteral("select ") + resultListColumnList() + u',' + columns.join(u',')
                           + QStringLiteral(" from Images");
    return select + searchStatement.sliced(kSelect.size());
}

QString buildSearchStatement(const SearchRequest &request)
{
    if (searchRefusal(request) != SearchRefusal::None)
        return {};
    if (request.singleImage)
        return singleImageStatement(*request.singleImage);
    const SearchStatementParts parts = *searchStatementParts(request);
    QString statement = kSelect;
    if (!parts.where.isEmpty())
        statement += QStringLiteral(" where ") + parts.where;
    return statement + parts.order + QLatin1Char(';');
}

QStringList searchWords(const QString &text)
{
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

QStringList lastSearchWords(const QString &typedText)
{
    return searchWords(doubledApostrophes(typedText));
}

TranslationLookup translationLookup(const QString &typedText, TranslationDirection direction)
{
    const QString text = doubledApostrophes(typedText);
    const LikeLiteral literal = likeLiteral(text);
    const QString operand = u'\'' + literal.text + u'\'' + (literal.escaped ? kLikeEscapeClause : QString());
    if (direction == TranslationDirection::SecondToFirst)
        return {translationsTable::firstWordsLikeStatement(operand), std::nullopt};
    TranslationLookup lookup{translationsTable::secondWordsLikeStatement(operand), std::nullopt};
    if (direction == TranslationDirection::BothWays)
        lookup.fallback = translationsTable::firstWordsEqualStatement(typedText);
    return lookup;
}

QString sortClause(int sortIndex, bool ascending)
{
    // lstSortedBy 1..5, then the 35 IPTC fields in catalogue order.
    static constexpr ImagesColumn kFixed[] = {ImagesColumn::FileSize, ImagesColumn::Width, ImagesColumn::Height,
                                              ImagesColumn::File, ImagesColumn::Folder};
    constexpr int kFixedCount = int(std::size(kFixed));
    constexpr int kNumericCount = 3; // FileSize, Width, Height hold numbers stored as text
    if (sortIndex >= 1 && sortIndex <= kNumericCount)
        return QStringLiteral(" order by ") + numericOrderTerm(columnName(kFixed[sortIndex - 1]), !ascending);
    QString column;
    if (sortIndex > kNumericCount && sortIndex <= kFixedCount)
        column = columnName(kFixed[sortIndex - 1]);
    const int fieldIndex = sortIndex - kFixedCount - 1;
    if (fieldIndex >= 0 && fieldIndex < kIptcFieldCount)
        column = fieldColumn(fieldIndex);
    if (column.isEmpty())
        return {};
    return QStringLiteral(" order by ") + column + direction(ascending);
}

} // namespace zelvarion
