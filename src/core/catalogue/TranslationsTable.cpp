#include "core/catalogue/TranslationsTable.h"

#include "core/catalogue/CatalogueDb.h"

namespace zelvarion::translationsTable {

bool clear(CatalogueDb &db, Feedback &feedback)
{
    return db.executeOrReport(feedback, QStringLiteral("delete from Translations;"),
                              Message::CannotEmptyTranslations);
}

bool addPair(CatalogueDb &db, Feedback &feedback, const QString &word1, const QString &word2)
{
    return db.executeOrReport(feedback,
                              QStringLiteral("insert into Translations values(") + sqlText(word1) + u',' + sqlText(word2)
                                  + QStringLiteral(");"),
                              Message::CannotAddToTranslations);
}

QString secondWordsLikeStatement(const QString &likeOperand)
{
    return QStringLiteral("select word2 from Translations where (word1 like ") + likeOperand + QStringLiteral(");");
}

QString firstWordsLikeStatement(const QString &likeOperand)
{
    return QStringLiteral("select word1 from Translations where (word2 like ") + likeOperand + QStringLiteral(");");
}

QString firstWordsEqualStatement(const QString &word2)
{
    return QStringLiteral("select word1 from Translations where (word2=") + sqlText(word2) + QStringLiteral(");");
}

} // namespace zelvarion::translationsTable
