// The Search button: the request read from the controls, the search itself and its display.
#include "ui/frmZelvarion.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QComboBox>
#include <QRadioButton>

namespace zelvarion {

SearchRequest frmZelvarion::searchRequest() const
{
    const AppSettings &settings = m_context.settings;
    SearchRequest request;
    request.text = lstTxtSearch->currentText();
    request.withoutIptc = chkIPTC[0]->isChecked();
    request.withIptc = chkIPTC[1]->isChecked();
    request.fieldSearch = chkIPTC[2]->isChecked();
    request.fieldIndex = lstFields->currentIndex();
    request.wholeWord = chkWholeWord->isChecked();
    request.op = optOperator[1]->isChecked()   ? SearchOperator::And
                 : optOperator[2]->isChecked() ? SearchOperator::Or
                                               : SearchOperator::ExactExpression;
    request.useTranslation = chkTranslation->isChecked() && chkTranslation->isVisible();
    request.translationDirection = translationDirectionFrom(settings.translation);
    request.revised = chkRevised[0]->isChecked()   ? RevisedFilter::NeverRevised
                      : chkRevised[1]->isChecked() ? RevisedFilter::AlreadyRevised
                                                   : RevisedFilter::Any;
    request.revisionAscending = !optOrder[1]->isChecked();
    request.sortIndex = std::max(0, lstSortedBy->currentIndex());
    request.sortAscending = !optSortedBy[1]->isChecked();
    request.targets = searchTargetsFrom(settings);
    return request;
}

// Everything the last search showed is cleared before the next one runs.
void frmZelvarion::resetSearchDisplay()
{
    lblFound->clear();
    lblFound->repaint();
    lblTranslation->clear();
    lblTranslation->hide();
    for (QAction *item : {mnuStatistics, mnuApplyTemplate, mnuCopyImages})
        item->setEnabled(false);
    FrameImages->setTitle(QString());
    setNavigationEnabled(false);
    m_shiftClick = false;
    m_paging.reset(0);
    clearResultPage();
}

void frmZelvarion::runSearch()
{
    resetSearchDisplay();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_search.history.clear();
    for (int i = 0; i < lstTxtSearch->count(); ++i)
        m_search.history << lstTxtSearch->itemText(i);
    SearchEnvironment environment{m_context.catalogue, *m_feedback, searchMessages(m_context.language),
                                  m_context.translations.loaded, false};
    const QString typed = lstTxtSearch->currentText();
    const SearchOutcome outcome = zelvarion::runSearch(searchRequest(), m_search, environment);
    if (outcome.historyChanged) {
        lstTxtSearch->clear();
        lstTxtSearch->addItems(m_search.history);
        lstTxtSearch->setCurrentText(typed);
    }
    showSearchOutcome(outcome);
    QApplication::restoreOverrideCursor();
}

void frmZelvarion::showSearchOutcome(const SearchOutcome &outcome)
{
    if (!outcome.translationShown.isEmpty()) {
        lblTranslation->setText(outcome.translationShown);
        lblTranslation->show();
    }
    if (outcome.found) {
        lblFound->setText(QString::number(*outcome.found));
        lblFound->repaint();
    }
    mnuApplyTemplate->setEnabled(false); // applying templates is not in this version
    mnuStatistics->setEnabled(false);    // nor are word statistics
    mnuCopyImages->setEnabled(false);    // nor copying images
    setNavigationEnabled(outcome.enableNavigation);
    if (outcome.showFirstPage) {
        m_paging.reset(m_search.results.count());
        showResultPage();
    }
}

} // namespace zelvarion
