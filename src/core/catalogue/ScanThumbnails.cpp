#include "core/catalogue/ScanThumbnails.h"

#include "core/catalogue/ThumbnailSizing.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

namespace zelvarion {

StoredThumbnailExaminer::StoredThumbnailExaminer(const ThumbnailStore &store)
    : m_maker(std::make_unique<ThumbnailMaker>()), m_store(store)
{
}

StoredThumbnailExaminer::~StoredThumbnailExaminer() = default;

ImageFacts StoredThumbnailExaminer::examine(const QString &path, ThumbnailPolicy policy) const
{
    ImageFacts facts;
    const QSize size = m_maker->imageSize(path);
    if (size.width() <= 1 || size.height() <= 1)
        return facts; // "?" sizes and no thumbnail
    facts.pixelSize = size;
    if (policy == ThumbnailPolicy::None || (policy == ThumbnailPolicy::KeepExisting && m_store.has(path)))
        return facts;
    QImage picture = m_maker->loadAtSize(path, thumbnailSizing::scanThumbnailSize(size));
    if (picture.isNull())
        picture = m_maker->loadThumbnail(path, thumbnailSizing::kFallbackBox.width(),
                                         thumbnailSizing::kFallbackBox.height());
    const QByteArray jpeg = m_maker->encodeJpeg(picture);
    // A thumbnail that cannot be made or stored is left out silently; the old one stays.
    if (!jpeg.isEmpty() && m_store.store(path, jpeg))
        facts.thumbnail = jpeg;
    return facts;
}

} // namespace zelvarion
