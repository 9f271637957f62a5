#pragma once

#include "core/filecommands/FileCommandContext.h"

namespace zelvarion {

class ResultList;

struct DeleteResult
{
    enum class Outcome {
        Declined,      // the user said No: nothing changed
        TrashRefused,  // the trash would not take the file (told): nothing changed
        StillThere,    // the file is still found: nothing else changed
        CatalogueNotOpened, // the file went to the trash, but its row and the cell stay (reported)
        Deleted,       // the file went to the trash; the row and the result forget it
    };
    Outcome outcome = Outcome::Declined;
    int blankedRank = 0; // the result row blanked, 0 when none matched

    // The cell showing the image is to be emptied.
    bool forgetCell() const { return outcome == Outcome::Deleted; }
};

// Deletes an image of the result: asks first (message 39 and the path), moves the file to the
// trash, and once it is gone removes its catalogue row, recounts its folder in Folders, drops its
// stored thumbnail and blanks the first matching result row (which keeps its rank, so the count
// and the pages stay). A failed statement is reported and the row and the result forget the file
// all the same.
DeleteResult deleteImage(const FileCommandContext &context, ResultList &results, const ImageRef &image);

} // namespace zelvarion
