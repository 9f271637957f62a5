#include "core/catalogue/ScanThumbnails.h"

#include "core/catalogue/StoredThumbnail.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailMaker.h"
#include "platform/ThumbnailStore.h"

#include <QFile>

namespace zelvarion {

StoredThumbnailExaminer::StoredThumbnailExaminer(const ThumbnailStore &store)
    : m_maker(std::make_unique<ThumbnailMaker>()), m_store(store)
{
}

StoredThumbnailExaminer::~StoredThumbnailExaminer() = default;

namespace {

QByteArray wholeFile(const QString &path)
{
    QFile file;
    return filenames::openForReading(file, path) ? file.readAll() : QByteArray();
}

} // namespace

ImageFacts StoredThumbnailExaminer::examine(const QString &path, ThumbnailPolicy policy) const
{
    ImageFacts facts;
    const bool wantsThumbnail =
        policy == ThumbnailPolicy::Recreate || (policy == ThumbnailPolicy::KeepExisting && !m_store.has(path));
    // A file that gets a thumbnail is read once, for the header and the decode; otherwise only
    // its header is read. The maker opens files by a name Qt encodes, which reaches no file whose
    // name is not UTF-8: those are read here.
    const bool readHere = wantsThumbnail || filenames::needsEncoding(path);
    const QByteArray bytes = readHere ? wholeFile(path) : QByteArray();
    const QSize size = readHere ? m_maker->imageSizeFromBytes(bytes) : m_maker->imageSize(path);
    if (size.width() <= 1 || size.height() <= 1)
        return facts; // "?" sizes and no thumbnail
    facts.pixelSize = size;
    if (!wantsThumbnail)
        return facts;
    // A thumbnail that cannot be made or stored is left out silently; the old one stays.
    facts.thumbnail = makeStoredThumbnail(*m_maker, m_store, path, bytes, thumbnailSizing::scanThumbnailSize(size));
    return facts;
}

} // namespace zelvarion
