#include "ui/SharperThumbnails.h"

#include "platform/ThumbnailMaker.h"

#include <QThread>

#include <algorithm>

namespace zelvarion {
namespace {

// Enough for several pages of the largest cells, counted in kilobytes.
constexpr int kCacheKilobytes = 64 * 1024;

QString keyOf(const QString &path, QSize size)
{
    return QString::number(size.width()) + u'x' + QString::number(size.height()) + u'\n' + path;
}

} // namespace

SharperThumbnails::SharperThumbnails(QObject *parent) : QObject(parent), m_cache(kCacheKilobytes)
{
    // The machine's other work (a scan, a template run) keeps at least one core.
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() / 2));
}

SharperThumbnails::~SharperThumbnails()
{
    // No worker may post to this object once it is gone.
    m_pool.clear();
    m_pool.waitForDone();
}

std::optional<QImage> SharperThumbnails::cached(const QString &path, QSize size) const
{
    if (const QImage *picture = m_cache.object(keyOf(path, size)))
        return *picture;
    return std::nullopt;
}

void SharperThumbnails::request(const QString &path, QSize size)
{
    const QString key = keyOf(path, size);
    if (m_cache.contains(key) || m_waiting.contains(key))
        return;
    m_waiting.insert(key);
    m_pool.start([this, key, path, size] {
        const QImage picture = ThumbnailMaker().loadThumbnail(path, size.width(), size.height());
        QMetaObject::invokeMethod(this, [this, key, path, size, picture] { store(key, path, size, picture); },
                                  Qt::QueuedConnection);
    });
}

void SharperThumbnails::dropWaiting()
{
    m_pool.clear();
    // A request still running arrives anyway; asking again for it only repeats work.
    m_waiting.clear();
}

void SharperThumbnails::store(const QString &key, const QString &path, QSize size, const QImage &picture)
{
    m_waiting.remove(key);
    const int kilobytes = std::max<qsizetype>(1, picture.sizeInBytes() / 1024);
    m_cache.insert(key, new QImage(picture), kilobytes);
    Q_EMIT ready(path, size, picture);
}

} // namespace zelvarion
