#include "core/filecommands/CopyImages.h"

#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "core/session/FileFailure.h"
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QFileInfo>
#include <QSet>

namespace zelvarion {
namespace {

// Every image of the result under the one name the file system resolves it to, so another
// spelling of a folder (a link, "..") is still recognised.
QSet<QString> resultImagePaths(const ResultList &results)
{
    QSet<QString> paths;
    for (const ResultRow &row : results.rows()) {
        if (row.folder.isEmpty() || row.file.isEmpty())
            continue;
        const QString canonical = filenames::canonicalPath(row.folder + row.file);
        if (!canonical.isEmpty())
            paths.insert(canonical);
    }
    return paths;
}

} // namespace

QString destinationFolderOf(const QString &chosenFolder)
{
    return chosenFolder.endsWith(u'/') ? chosenFolder : chosenFolder + u'/';
}

CopyReport copyResultImages(const ResultList &results, const QString &destination, Feedback &feedback)
{
    CopyReport report;
    const QSet<QString> ownImages = resultImagePaths(results);
    for (const ResultRow &row : results.rows()) {
        if (row.folder.isEmpty() || row.file.isEmpty())
            continue;
        const QString target = destination + row.file;
        const QString existing = QFileInfo(target).canonicalFilePath();
        if (!existing.isEmpty() && ownImages.contains(existing)) {
            ++report.skippedResultImages;
            continue;
        }
        const atomicfile::Result copied = atomicfile::copyFile(row.folder + row.file, target);
        if (copied.ok) {
            ++report.copied;
            feedback.progress(target);
        } else {
            ++report.failed;
            report.failures << fileFailureText(copied, feedback.language());
        }
    }
    return report;
}

QString copySummary(const LanguagePack &language, const CopyReport &report)
{
    return countedText(language, language.message(Message::CopyImagesSummary),
                       {{u'#', report.copied}, {u'%', report.skippedResultImages}, {u'$', report.failed}});
}

} // namespace zelvarion
