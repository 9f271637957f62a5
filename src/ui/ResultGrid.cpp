// The grid of ten result cells: its controls, filling and emptying a page, fitting thumbnails and
// paging.
#include "ui/ResultGrid.h"

#include "core/catalogue/ThumbnailSizing.h"
#include "core/session/AppSettings.h"
#include "core/session/LanguagePack.h"
#include "platform/ThumbnailStore.h"
#include "ui/Controls.h"
#include "ui/Pictures.h"
#include "ui/ResultThumbnails.h"
#include "ui/SharperThumbnails.h"
#include "core/session/Twips.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QTextLayout>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

namespace {

constexpr QRect kHelpRect{40, 40, 619, 180};

constexpr int kBoxWidthTwips = thumbnailSizing::kMaxBoxTwips.width();
constexpr int kBoxHeightTwips = thumbnailSizing::kMaxBoxTwips.height();
constexpr int kAboveCentreTwips = 50;
constexpr int kCheckGapTwips = 25;
constexpr int kLineAboveTwips = 16;

QFrame *blueLine(QWidget *parent, const QString &name)
{
    auto *line = named(new QFrame(parent), name);
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    line->setStyleSheet(QStringLiteral("background-color: %1;").arg(kLabelBlue.name()));
    line->hide();
    return line;
}

// The file name as the two lines under a thumbnail show it: a name too long for them keeps its
// first line and the end of the rest (the extension), an ellipsis standing for the middle.
QString fittedFileName(const QString &name, const QFont &font, int width)
{
    QTextLayout layout(name, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine first = layout.createLine();
    first.setLineWidth(width);
    QTextLine second = layout.createLine();
    if (second.isValid())
        second.setLineWidth(width);
    const int firstLength = first.textLength();
    layout.endLayout();
    if (!second.isValid())
        return name;
    const QString rest = name.mid(firstLength);
    return name.left(firstLength) + u'\n' + QFontMetrics(font).elidedText(rest, Qt::ElideMiddle, width);
}

} // namespace

ResultGrid::ResultGrid(const AppSettings &settings, QWidget *parent) : QWidget(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("ResultGrid"));
    FrameImages = named(new QGroupBox(this), QStringLiteral("FrameImages"));
    m_sharper = new SharperThumbnails(this);
    connect(m_sharper, &SharperThumbnails::ready, this, &ResultGrid::takeSharperPicture);
    createCells();
    FrameImages->setFixedSize(gridGeometry::frameSize(m_scale));
    m_strip = new ResultPagingStrip(this);
    connect(m_strip, &ResultPagingStrip::pageRequested, this, &ResultGrid::turnPage);
    createHelp();
    layOut();
    connectKeys();
    clearPage();
}

ResultGrid::~ResultGrid() = default;

void ResultGrid::createCells()
{
    for (int i = 0; i < kCells; ++i) {
        Cell &cell = m_cells[std::size_t(i)];
        const QRect box = gridGeometry::boxRect(i, m_scale);
        cell.name = named(new QLabel(FrameImages), indexed("lblImage", i));
        cell.name->setGeometry(gridGeometry::nameRect(i, m_scale));
        cell.name->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        cell.name->setWordWrap(true);
        cell.thumb = named(new QLabel(FrameImages), indexed("ImageThumb", i));
        cell.thumb->setGeometry(box);
        cell.thumb->setScaledContents(true);
        cell.rank = named(new QLabel(QString::number(i + 1), FrameImages), indexed("lblImageRank", i));
        cell.rank->setGeometry(box.left() + 2, box.top() + 2, 36, 14);
        cell.check = named(new QLabel(FrameImages), indexed("picCheckImage", i));
        cell.check->setPixmap(pictures::checkMark(0));
        cell.check->setGeometry(box.right() + 3, box.top(), 10, 10);
        cell.lineTop = blueLine(FrameImages, indexed("LineTop", i));
        cell.lineTop->setGeometry(box.left(), box.top() - 3, box.width(), 2);
        cell.lineDown = blueLine(FrameImages, indexed("LineDown", i));
        cell.lineDown->setGeometry(box.left(), box.bottom() + 2, box.width(), 2);
        cell.thumb->installEventFilter(this);
        cell.name->installEventFilter(this);
        cell.check->installEventFilter(this);
    }
}

