// The search controls of the main window: their creation, captions and what a search reads.
#include "ui/SearchPanel.h"

#include "core/iptc/IptcField.h"
#include "core/search/RunSearch.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/Pictures.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

SearchPanel::SearchPanel(AppContext &context, Feedback &feedback, QWidget *parent)
    : QWidget(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("SearchPanel"));
    createTextRow();
    createOperatorRow();
    createFilterRows();
    createSortRow();
    m_wholeWordTop = chkWholeWord->y();
    connectRules();
    setInitialStates();
}

void SearchPanel::createTextRow()
{
    lstTxtSearch = named(new QComboBox(this), QStringLiteral("lstTxtSearch"));
    lstTxtSearch->setEditable(true);
    lstTxtSearch->setInsertPolicy(QComboBox::NoInsert);
    lstTxtSearch->setGeometry(8, 8, 316, 26);
    cmdSearch = named(new QPushButton(QStringLiteral("Search"), this), QStringLiteral("cmdSearch"));
    cmdSearch->setGeometry(330, 7, 86, 28);
    roundCorners(cmdSearch);
    cmdErase = named(new QToolButton(this), QStringLiteral("cmdErase"));
    cmdErase->setIcon(pictures::eraseIcon());
    cmdErase->setAutoRaise(true);
    cmdErase->setGeometry(420, 9, 24, 24);
    lbllblFound = named(new QLabel(QStringLiteral("#Found:"), this), QStringLiteral("lbllblFound"));
    lbllblFound->setGeometry(452, 12, 56, 20);
    lblFound = named(new QLabel(this), QStringLiteral("lblFound"));
    lblFound->setGeometry(508, 12, 70, 20);
}

void SearchPanel::createOperatorRow()
{
    FrameOperator = named(new QGroupBox(this), QStringLiteral("FrameOperator"));
    FrameOperator->setGeometry(8, 36, 408, 44);
    const QString operatorCaptions[] = {QStringLiteral("exact expression"), QStringLiteral("all the words"),
                                        QStringLiteral("one of the words")};
    for (int i = 0; i < 3; ++i) {
        optOperator[i] = named(new QRadioButton(operatorCaptions[i], FrameOperator), indexed("optOperator", i));
        optOperator[i]->setGeometry(10 + 132 * i, 14, 130, 22);
    }
    optOperator[0]->setChecked(true);
    chkWholeWord = named(new QCheckBox(QStringLiteral("whole word"), this), QStringLiteral("chkWholeWord"));
    chkWholeWord->setGeometry(424, 38, 170, 20);
    chkTranslation = named(new QCheckBox(QStringLiteral("automatic translation"), this),
                           QStringLiteral("chkTranslation"));
    chkTranslation->setGeometry(424, 60, 168, 20);
    lblTranslation = named(new QLabel(QStringLiteral("translation"), this), QStringLiteral("lblTranslation"));
    lblTranslation->setGeometry(594, 61, 113, 18);
    lblTranslation->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));
}

void SearchPanel::createFilterRows()
{
    const QString iptcCaptions[] = {QStringLiteral("Images without IPTC informations"),
                                    QStringLiteral("Images with IPTC informations"), QStringLiteral("IPTC field...")};
    const int iptcX[] = {8, 222, 424};
    const int iptcW[] = {212, 200, 100};
    for (int i = 0; i < 3; ++i) {
        chkIPTC[i] = named(new QCheckBox(iptcCaptions[i], this), indexed("chkIPTC", i));
        chkIPTC[i]->setGeometry(iptcX[i], 86, iptcW[i], 20);
    }
    lstFields = named(new QComboBox(this), QStringLiteral("lstFields"));
    lstFields->setGeometry(526, 84, 181, 24);

    const QString revisedCaptions[] = {QStringLiteral("Informations never revised"),
                                       QStringLiteral("Informations already revised")};
    for (int i = 0; i < 2; ++i) {
        chkRevised[i] = named(new QCheckBox(revisedCaptions[i], this), indexed("chkRevised", i));
        chkRevised[i]->setGeometry(8 + 184 * i, 110, 182, 20);
    }
    const QString orderCaptions[] = {QStringLiteral("chronological order"),
                                     QStringLiteral("reverse chronological  order")};
    auto *orderGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optOrder[i] = named(new QRadioButton(orderCaptions[i], this), indexed("optOrder", i));
        optOrder[i]->setGeometry(376 + 136 * i, 110, i == 0 ? 134 : 195, 20);
        orderGroup->addButton(optOrder[i]);
    }
}

