#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

class Feedback;
class LanguagePack;
class ResultList;

// The destination as stored and used: the chosen folder ending with "/" (a root keeps its one).
QString destinationFolderOf(const QString &chosenFolder);

struct CopyReport
{
    int copied = 0;
    int skippedResultImages = 0; // the file there is itself an image of the result
    int failed = 0;              // a missing source, a write error
    QStringList failures;        // one line per failed copy, with its reason

    int notCopied() const { return skippedResultImages + failed; }
};

// Copies every image of the result, in rank order, to destination + its file name; a later rank
// replaces what an earlier one copied under the same name. A file in the destination that is
// itself an image of the result is never replaced (its copy is skipped and counted). Each copy
// is written to a temporary file and renamed, so a failed copy leaves no part file and the file
// it would have replaced untouched. Blank rows (deleted images) are passed over.
CopyReport copyResultImages(const ResultList &results, const QString &destination, Feedback &feedback);

// Message 42 with the three counts.
QString copySummary(const LanguagePack &language, const CopyReport &report);

} // namespace zelvarion
