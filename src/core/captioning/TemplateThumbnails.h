#pragma once

#include "core/captioning/ApplyTemplateRun.h"

#include <memory>

namespace zelvarion {

class ThumbnailMaker;
class ThumbnailStore;

// The thumbnail of a rewritten image, made from its new bytes in memory (no second read) fitted
// into the 210 by 140 box, stored in the thumbnail store. Kept out of zelvarion_captioning because
// the maker hands out Qt Gui pictures.
class StoredThumbnailRenewer : public ThumbnailRenewer
{
public:
    explicit StoredThumbnailRenewer(const ThumbnailStore &store);
    ~StoredThumbnailRenewer() override;

    QByteArray renew(const QString &path, QByteArrayView content) const override;
    QByteArray renewAfterMetadataRewrite(const QString &path, const NewJpegContent &content,
                                         const QDateTime &lastChange) const override;

private:
    std::unique_ptr<ThumbnailMaker> m_maker;
    const ThumbnailStore &m_store;
};

} // namespace zelvarion