void SearchPanel::createSortRow()
{
    lblSortedBy = named(new QLabel(QStringLiteral("Sorted by"), this), QStringLiteral("lblSortedBy"));
    lblSortedBy->setGeometry(8, 136, 70, 20);
    lstSortedBy = named(new QComboBox(this), QStringLiteral("lstSortedBy"));
    lstSortedBy->setGeometry(80, 134, 240, 24);
    auto *sortGroup = new QButtonGroup(this);
    const QString sortCaptions[] = {QStringLiteral("+"), QStringLiteral("-")};
    for (int i = 0; i < 2; ++i) {
        optSortedBy[i] = named(new QRadioButton(sortCaptions[i], this), indexed("optSortedBy", i));
        optSortedBy[i]->setGeometry(328 + 46 * i, 136, 44, 20);
        sortGroup->addButton(optSortedBy[i]);
    }
    optSortedBy[0]->setChecked(true);
}

void SearchPanel::applyLanguage()
{
    using enum InterfaceText;
    const LanguagePack &pack = m_context.language;
    auto caption = [&pack](auto *control, InterfaceText key) { control->setText(pack.text(key)); };
    caption(lbllblFound, FoundCountLabel);
    caption(cmdSearch, SearchButton);
    cmdErase->setToolTip(pack.text(EraseHistoryQuestion));
    caption(chkWholeWord, WholeWordOption);
    caption(chkRevised[0], NeverRevisedOption);
    caption(chkRevised[1], AlreadyRevisedOption);
    caption(optOrder[0], ChronologicalOrderOption);
    caption(optOrder[1], ReverseChronologicalOrderOption);
    caption(chkIPTC[0], WithoutIptcOption);
    caption(chkIPTC[1], WithIptcOption);
    caption(chkIPTC[2], FieldSearchOption);
    caption(lblSortedBy, SortedByLabel);
    caption(chkTranslation, TranslationOption);
    caption(optOperator[0], ExactExpressionOption);
    caption(optOperator[1], AndOperatorOption);
    caption(optOperator[2], OrOperatorOption);

    lstFields->clear();
    for (int i = 0; i < kIptcFieldCount; ++i)
        lstFields->addItem(pack.text(fieldLabel(i)));
    lstFields->setCurrentIndex(selectedFieldPosition(m_context.settings, lstFields->count()));

    lstSortedBy->clear();
    for (InterfaceText sort : {SortNone, SortFileSize, SortWidth, SortHeight, SortFileName, SortFolder})
        lstSortedBy->addItem(pack.text(sort));
    for (int i = 0; i < kIptcFieldCount; ++i)
        lstSortedBy->addItem(pack.text(fieldLabel(i)));
    lstSortedBy->setCurrentIndex(0);
}

void SearchPanel::applySettings()
{
    const AppSettings &settings = m_context.settings;
    setBoxChecked(chkIPTC[2], settings.fieldIPTC);
    setBoxChecked(chkWholeWord, settings.wholeWord);
    setBoxChecked(chkTranslation, settings.useTranslation);
}

void SearchPanel::applyTranslationsState(const TranslationsState &state)
{
    if (!state.tableCleared)
        return;
    chkTranslation->setVisible(state.fileExists);
    chkWholeWord->move(chkWholeWord->x(), state.fileExists ? m_wholeWordTop : chkTranslation->y());
}

QString SearchPanel::searchText() const
{
    return lstTxtSearch->currentText();
}

void SearchPanel::setSearchText(const QString &text)
{
    lstTxtSearch->setCurrentText(text);
}

void SearchPanel::prepareWordSearch(const QString &word)
{
    setBoxChecked(chkIPTC[0], false);
    setBoxChecked(chkIPTC[1], false);
    setSearchText(word);
}

QStringList SearchPanel::history() const
{
    QStringList entries;
    for (int i = 0; i < lstTxtSearch->count(); ++i)
        entries << lstTxtSearch->itemText(i);
    return entries;
}

void SearchPanel::setHistory(const QStringList &entries)
{
    const QString typed = lstTxtSearch->currentText();
    lstTxtSearch->clear();
    lstTxtSearch->addItems(entries);
    if (typed.isEmpty())
        lstTxtSearch->setCurrentIndex(-1);
    else
        lstTxtSearch->setCurrentText(typed);
}

SearchRequest SearchPanel::request() const
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

HighlightRequest SearchPanel::highlightRequest() const
{
    HighlightRequest request;
    request.exactExpression = optOperator[0]->isChecked();
    request.wholeWord = chkWholeWord->isChecked();
    request.translation = lblTranslation->isVisible() ? lblTranslation->text() : QString();
    request.searchBoxText = lstTxtSearch->currentText();
    return request;
}

QString SearchPanel::searchedFieldLabel() const
{
    return chkIPTC[2]->isChecked() ? lstFields->currentText() : QString();
}

void SearchPanel::clearOutcome()
{
    lblFound->clear();
    lblFound->repaint();
    lblTranslation->clear();
    lblTranslation->hide();
}

void SearchPanel::showOutcome(const SearchOutcome &outcome)
{
    if (!outcome.translationShown.isEmpty()) {
        lblTranslation->setText(outcome.translationShown);
        lblTranslation->show();
    }
    if (outcome.found)
        showFound(*outcome.found);
}

void SearchPanel::showFound(int count)
{
    lblFound->setText(QString::number(count));
    lblFound->repaint();
}

} // namespace zelvarion
