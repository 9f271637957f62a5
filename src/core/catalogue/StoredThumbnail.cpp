#include "core/catalogue/StoredThumbnail.h"

#include "core/catalogue/ThumbnailSizing.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

namespace zelvarion {

QByteArray makeStoredThumbnail(const ThumbnailMaker &maker, const ThumbnailStore &store, const QString &path,
                               QByteArrayView bytes, QSize decodeSize)
{
    QImage picture;
    if (decodeSize.isValid())
        picture = maker.loadAtSizeFromBytes(bytes, decodeSize);
    // The maker's general decoder reads what the reduced decode of the bytes cannot.
    if (picture.isNull())
        picture = maker.loadThumbnail(path, thumbnailSizing::kFallbackBox.width(), thumbnailSizing::kFallbackBox.height());
    const QByteArray jpeg = maker.encodeJpeg(picture);
    return !jpeg.isEmpty() && store.store(path, jpeg) ? jpeg : QByteArray();
}

} // namespace zelvarion
