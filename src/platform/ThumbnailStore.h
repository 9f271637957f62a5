#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zelvarion {

// The per-user store of thumbnails, the place of the ":thumb" stream on file systems without
// named streams: one JPEG file per image, named by the SHA-1 of the image's absolute path, under
// the user's cache folder. The image files themselves are never touched.
class ThumbnailStore
{
public:
    // The store under the user's cache folder ("<cache>/zelvarion/thumbs").
    ThumbnailStore();
    // A store rooted elsewhere, for tests and tools.
    explicit ThumbnailStore(QString root);

    const QString &root() const { return m_root; }

    // Thumbnails can be stored: the root exists or can be made, and a file can be created in it.
    bool isAvailable() const;

    bool has(const QString &imagePath) const;
    // When the image's thumbnail was stored; invalid when it has none.
    QDateTime storedAt(const QString &imagePath) const;

    // Creates or replaces the thumbnail of the image, atomically: a reader sees the old thumbnail
    // or the new one, never a part. False when nothing could be written (the old one stays).
    bool store(const QString &imagePath, const QByteArray &jpeg) const;

    // The stored JPEG bytes; empty when the image has none.
    QByteArray load(const QString &imagePath) const;

    // Follows a rename of the image: its thumbnail moves to the new path, replacing whatever the
    // new path had. When the old path had none, a stale thumbnail of the new path is dropped so it
    // cannot show the wrong picture. True when a thumbnail was moved.
    bool move(const QString &oldImagePath, const QString &newImagePath) const;

    // Removes the thumbnail of a deleted image. True when none is left.
    bool drop(const QString &imagePath) const;

    // Where the thumbnail of the image lies (whether or not it exists).
    QString entryPath(const QString &imagePath) const;

private:
    QString m_root;
};

} // namespace zelvarion
