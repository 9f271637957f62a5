#pragma once

#include <QImage>
#include <QString>

namespace zelvarion {

class ThumbnailStore;

// The picture of a result cell: the stored thumbnail when one is wanted and present, else one
// made from the image file fitted into 210 x 140 pixels; a null image when neither works.
QImage resultThumbnail(const QString &imagePath, bool useStoredThumbnails, const ThumbnailStore &store);

} // namespace zelvarion
