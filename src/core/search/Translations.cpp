#include "core/search/Translations.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/TranslationsTable.h"
#include "core/session/Feedback.h"
#include "core/session/TextRules.h"
#include "platform/TextFile.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zelvarion {
namespace {

const QString kTransaction = QStringLiteral("LOADTRANSLATIONS");

// The file's lines; a line ends at a carriage return, a carriage return and line feed, or a
// lone line feed (files edited on systems that end lines that way).
QStringList fileLines(const QString &text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return text.split(lineEnd);
}

struct Pair
{
    QString word1;
    QString word2; // the text after the first "/", which may hold more "/"
};

Pair splitAtFirstSlash(const QString &line)
{
    const qsizetype slash = line.indexOf(u'/');
    return {trimBlanks(QStringView(line).left(slash)), trimBlanks(QStringView(line).sliced(slash + 1))};
}

// Stores the pairs line by line; false when an insert failed (already reported).
bool storePairs(CatalogueDb &db, Feedback &feedback, const QString &text, TranslationsState &state)
{
    for (const QString &rawLine : fileLines(text)) {
        const QString line = trimBlanks(rawLine);
        if (line.isEmpty() || line.startsWith(u'*') || !line.contains(u'/'))
            continue;
        const Pair pair = splitAtFirstSlash(line);
        if (++state.lineCount == 1) {
            state.language1 = pair.word1;
            state.language2 = pair.word2;
            continue;
        }
        if (!translationsTable::addPair(db, feedback, pair.word1, pair.word2))
            return false;
    }
    return true;
}

} // namespace

TranslationsState loadTranslations(CatalogueDb &db, Feedback &feedback, const QString &translationsPath)
{
    TranslationsState state;
    if (!translationsTable::clear(db, feedback))
        return state;
    state.tableCleared = true;
    if (!QFileInfo(translationsPath).isFile())
        return state;
    state.fileExists = true;

    // A failed begin is reported and the pairs are then stored one statement at a time.
    beginTransaction(db, feedback, kTransaction);
    const std::optional<QString> text = readTextFile(translationsPath);
    if (!text || !storePairs(db, feedback, *text, state)) {
        // An unreadable file loads nothing, like a pair that cannot be stored: the translation
        // stays off for the run.
        endTransactionQuietly(db, kTransaction);
        return state;
    }
    endTransaction(db, feedback, kTransaction);
    state.loaded = true; // also when the end failed: the pairs were stored
    return state;
}

} // namespace zelvarion
