#pragma once

#include "core/search/ImageDetail.h"

#include <QWidget>

class QAction;
class QMenu;
class QTextEdit;

namespace zelvarion {

class LanguagePack;

// The detail panel below the result grid: the read-only text of the clicked image with the
// searched words lit, the start-up notice, and the Copy pop-up menu of a selection.
class DetailPanel : public QWidget
{
    Q_OBJECT
public:
    explicit DetailPanel(QWidget *parent);

    void applyLanguage(const LanguagePack &pack);

    // Empties the panel (plain black text) and repaints it at once.
    void clear();
    // Plain text, such as the start-up notice.
    void showNotice(const QString &text);
    // The composed pieces in their styles, the ranges bold and light blue; the caret at the start.
    void showDetail(const std::vector<DetailPiece> &pieces, const std::vector<TextRange> &lit);

    QString plainText() const;

Q_SIGNALS:
    // A double-click on the text: the image shown is to be edited.
    void editRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openCopyMenu(const QPoint &at);

    QTextEdit *rtfIPTC = nullptr;
    QMenu *mnuIPTCPopup = nullptr;
    QAction *mnuIPTCCopy = nullptr;
};

} // namespace zelvarion
