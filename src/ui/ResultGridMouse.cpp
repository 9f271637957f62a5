// The mouse on the result cells: clicks, the Shift selection, the pop-up menu, the double-click
// and dragging the selected paths out.
#include "ui/ResultGrid.h"

#include "platform/FileNames.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace zelvarion {

int ResultGrid::cellOf(QObject *watched) const
{
    for (int i = 0; i < kCells; ++i)
        if (watched == m_cells[std::size_t(i)].thumb || watched == m_cells[std::size_t(i)].name)
            return i;
    return -1;
}

int ResultGrid::checkOf(QObject *watched) const
{
    for (int i = 0; i < kCells; ++i)
        if (watched == m_cells[std::size_t(i)].check)
            return i;
    return -1;
}

bool ResultGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (const int check = checkOf(watched); check >= 0) {
        if (event->type() != QEvent::MouseButtonPress)
            return QWidget::eventFilter(watched, event);
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && hasImage(check))
            Q_EMIT checkClicked(check);
        return true;
    }
    const int index = cellOf(watched);
    if (index < 0 || !mouseEvent(index, event))
        return QWidget::eventFilter(watched, event);
    return true;
}

// True when the event was the cell's.
bool ResultGrid::mouseEvent(int index, QEvent *event)
{
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_shiftClick = mouse->modifiers() == Qt::ShiftModifier;
        m_dragStart = mouse->globalPosition().toPoint();
        if (mouse->button() == Qt::RightButton) {
            if (!m_cells[std::size_t(index)].thumb->pixmap().isNull())
                Q_EMIT cellMenuRequested(index, mouse->globalPosition().toPoint());
        } else if (mouse->button() == Qt::LeftButton) {
            Q_EMIT cellClicked(index);
        }
        return true;
    case QEvent::MouseButtonRelease:
        for (Cell &cell : m_cells)
            cell.draggable = false;
        return true;
    case QEvent::MouseButtonDblClick:
        Q_EMIT cellDoubleClicked(index);
        return true;
    case QEvent::MouseMove:
        if ((mouse->buttons() & Qt::LeftButton) && m_cells[std::size_t(index)].draggable
            && (mouse->globalPosition().toPoint() - m_dragStart).manhattanLength() >= QApplication::startDragDistance())
            startDrag(index);
        return true;
    default:
        return false;
    }
}

void ResultGrid::selectCell(int index)
{
    if (!hasImage(index))
        return;
    if (!m_shiftClick) {
        for (Cell &cell : m_cells) {
            cell.selected = false;
            cell.name->setStyleSheet(QStringLiteral("color: black;"));
            cell.lineTop->hide();
            cell.lineDown->hide();
        }
    }
    Cell &cell = m_cells[std::size_t(index)];
    cell.selected = true;
    cell.name->setStyleSheet(QStringLiteral("color: %1;").arg(controls::kLabelBlue.name()));
    cell.lineTop->show();
    cell.lineDown->show();
    cell.draggable = true;
}

int ResultGrid::selectedCell() const
{
    for (int i = 0; i < kCells; ++i)
        if (m_cells[std::size_t(i)].selected)
            return i;
    return -1;
}

std::vector<int> ResultGrid::selectedCells() const
{
    std::vector<int> selected;
    for (int i = 0; i < kCells; ++i)
        if (m_cells[std::size_t(i)].selected)
            selected.push_back(i);
    return selected;
}

QMimeData *ResultGrid::selectedPathsData() const
{
    QStringList paths;
    QList<QUrl> urls;
    for (const Cell &cell : m_cells) {
        if (!cell.selected || cell.name->text().isEmpty())
            continue;
        paths << cell.image.path();
        urls << filenames::fileUrl(cell.image.path()); // the real bytes of names that are not UTF-8
    }
    auto *mime = new QMimeData;
    mime->setText(paths.join(QStringLiteral("\r\n")));
    mime->setUrls(urls);
    return mime;
}

void ResultGrid::startDrag(int index)
{
    Cell &cell = m_cells[std::size_t(index)];
    cell.draggable = false;
    auto *drag = new QDrag(this);
    drag->setMimeData(selectedPathsData());
    if (!cell.thumb->pixmap().isNull())
        drag->setPixmap(cell.thumb->pixmap().scaled(64, 64, Qt::KeepAspectRatio));
    drag->exec(Qt::CopyAction);
}

} // namespace zelvarion
