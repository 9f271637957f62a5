#include "core/captioning/TemplateThumbnails.h"

#include "core/catalogue/StoredThumbnail.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

namespace zelvarion {

StoredThumbnailRenewer::StoredThumbnailRenewer(const ThumbnailStore &store)
    : m_maker(std::make_unique<ThumbnailMaker>()), m_store(store)
{
}

StoredThumbnailRenewer::~StoredThumbnailRenewer() = default;

QByteArray StoredThumbnailRenewer::renew(const QString &path, QByteArrayView content) const
{
    const QSize box = thumbnailSizing::kFallbackBox;
    const QSize size = m_maker->imageSizeFromBytes(content);
    QSize fitted; // none for a size the header does not give: the whole file is decoded then
    if (size.width() > 1 && size.height() > 1)
        fitted = size.width() <= box.width() && size.height() <= box.height() ? size : size.scaled(box, Qt::KeepAspectRatio);
    // A thumbnail that cannot be made or stored is left out silently; the old one stays.
    return makeStoredThumbnail(*m_maker, m_store, path, content, fitted);
}

QByteArray StoredThumbnailRenewer::renewAfterMetadataRewrite(const QString &path, const NewJpegContent &content,
                                                             const QDateTime &lastChange) const
{
    // Decoding a photograph again would make the same picture: most of a run with thumbnails.
    const QDateTime stored = m_store.storedAt(path);
    if (stored.isValid() && lastChange.isValid() && stored >= lastChange)
        if (QByteArray kept = m_store.load(path); !kept.isEmpty())
            return kept;
    return renew(path, content.joined());
}

} // namespace zelvarion
