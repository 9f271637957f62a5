#include "ui/DetailPanel.h"

#include "core/session/LanguagePack.h"
#include "ui/Controls.h"

#include <QMenu>
#include <QVBoxLayout>
#include <QTextCursor>
#include <QTextEdit>

namespace zelvarion {
namespace {

QTextCharFormat formatFor(DetailStyle style)
{
    QTextCharFormat format;
    switch (style) {
    case DetailStyle::Value: format.setForeground(Qt::black); break;
    case DetailStyle::Label: format.setForeground(controls::kLabelGrey); break;
    case DetailStyle::BoldLabel:
        format.setForeground(controls::kLabelGrey);
        format.setFontWeight(QFont::Bold);
        break;
    case DetailStyle::Warning:
        format.setForeground(QColor(128, 0, 0));
        format.setFontWeight(QFont::Bold);
        break;
    case DetailStyle::SearchedLabel:
        format.setForeground(controls::kStatusRed);
        format.setFontWeight(QFont::Bold);
        break;
    }
    return format;
}

} // namespace

DetailPanel::DetailPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DetailPanel"));
    rtfIPTC = new QTextEdit(this);
    rtfIPTC->setObjectName(QStringLiteral("rtfIPTC"));
    rtfIPTC->setReadOnly(true);
    rtfIPTC->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(rtfIPTC, &QWidget::customContextMenuRequested, this, &DetailPanel::openCopyMenu);
    rtfIPTC->viewport()->installEventFilter(this);
    auto *whole = new QVBoxLayout(this);
    whole->setContentsMargins(0, 0, 0, 0);
    whole->addWidget(rtfIPTC);

    mnuIPTCPopup = new QMenu(this);
    mnuIPTCPopup->setObjectName(QStringLiteral("mnuIPTCPopup"));
    mnuIPTCCopy = mnuIPTCPopup->addAction(QStringLiteral("Copy"));
    mnuIPTCCopy->setObjectName(QStringLiteral("mnuIPTCCopy"));
    connect(mnuIPTCCopy, &QAction::triggered, rtfIPTC, &QTextEdit::copy);
}

void DetailPanel::applyLanguage(const LanguagePack &pack)
{
    mnuIPTCCopy->setText(pack.text(InterfaceText::CopyMenuItem));
}

bool DetailPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == rtfIPTC->viewport() && event->type() == QEvent::MouseButtonDblClick
        && !rtfIPTC->document()->isEmpty()) {
        Q_EMIT editRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void DetailPanel::clear()
{
    rtfIPTC->clear();
    rtfIPTC->repaint();
}

void DetailPanel::showNotice(const QString &text)
{
    rtfIPTC->setPlainText(text);
}

void DetailPanel::showDetail(const std::vector<DetailPiece> &pieces, const std::vector<TextRange> &lit)
{
    QTextDocument *document = rtfIPTC->document();
    document->clear();
    QTextCursor cursor(document);
    for (const DetailPiece &piece : pieces)
        cursor.insertText(piece.text, formatFor(piece.style));
    QTextCharFormat highlight;
    highlight.setForeground(controls::kLabelBlue);
    highlight.setFontWeight(QFont::Bold);
    for (const TextRange &range : lit) {
        cursor.setPosition(range.start);
        cursor.setPosition(range.start + range.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(highlight);
    }
    rtfIPTC->setTextCursor(QTextCursor(document));
}

QString DetailPanel::plainText() const
{
    return rtfIPTC->toPlainText();
}

// Copy is offered only while text is selected.
void DetailPanel::openCopyMenu(const QPoint &at)
{
    mnuIPTCCopy->setEnabled(rtfIPTC->textCursor().hasSelection());
    mnuIPTCPopup->popup(rtfIPTC->viewport()->mapToGlobal(at));
}

} // namespace zelvarion
