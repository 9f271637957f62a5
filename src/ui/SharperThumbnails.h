#pragma once

#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <optional>

namespace zelvarion {

// Pictures made from image files at the size a cell shows them, for cells larger than the stored
// thumbnails: made on worker threads, so a page shows at once from the stored thumbnails and
// sharpens as they arrive, and kept for the pages seen again.
class SharperThumbnails : public QObject
{
    Q_OBJECT
public:
    explicit SharperThumbnails(QObject *parent = nullptr);
    ~SharperThumbnails() override;

    // The picture made for `path` fitted into `size`, when one was made (null when the file
    // could not be read).
    std::optional<QImage> cached(const QString &path, QSize size) const;
    // Makes the picture unless it is cached or on its way; `ready` follows on this thread.
    void request(const QString &path, QSize size);
    // Requests not yet started are dropped: the page they were for is gone.
    void dropWaiting();

Q_SIGNALS:
    void ready(const QString &path, QSize size, const QImage &picture);

private:
    void store(const QString &key, const QString &path, QSize size, const QImage &picture);

    QThreadPool m_pool;
    QCache<QString, QImage> m_cache;
    QSet<QString> m_waiting;
};

} // namespace zelvarion
