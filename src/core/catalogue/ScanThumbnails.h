#pragma once

#include "core/catalogue/FolderScan.h"

#include <memory>

namespace zelvarion {

class ThumbnailMaker;
class ThumbnailStore;

// The scan's image step over the thumbnail maker and the thumbnail store: the pixel size from
// the file's header, and, when asked, one decode at reduced scale straight to the thumbnail's
// size (180 by 120 at most), with the 210 by 140 box as the fallback. A file that gets a thumbnail
// is read once, and its bytes serve both steps. Image files are only read.
// Kept out of zelvarion_catalogue because the maker hands out Qt Gui pictures.
class StoredThumbnailExaminer : public ImageExaminer
{
public:
    explicit StoredThumbnailExaminer(const ThumbnailStore &store);
    ~StoredThumbnailExaminer() override;

    ImageFacts examine(const QString &path, ThumbnailPolicy policy) const override;

private:
    std::unique_ptr<ThumbnailMaker> m_maker;
    const ThumbnailStore &m_store;
};

} // namespace zelvarion
