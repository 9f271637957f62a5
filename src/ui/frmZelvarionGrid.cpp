// The grid of ten result cells: filling a page, fitting thumbnails, paging and the keys.
#include "ui/frmZelvarion.h"

#include "platform/ThumbnailStore.h"
#include "ui/Pictures.h"
#include "ui/ResultThumbnails.h"
#include "ui/Twips.h"

#include <QGroupBox>
#include <QLabel>
#include <QShortcut>
#include <QToolButton>

namespace zelvarion {
namespace {

constexpr int kBoxWidthTwips = 1800;
constexpr int kBoxHeightTwips = 1200;
constexpr int kAboveCentreTwips = 50;
constexpr int kCheckGapTwips = 25;
constexpr int kLineAboveTwips = 16;
} // namespace

void frmZelvarion::connectNavigation()
{
    connect(cmdBegin, &QToolButton::clicked, this, [this] { navigate(&ResultPaging::toFirst); });
    connect(cmdBack, &QToolButton::clicked, this, [this] { navigate(&ResultPaging::back); });
    connect(cmdForward, &QToolButton::clicked, this, [this] { navigate(&ResultPaging::forward); });
    connect(cmdEnd, &QToolButton::clicked, this, [this] { navigate(&ResultPaging::toLast); });
    auto key = [this](QKeySequence sequence, auto action) {
        auto *shortcut = new QShortcut(sequence, this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(QKeySequence(Qt::Key_Home), [this] { navigate(&ResultPaging::toFirst); });
    key(QKeySequence(Qt::Key_PageUp), [this] { navigate(&ResultPaging::back); });
    key(QKeySequence(Qt::Key_PageDown), [this] { navigate(&ResultPaging::forward); });
    key(QKeySequence(Qt::Key_End), [this] { navigate(&ResultPaging::toLast); });
    key(QKeySequence(Qt::Key_Insert), [this] {
        if (const int cell = selectedCell(); cell >= 0)
            openCellImage(cell);
    });
    key(QKeySequence(Qt::Key_Escape), [this] { minimiseDisplayWindow(); });
}

void frmZelvarion::navigate(bool (ResultPaging::*step)())
{
    if (!(m_paging.*step)())
        return;
    clearResultPage();
    showResultPage();
}

void frmZelvarion::setNavigationEnabled(bool enabled)
{
    for (QToolButton *button : {cmdBegin, cmdBack, cmdForward, cmdEnd})
        button->setEnabled(enabled);
}

void frmZelvarion::showResultPage()
{
    if (m_paging.firstRank() < 1)
        return;
    if (m_paging.count() > 0)
        FrameImages->setTitle(QString::number(m_paging.page()) + u'/' + QString::number(m_paging.pageCount()));
    int i = 0;
    for (int r = m_paging.firstRank(); r <= m_paging.count() && i < kCells; ++r) {
        const ResultRow &row = m_search.results.row(r);
        if (row.folder.isEmpty() && row.file.isEmpty())
            continue; // a deleted image leaves a blank row
        fillCell(cells[i], row, r);
        ++i;
    }
}

void frmZelvarion::fillCell(ResultCell &cell, const ResultRow &row, int rank)
{
    const bool marked = !row.checkMark.isEmpty();
    cell.check->setPixmap(pictures::checkMark(marked ? 1 : 0));
    cell.check->setToolTip(row.checkMark);
    cell.rankNumber = rank;
    const QImage picture = resultThumbnail(row.folder + row.file, m_context.settings.useThumbnails, ThumbnailStore());
    cell.thumb->setPixmap(picture.isNull() ? pictures::noImage() : QPixmap::fromImage(picture));
    fitResultThumbnail(cell);
    cell.name->setText(row.file);
    cell.name->setToolTip(row.file);
    cell.folder = row.folder;
    cell.file = row.file;
    cell.draggable = false;

    const QRect thumb = cell.thumb->geometry();
    cell.check->move(thumb.right() + 1 + pixels(kCheckGapTwips), thumb.top());
    cell.check->show();
    const int lineLeft = thumb.left() - 1;
    cell.lineTop->setGeometry(lineLeft, thumb.top() - pixels(kLineAboveTwips) - 2, thumb.width() + 2, 2);
    cell.lineDown->setGeometry(lineLeft, thumb.bottom() + 1, thumb.width() + 2, 2);
    cell.rank->setText(QString::number(rank));
    cell.rank->adjustSize();
    cell.rank->move(cell.check->geometry().right() + 1 - cell.rank->width(), cell.check->y() - cell.rank->height());
    cell.rank->show();
}

// The thumbnail takes its picture's natural size when that fits the 1800 x 1200 twips box, else
// the largest size of the same proportions that fits; it is centred in the box, a little above
// the middle.
void frmZelvarion::fitResultThumbnail(ResultCell &cell)
{
    const QPixmap picture = cell.thumb->pixmap();
    if (picture.isNull())
        return;
    cell.thumb->setFrameShape(QFrame::NoFrame);
    double w = twips(picture.width());
    double h = twips(picture.height());
    if (w > kBoxWidthTwips || h > kBoxHeightTwips) {
        const double scale = std::min(kBoxWidthTwips / w, kBoxHeightTwips / h);
        w *= scale;
        h *= scale;
    }
    const QRect label = cell.name->geometry();
    const int left = label.left() + pixels((kBoxWidthTwips - std::lround(w)) / 2);
    const int top = label.top() - pixels(kBoxHeightTwips) + pixels((kBoxHeightTwips - std::lround(h)) / 2)
                    - pixels(kAboveCentreTwips);
    cell.thumb->setGeometry(left, top, std::max(1, pixels(w)), std::max(1, pixels(h)));
}

int frmZelvarion::selectedCell() const
{
    for (int i = 0; i < kCells; ++i)
        if (cells[i].selected)
            return i;
    return -1;
}

int frmZelvarion::lastFilledCell() const
{
    for (int i = kCells - 1; i >= 0; --i)
        if (!cells[i].name->text().isEmpty())
            return i;
    return -1;
}

// Tab and Shift+Tab walk the cells, turning the page at either end.
bool frmZelvarion::focusNextPrevChild(bool next)
{
    const int selected = selectedCell();
    if (selected < 0) {
        clickCell(0);
    } else if (next && selected == kCells - 1) {
        navigate(&ResultPaging::forward);
        clickCell(0);
    } else if (!next && selected == 0) {
        navigate(&ResultPaging::back);
        if (const int last = lastFilledCell(); last >= 0)
            clickCell(last);
    } else {
        clickCell(selected + (next ? 1 : -1));
    }
    return true;
}

} // namespace zelvarion
