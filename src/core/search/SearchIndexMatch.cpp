#include "core/search/SearchIndexMatch.h"

#include "core/catalogue/ImagesSearchStatement.h"
#include "platform/UnicodeFolding.h"

#include <QStringList>

namespace zelvarion {

namespace {

// Words the matching rows hold, as folded substrings: all of them, or at least one.
struct Needles
{
    bool all = true;
    QStringList words;
};

// The trigrams of the folded word joined by AND, or nothing when the word cannot narrow the
// search (shorter than a trigram, or holding a character whose folding is irregular).
std::optional<QString> wordQuery(const QString &word)
{
    const QByteArray utf8 = word.toUtf8();
    std::string folded;
    if (!appendSearchFolded({utf8.constData(), std::size_t(utf8.size())}, folded))
        return std::nullopt;
    const QList<uint> points = QString::fromUtf8(folded.data(), qsizetype(folded.size())).toUcs4();
    if (points.size() < 3)
        return std::nullopt;
    QStringList trigrams;
    for (qsizetype i = 0; i + 3 <= points.size(); ++i) {
        QString trigram = QString::fromUcs4(reinterpret_cast<const char32_t *>(points.constData() + i), 3);
        trigram.replace(u'"', QStringLiteral("\"\""));
        const QString quoted = u'"' + trigram + u'"';
        if (!trigrams.contains(quoted))
            trigrams << quoted;
    }
    return trigrams.join(QStringLiteral(" AND "));
}

// A single text and its translation: either may be the one found. Whole words compare lowered.
Needles singleTermNeedles(const SearchRequest &request)
{
    Needles needles{false, {request.wholeWord ? request.text.toLower() : request.text}};
    if (request.useTranslation && !request.translation.isEmpty())
        needles.words << (request.wholeWord ? request.translation.toLower() : request.translation);
    return needles;
}

// The words of "and" / "or". A path term compares the whole text, which holds every word.
Needles wordsNeedles(const SearchRequest &request)
{
    return {request.op == SearchOperator::And, searchWords(request.text)};
}

std::optional<Needles> needlesOf(const SearchRequest &request)
{
    if (request.singleImage || request.showCheckedOnly || request.withIptc || request.withoutIptc)
        return std::nullopt;
    if (request.text.isEmpty())
        return std::nullopt; // a field search for any value
    if (request.wholeWord || request.op == SearchOperator::ExactExpression)
        return singleTermNeedles(request);
    return wordsNeedles(request);
}

} // namespace

std::optional<QString> searchIndexMatch(const SearchRequest &request)
{
    if (searchRefusal(request) != SearchRefusal::None)
        return std::nullopt;
    const std::optional<Needles> needles = needlesOf(request);
    if (!needles)
        return std::nullopt;
    QStringList queries;
    for (const QString &word : needles->words) {
        const std::optional<QString> query = wordQuery(word);
        if (query)
            queries << u'(' + *query + u')';
        else if (!needles->all)
            return std::nullopt; // an alternative the index cannot narrow: every row may match
    }
    if (queries.isEmpty())
        return std::nullopt;
    queries.removeDuplicates();
    return queries.join(needles->all ? QStringLiteral(" AND ") : QStringLiteral(" OR "));
}

} // namespace zelvarion
