#pragma once

#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/UndoJournal.h"

#include <optional>
#include <vector>

namespace zelvarion {

struct UndoOptions
{
    QString customizedLabel = defaultCustomizedLabel(); // as the catalogue's rows read it
    const ThumbnailRenewer *renewer = nullptr;           // renews the thumbnails of restored files
    const LanguagePack *language = nullptr;              // the texts of its own messages (English when none)
};

struct UndoSummary
{
    bool ran = false;  // the journal and the catalogue opened and the run was found
    int run = 0;
    int restored = 0;  // files as they were before the run (also those an earlier undo restored); a
                       // file whose rewrite failed was never changed and is not counted
    std::vector<NotProcessedImage> skipped;
    bool stopped = false;
};

// The run to undo: the given number, else the newest template run not undone (an edit of one
// image is undone only by its number); nothing when there is none.
std::optional<JournalRun> runToUndo(const std::vector<JournalRun> &runs, std::optional<int> number);

// Gives each file of the run its old bytes back, newest rewrite first, when the file is still what
// the run left (size, modification time and content): through the atomic writer, with its old
// modification time, its catalogue row read again from the file and its thumbnail renewed. A file
// changed since is skipped and listed. Safe to run again after a kill: a file already back is
// recognised and only its row and time are set again. The run is marked undone once every file
// was handled; the stop flag of the feedback is tested between files.
UndoSummary undoTemplateRun(UndoJournal &journal, int run, CatalogueDb &catalogue, Feedback &feedback,
                            const UndoOptions &options);

} // namespace zelvarion