void ResultGrid::createHelp()
{
    FrameHelp = named(new QFrame(FrameImages), QStringLiteral("FrameHelp"));
    FrameHelp->setGeometry(kHelpRect);
    FrameHelp->setFrameShape(QFrame::StyledPanel);
    FrameHelp->setAutoFillBackground(true);
    auto *lines = new QVBoxLayout(FrameHelp);
    lines->setContentsMargins(16, 14, 16, 14);
    for (int i = 0; i < 4; ++i) {
        lblHelp[i] = named(new QLabel(FrameHelp), indexed("lblHelp", i));
        lblHelp[i]->setWordWrap(true);
        lines->addWidget(lblHelp[i]);
    }
    lines->addStretch(1);
    lblHelp[3]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// The paging buttons on the left above the page caption, the legend on the right, the frame
// below.
void ResultGrid::layOut()
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(8, 0, 8, 0);
    column->setSpacing(2);
    auto *strip = new QHBoxLayout;
    strip->setSpacing(2);
    m_strip->placeIn(*strip);
    column->addLayout(strip);
    column->addWidget(FrameImages);
}

// The paging keys work wherever the focus is in the main window.
void ResultGrid::connectKeys()
{
    auto key = [this](Qt::Key which, auto action) {
        auto *shortcut = new QShortcut(QKeySequence(which), this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(Qt::Key_Home, [this] { turnPage(PageStep::First); });
    key(Qt::Key_PageUp, [this] { turnPage(PageStep::Back); });
    key(Qt::Key_PageDown, [this] { turnPage(PageStep::Forward); });
    key(Qt::Key_End, [this] { turnPage(PageStep::Last); });
    key(Qt::Key_Insert, [this] {
        if (const int cell = selectedCell(); cell >= 0)
            Q_EMIT cellDoubleClicked(cell);
    });
    key(Qt::Key_Pause, [this] {
        if (const int cell = selectedCell(); cell >= 0)
            Q_EMIT checkClicked(cell);
    });
}

void ResultGrid::applyLanguage(const LanguagePack &pack)
{
    using enum InterfaceText;
    lblHelp[0]->setText(pack.text(MainHelpLine1));
    lblHelp[1]->setText(pack.text(MainHelpLine2));
    lblHelp[2]->setText(pack.text(MainHelpLine3));
    lblHelp[3]->setText(pack.text(MainHelpLine4Start) + u' ' + pack.text(MainHelpLine4End));
    m_strip->applyLanguage(pack);
}

void ResultGrid::setHelpVisible(bool visible)
{
    FrameHelp->setVisible(visible);
}

void ResultGrid::showResult(ResultList result)
{
    m_result = std::move(result);
    m_paging.reset(m_result.count());
    m_strip->setPagingEnabled(m_paging.navigationEnabled());
    clearPage();
    showPage();
}

void ResultGrid::clearResult()
{
    m_result.clear();
    m_paging.reset(0);
    FrameImages->setTitle(QString());
    m_strip->setPagingEnabled(false);
    m_shiftClick = false;
    clearPage();
}

void ResultGrid::turnPage(PageStep step)
{
    bool (ResultPaging::*const moves[])() = {&ResultPaging::toFirst, &ResultPaging::back, &ResultPaging::forward,
                                             &ResultPaging::toLast};
    if (!(m_paging.*moves[int(step)])())
        return;
    clearPage();
    showPage();
}

void ResultGrid::clearPage()
{
    Q_EMIT pageCleared();
    m_sharper->dropWaiting();
    for (Cell &cell : m_cells) {
        cell.thumb->clear();
        cell.thumb->setGeometry(gridGeometry::boxRect(int(&cell - m_cells.data()), m_scale));
        cell.thumb->setFrameShape(QFrame::Box);
        cell.image = CellImage();
        cell.naturalSize = QSize();
        cell.selected = false;
        cell.draggable = false;
        cell.name->clear();
        cell.name->setToolTip(QString());
        cell.name->setStyleSheet(QStringLiteral("color: black;"));
        cell.check->hide();
        cell.check->setToolTip(QString());
        cell.lineTop->hide();
        cell.lineDown->hide();
        cell.rank->hide();
    }
}

void ResultGrid::showPage()
{
    if (m_paging.firstRank() < 1)
        return;
    if (m_paging.count() > 0)
        FrameImages->setTitle(QString::number(m_paging.page()) + u'/' + QString::number(m_paging.pageCount()));
    std::size_t i = 0;
    for (int r = m_paging.firstRank(); r <= m_paging.count() && i < m_cells.size(); ++r) {
        const ResultRow &row = m_result.row(r);
        if (row.folder.isEmpty() && row.file.isEmpty())
            continue; // a deleted image leaves a blank row
        fillCell(m_cells[i], row, r);
        ++i;
    }
}

void ResultGrid::fillCell(Cell &cell, const ResultRow &row, int rank)
{
    cell.image.rank = rank;
    const QImage picture = resultThumbnail(row.folder + row.file, m_settings.useThumbnails, ThumbnailStore());
    cell.thumb->setPixmap(picture.isNull() ? pictures::noImage() : QPixmap::fromImage(picture));
    cell.naturalSize = cell.thumb->pixmap().size();
    showRowInCell(cell, row);
    cell.draggable = false;
    cell.rank->setText(QString::number(rank));
    cell.rank->adjustSize();
    placeCell(int(&cell - m_cells.data()));
    if (!picture.isNull())
        sharpen(cell);
}

// The thumbnail fitted to its box with the check picture, the selection lines and the rank
// around it.
void ResultGrid::placeCell(int index)
{
    Cell &cell = m_cells[std::size_t(index)];
    fitResultThumbnail(cell);
    const QRect thumb = cell.thumb->geometry();
    cell.check->move(thumb.right() + 1 + pixels(kCheckGapTwips), thumb.top());
    cell.check->show();
    const int lineLeft = thumb.left() - 1;
    cell.lineTop->setGeometry(lineLeft, thumb.top() - pixels(kLineAboveTwips) - 2, thumb.width() + 2, 2);
    cell.lineDown->setGeometry(lineLeft, thumb.bottom() + 1, thumb.width() + 2, 2);
    cell.rank->move(cell.check->geometry().right() + 1 - cell.rank->width(), cell.check->y() - cell.rank->height());
    cell.rank->show();
}

// The texts of a cell that follow its row: the file name and the check mark.
void ResultGrid::showRowInCell(Cell &cell, const ResultRow &row)
{
    cell.check->setPixmap(pictures::checkMark(row.checkMark.isEmpty() ? 0 : 1));
    cell.check->setToolTip(row.checkMark);
    cell.name->setText(fittedFileName(row.file, cell.name->font(), cell.name->width()));
    cell.name->setToolTip(row.file);
    cell.image.folder = row.folder;
    cell.image.file = row.file;
}

// At the designed size the thumbnail takes its picture's natural size when that fits the 1800 x
// 1200 twips box, else the largest size of the same proportions that fits; it is centred in the
// box, a little above the middle. A larger grid enlarges the whole cell alike.
void ResultGrid::fitResultThumbnail(Cell &cell)
{
    if (cell.naturalSize.isEmpty())
        return;
    cell.thumb->setFrameShape(QFrame::NoFrame);
    double w = twips(cell.naturalSize.width());
    double h = twips(cell.naturalSize.height());
    if (w > kBoxWidthTwips || h > kBoxHeightTwips) {
        const double scale = std::min(kBoxWidthTwips / w, kBoxHeightTwips / h);
        w *= scale;
        h *= scale;
    }
    const QRect box = gridGeometry::boxRect(int(&cell - m_cells.data()), m_scale);
    const double s = m_scale.size;
    const int left = box.left() + pixels((kBoxWidthTwips - std::lround(w)) / 2 * s);
    const int top = box.top() + pixels((kBoxHeightTwips - std::lround(h)) / 2 * s) - pixels(kAboveCentreTwips * s);
    cell.thumb->setGeometry(left, top, std::max(1, pixels(w * s)), std::max(1, pixels(h * s)));
}

// A cell drawn larger than its picture gets one made from the file at its size: at once when it
// was made before, else when a worker has made it.
void ResultGrid::sharpen(Cell &cell)
{
    const QSize wanted = cell.thumb->size() * cell.thumb->devicePixelRatio();
    if (cell.thumb->pixmap().width() >= wanted.width() || cell.thumb->pixmap().height() >= wanted.height())
        return;
    const QString path = cell.image.path();
    if (const std::optional<QImage> made = m_sharper->cached(path, wanted))
        takeSharperPicture(path, wanted, *made);
    else
        m_sharper->request(path, wanted);
}

void ResultGrid::takeSharperPicture(const QString &path, QSize size, const QImage &picture)
{
    if (picture.isNull())
        return;
    for (Cell &cell : m_cells) {
        const bool showsIt = cell.image.rank > 0 && cell.image.path() == path;
        if (showsIt && cell.thumb->size() * cell.thumb->devicePixelRatio() == size
            && picture.width() > cell.thumb->pixmap().width())
            cell.thumb->setPixmap(QPixmap::fromImage(picture));
    }
}

void ResultGrid::fitInto(QSize room)
{
    const QSize strip(2 * 8, height() - FrameImages->height());
    const gridGeometry::GridScale scale = gridGeometry::scaleFor(room - strip);
    if (scale == m_scale)
        return;
    m_scale = scale;
    FrameImages->setFixedSize(gridGeometry::frameSize(m_scale));
    layout()->activate();
    FrameHelp->setGeometry(int(kHelpRect.x() * m_scale.across), int(kHelpRect.y() * m_scale.size),
                           int(kHelpRect.width() * m_scale.across), int(kHelpRect.height() * m_scale.size));
    for (int i = 0; i < kCells; ++i) {
        Cell &cell = m_cells[std::size_t(i)];
        cell.name->setGeometry(gridGeometry::nameRect(i, m_scale));
        if (!hasImage(i)) {
            cell.thumb->setGeometry(gridGeometry::boxRect(i, m_scale));
            continue;
        }
        cell.name->setText(fittedFileName(cell.image.file, cell.name->font(), cell.name->width()));
        placeCell(i);
        sharpen(cell);
    }
}

bool ResultGrid::hasImage(int cell) const
{
    return cell >= 0 && cell < kCells && !m_cells[std::size_t(cell)].name->text().isEmpty();
}

std::optional<CellImage> ResultGrid::cellImage(int cell) const
{
    if (!hasImage(cell))
        return std::nullopt;
    return m_cells[std::size_t(cell)].image;
}

int ResultGrid::lastFilledCell() const
{
    for (int i = kCells - 1; i >= 0; --i)
        if (hasImage(i))
            return i;
    return -1;
}

int ResultGrid::cellShowing(int rank) const
{
    for (int i = 0; i < kCells; ++i)
        if (rank > 0 && m_cells[std::size_t(i)].image.rank == rank)
            return i;
    return -1;
}

void ResultGrid::updateResultRow(int rank, const ResultRow &row)
{
    if (rank < 1 || rank > m_result.count())
        return;
    m_result.row(rank) = row;
    if (const int cell = cellShowing(rank); cell >= 0)
        showRowInCell(m_cells[std::size_t(cell)], row);
}

void ResultGrid::removeResultRow(int rank)
{
    if (rank < 1 || rank > m_result.count())
        return;
    ResultRow &row = m_result.row(rank);
    row.folder.clear();
    row.file.clear();
    if (const int index = cellShowing(rank); index >= 0) {
        Cell &cell = m_cells[std::size_t(index)];
        cell.thumb->clear();
        cell.name->clear();
        cell.name->setToolTip(QString());
        cell.lineTop->hide();
        cell.lineDown->hide();
        cell.check->hide();
    }
}

QString ResultGrid::cellMark(int cell) const
{
    return cell >= 0 && cell < kCells ? m_cells[std::size_t(cell)].check->toolTip() : QString();
}

void ResultGrid::replaceResultRows(ResultList result)
{
    if (result.count() != m_result.count())
        return; // not the result on show
    m_result = std::move(result);
    for (Cell &cell : m_cells)
        if (hasImage(int(&cell - m_cells.data())) && cell.image.rank >= 1)
            showRowInCell(cell, m_result.row(cell.image.rank));
}

void ResultGrid::setCellCheck(int cell, bool marked, const QString &toolTip)
{
    if (cell < 0 || cell >= kCells)
        return;
    QLabel *check = m_cells[std::size_t(cell)].check;
    check->setPixmap(pictures::checkMark(marked ? 1 : 0));
    check->setToolTip(toolTip);
}

} // namespace zelvarion
