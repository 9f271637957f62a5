// A click on a result cell: selection, the detail panel with the searched words lit, the
// image pop-up menu, the double-click, dragging the selected paths out and the display window.
#include "ui/frmZelvarion.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/search/ImageDetail.h"
#include "core/shell/Feedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/frmDisplayImage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDrag>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QUrl>

namespace zelvarion {
namespace {

const QColor kSelectedName(0, 0, 255);

QTextCharFormat formatFor(DetailStyle style)
{
    QTextCharFormat format;
    switch (style) {
    case DetailStyle::Value: format.setForeground(Qt::black); break;
    case DetailStyle::Label: format.setForeground(QColor(128, 128, 128)); break;
    case DetailStyle::BoldLabel:
        format.setForeground(QColor(128, 128, 128));
        format.setFontWeight(QFont::Bold);
        break;
    case DetailStyle::Warning:
        format.setForeground(QColor(128, 0, 0));
        format.setFontWeight(QFont::Bold);
        break;
    case DetailStyle::SearchedLabel:
        format.setForeground(QColor(255, 0, 0));
        format.setFontWeight(QFont::Bold);
        break;
    }
    return format;
}

void renderDetail(QTextEdit *panel, const std::vector<DetailPiece> &pieces, const std::vector<TextRange> &lit)
{
    QTextDocument *document = panel->document();
    document->clear();
    QTextCursor cursor(document);
    for (const DetailPiece &piece : pieces)
        cursor.insertText(piece.text, formatFor(piece.style));
    QTextCharFormat highlight;
    highlight.setForeground(QColor(0, 0, 255));
    highlight.setFontWeight(QFont::Bold);
    for (const TextRange &range : lit) {
        cursor.setPosition(range.start);
        cursor.setPosition(range.start + range.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(highlight);
    }
    QTextCursor start(document);
    panel->setTextCursor(start);
}

} // namespace

void frmZelvarion::watchCells()
{
    for (ResultCell &cell : cells) {
        cell.thumb->installEventFilter(this);
        cell.name->installEventFilter(this);
    }
    connect(mnuOpenImage, &QAction::triggered, this, [this] {
        if (m_popupCell >= 0)
            openCellImage(m_popupCell);
    });
    rtfIPTC->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rtfIPTC, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        mnuIPTCCopy->setEnabled(rtfIPTC->textCursor().hasSelection());
        mnuIPTCPopup->popup(rtfIPTC->viewport()->mapToGlobal(at));
    });
    connect(mnuIPTCCopy, &QAction::triggered, rtfIPTC, &QTextEdit::copy);
}

int frmZelvarion::cellOf(QObject *watched) const
{
    for (int i = 0; i < kCells; ++i)
        if (watched == cells[i].thumb || watched == cells[i].name)
            return i;
    return -1;
}

