#include "ui/frmDisplayImage.h"

#include "core/session/AppSettings.h"
#include "platform/IniFile.h"
#include "platform/ThumbnailMaker.h"
#include "core/session/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace zelvarion {
namespace {

const QString kSection = QLatin1String(kDisplayWindowSection);
constexpr int kExtraHeightTwips = 400;
constexpr int kTallestPicture = 8192;

} // namespace

QRect frmDisplayImage::designGeometry()
{
    return {160, 120, 640, 480};
}

frmDisplayImage::frmDisplayImage(const IniFile &ini, QWidget *owner) : QWidget(owner, Qt::Window), m_ini(ini)
{
    setObjectName(QStringLiteral("frmDisplayImage"));
    setAttribute(Qt::WA_DeleteOnClose);
    DisplayedImage = new QLabel(this);
    DisplayedImage->setObjectName(QStringLiteral("DisplayedImage"));
    DisplayedImage->setScaledContents(true);
    // The picture at the top left, as large as the window was wide when it came; resizing the
    // window leaves it, as the window's own size is the user's.
    auto *top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetNoConstraint);
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(DisplayedImage, 0, Qt::AlignLeft | Qt::AlignTop);
    const QRect stored = pixels(readWindowTwips(ini, kSection, twips(designGeometry())));
    move(stored.topLeft());
    resize(stored.size());
}

void frmDisplayImage::showImage(const QString &path, const QString &caption)
{
    setWindowState(windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    // Decoded at the window's width at most: shrink-on-load keeps large photographs quick.
    const ThumbnailMaker maker;
    const QImage picture = maker.loadThumbnail(path, width(), kTallestPicture);
    if (picture.isNull() || picture.width() < 1)
        return;
    const double ratio = double(width()) / picture.width();
    const int height = int(picture.height() * ratio);
    DisplayedImage->setPixmap(QPixmap::fromImage(picture));
    DisplayedImage->setFixedSize(width(), height);
    resize(width(), height + pixels(kExtraHeightTwips));
    setWindowTitle(caption);
    show();
}

void frmDisplayImage::closeEvent(QCloseEvent *event)
{
    if (isVisible() && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        writeWindowTwips(m_ini, kSection, twips(QRect(pos(), size())));
    event->accept();
}

} // namespace zelvarion
