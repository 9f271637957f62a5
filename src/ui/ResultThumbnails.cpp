#include "ui/ResultThumbnails.h"

#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

namespace zelvarion {
namespace {
constexpr int kMakerBoxWidth = 210;
constexpr int kMakerBoxHeight = 140;
} // namespace

QImage resultThumbnail(const QString &imagePath, bool useStoredThumbnails, const ThumbnailStore &store)
{
    if (useStoredThumbnails) {
        // Stored thumbnails are small upright JPEGs of our own: the toolkit's decoder opens them
        // with less overhead than the image library's pipeline.
        const QByteArray stored = store.load(imagePath);
        if (!stored.isEmpty()) {
            QImage picture = QImage::fromData(stored, "JPEG");
            if (picture.isNull())
                picture = ThumbnailMaker().decode(stored);
            if (!picture.isNull())
                return picture;
        }
    }
    return ThumbnailMaker().loadThumbnail(imagePath, kMakerBoxWidth, kMakerBoxHeight);
}

} // namespace zelvarion