bool frmZelvarion::eventFilter(QObject *watched, QEvent *event)
{
    const int index = cellOf(watched);
    if (index < 0)
        return QMainWindow::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_shiftClick = mouse->modifiers() == Qt::ShiftModifier;
        m_dragStart = mouse->globalPosition().toPoint();
        if (mouse->button() == Qt::RightButton)
            openImagePopup(index, mouse->globalPosition().toPoint());
        else if (mouse->button() == Qt::LeftButton)
            clickCell(index);
        return true;
    case QEvent::MouseButtonRelease:
        for (ResultCell &cell : cells)
            cell.draggable = false;
        return true;
    case QEvent::MouseButtonDblClick:
        openCellImage(index);
        return true;
    case QEvent::MouseMove:
        if ((mouse->buttons() & Qt::LeftButton) && cells[index].draggable
            && (mouse->globalPosition().toPoint() - m_dragStart).manhattanLength() >= QApplication::startDragDistance())
            startDrag(index);
        return true;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void frmZelvarion::selectCell(int index)
{
    if (!m_shiftClick) {
        for (ResultCell &cell : cells) {
            cell.selected = false;
            cell.name->setStyleSheet(QStringLiteral("color: black;"));
            cell.lineTop->hide();
            cell.lineDown->hide();
        }
    }
    ResultCell &cell = cells[index];
    cell.selected = true;
    cell.name->setStyleSheet(QStringLiteral("color: rgb(0, 0, 255);"));
    cell.lineTop->show();
    cell.lineDown->show();
}

void frmZelvarion::clickCell(int index)
{
    rtfIPTC->clear();
    rtfIPTC->repaint();
    if (index < 0 || index >= kCells || cells[index].name->text().isEmpty())
        return;
    selectCell(index);
    showImageDetail(cells[index]);
    cells[index].draggable = true;
    if (m_context.settings.displayImage)
        showInDisplayWindow(cells[index]);
    setFocus();
}

void frmZelvarion::showImageDetail(const ResultCell &cell)
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (!catalogue.openOrReport(*m_feedback))
        return;
    const QString statement = QStringLiteral("select * from Images where (Folder=") + sqlText(cell.folder)
                              + QStringLiteral(") and (File=") + sqlText(cell.file) + QStringLiteral(");");
    if (catalogue.executeOrReport(*m_feedback, statement, QStringLiteral("Cannot get data"))) {
        std::vector<QStringList> rows;
        for (int r = 1; r <= catalogue.rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < catalogue.columnCount(); ++c)
                row << catalogue.cell(c, r);
            rows.push_back(row);
        }
        const QString searched = chkIPTC[2]->isChecked() ? lstFields->currentText() : QString();
        const auto pieces = composeImageDetail(rows, m_context.language, searched);
        renderDetail(rtfIPTC, pieces, highlightRanges(pieces, highlightRequest()));
    }
    catalogue.close();
}

HighlightRequest frmZelvarion::highlightRequest() const
{
    HighlightRequest request;
    request.lastSearchText = m_search.lastSearchText;
    request.lastSearchWords = m_search.lastSearchWords;
    request.exactExpression = optOperator[0]->isChecked();
    request.wholeWord = chkWholeWord->isChecked();
    request.translation = lblTranslation->isVisible() ? lblTranslation->text() : QString();
    request.searchBoxText = lstTxtSearch->currentText();
    return request;
}

void frmZelvarion::openCellImage(int index)
{
    const ResultCell &cell = cells[index];
    if (!cell.name->text().isEmpty())
        shell::openWithDefaultProgram(cell.folder + cell.file); // errors are ignored
}

void frmZelvarion::openImagePopup(int index, const QPoint &at)
{
    if (cells[index].thumb->pixmap().isNull())
        return;
    m_popupCell = index;
    mnuOpenImage->setText(m_context.language.text(167).replace(u'%', cells[index].file));
    mnuEditIPTC->setEnabled(false);
    mnuImagePopup->popup(at);
}

// The selected cells' paths, in cell order, one a line; file managers get the same as URLs.
QMimeData *frmZelvarion::selectedPathsData() const
{
    QStringList paths;
    QList<QUrl> urls;
    for (const ResultCell &cell : cells) {
        if (!cell.selected || cell.name->text().isEmpty())
            continue;
        paths << cell.folder + cell.file;
        urls << QUrl::fromLocalFile(cell.folder + cell.file);
    }
    auto *data = new QMimeData;
    data->setText(paths.join(QStringLiteral("\r\n")));
    data->setUrls(urls);
    return data;
}

void frmZelvarion::startDrag(int index)
{
    cells[index].draggable = false;
    auto *drag = new QDrag(this);
    drag->setMimeData(selectedPathsData());
    if (!cells[index].thumb->pixmap().isNull())
        drag->setPixmap(cells[index].thumb->pixmap().scaled(64, 64, Qt::KeepAspectRatio));
    drag->exec(Qt::CopyAction);
}

void frmZelvarion::showInDisplayWindow(const ResultCell &cell)
{
    if (!m_displayWindow)
        m_displayWindow = new frmDisplayImage(m_context.ini, this);
    m_displayWindow->showImage(cell.folder + cell.file, cell.file);
}

void frmZelvarion::minimiseDisplayWindow()
{
    if (m_context.settings.displayImage && m_displayWindow && m_displayWindow->isVisible())
        m_displayWindow->showMinimized();
}

} // namespace zelvarion
