#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

namespace zelvarion {

class ThumbnailMaker;
class ThumbnailStore;

// The one way the scan and the template run make a stored thumbnail: the file's bytes decoded
// straight to decodeSize (skipped when it is not valid), else the file decoded into the 210 by 140
// box, encoded as JPEG and stored. Returns the JPEG bytes, empty when none could be made or stored
// (the old one then stays).
QByteArray makeStoredThumbnail(const ThumbnailMaker &maker, const ThumbnailStore &store, const QString &path,
                               QByteArrayView bytes, QSize decodeSize);

} // namespace zelvarion
