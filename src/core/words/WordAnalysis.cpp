#include "core/words/WordAnalysis.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/export/CatalogueRows.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"

namespace zelvarion {
namespace {

// Counts one row's texts; false when a group was full.
bool countRow(WordCounter &counter, const CatalogueRow &row, bool allFields)
{
    for (const IptcField &field : kIptcFields) {
        if (!allFields && field.index != kKeywordsIndex)
            continue;
        const QString value = row.value(field.index);
        if (!value.isEmpty() && !counter.addText(value))
            return false;
    }
    return true;
}

} // namespace

WordAnalysisOutcome analyseWords(const WordAnalysisRequest &request, const ResultList &results, CatalogueDb &db,
                                 Feedback &feedback, const LanguagePack &pack)
{
    WordAnalysisOutcome outcome;
    if (!db.openOrReport(feedback))
        return outcome;
    outcome.opened = true;
    db.readThroughSmallCache(CatalogueDb::kRowsByNameKilobytes);
    WordCounter counter(request.ignored, request.locale);
    {
        const QStringList columns = request.allFields ? iptcColumnNames()
                                                      : QStringList{QLatin1String(iptcField(kKeywordsIndex).column)};
        ResultRowReader reader(db, feedback, results, columns);
        for (int rank = 1; rank <= results.count(); ++rank) {
            if (request.beforeImage)
                request.beforeImage(rank);
            bool full = false;
            for (const CatalogueRow &row : reader.rowsOf(rank))
                full = full || !countRow(counter, row, request.allFields);
            if (full) {
                feedback.showMessage(pack.message(Message::ListLimitReached)
                                         .replace(u'#', QString::number(WordCounter::kGroupLimit)),
                                     MessageIcon::Critical);
                outcome.stopped = true;
                break;
            }
            ++outcome.imagesRead;
            feedback.processEvents();
            if (feedback.stopRequested()) {
                outcome.stopped = rank < results.count();
                break;
            }
        }
    }
    db.close();
    outcome.words = counter.words();
    return outcome;
}

QString analysisSummary(const LanguagePack &pack, qint64 seconds, int words, int images)
{
    QString counts = countedText(pack, pack.text(InterfaceText::AnalysisSummary), {{u'#', words}, {u'%', images}});
    counts.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    return u' ' + pack.message(Message::ElapsedTime) + u' ' + QString::number(seconds) + QStringLiteral(" s   ")
           + counts;
}

} // namespace zelvarion
