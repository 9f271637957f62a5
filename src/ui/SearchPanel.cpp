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
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kSearchButtonWidth = 86;

} // namespace

SearchPanel::SearchPanel(AppContext &context, Feedback &feedback, QWidget *parent)
    : QWidget(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("SearchPanel"));
    createTextRow();
    createOperatorRow();
    createFilterRows();
    createSortRow();
    layOut();
    connectRules();
    setInitialStates();
}

void SearchPanel::createTextRow()
{
    lstTxtSearch = named(new QComboBox(this), QStringLiteral("lstTxtSearch"));
    lstTxtSearch->setEditable(true);
    lstTxtSearch->setInsertPolicy(QComboBox::NoInsert);
    // A search runs on exactly what was typed: no completion from the history, whose entries
    // stay in the drop-down list.
    lstTxtSearch->setCompleter(nullptr);
    // A long remembered search must not widen the row.
    lstTxtSearch->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lstTxtSearch->setMinimumContentsLength(24);
    cmdSearch = named(new QPushButton(QStringLiteral("Search"), this), QStringLiteral("cmdSearch"));
    roundCorners(cmdSearch);
    cmdErase = named(new QToolButton(this), QStringLiteral("cmdErase"));
    cmdErase->setIcon(pictures::eraseIcon());
    cmdErase->setAutoRaise(true);
    lbllblFound = named(new QLabel(QStringLiteral("#Found:"), this), QStringLiteral("lbllblFound"));
    lblFound = named(new QLabel(this), QStringLiteral("lblFound"));
    lblFound->setMinimumWidth(countWidth(lblFound));
}

void SearchPanel::createOperatorRow()
{
    FrameOperator = named(new QGroupBox(this), QStringLiteral("FrameOperator"));
    const QString operatorCaptions[] = {QStringLiteral("exact expression"), QStringLiteral("all the words"),
                                        QStringLiteral("one of the words")};
    for (int i = 0; i < 3; ++i)
        optOperator[i] = named(new QRadioButton(operatorCaptions[i], FrameOperator), indexed("optOperator", i));
    optOperator[0]->setChecked(true);
    chkWholeWord = named(new QCheckBox(QStringLiteral("whole word"), this), QStringLiteral("chkWholeWord"));
    chkTranslation = named(new QCheckBox(QStringLiteral("automatic translation"), this),
                           QStringLiteral("chkTranslation"));
    // Shown with the translation a search found; nothing to show before.
    lblTranslation = named(new QLabel(this), QStringLiteral("lblTranslation"));
    lblTranslation->setStyleSheet(QStringLiteral("color: %1;").arg(kLabelGrey.name()));
    lblTranslation->setMinimumWidth(1); // a long translation is cut rather than widening the row
    lblTranslation->hide();
}

void SearchPanel::createFilterRows()
{
    const QString iptcCaptions[] = {QStringLiteral("Images without IPTC information"),
                                    QStringLiteral("Images with IPTC information"), QStringLiteral("IPTC field...")};
    for (int i = 0; i < 3; ++i)
        chkIPTC[i] = named(new QCheckBox(iptcCaptions[i], this), indexed("chkIPTC", i));
    lstFields = named(new QComboBox(this), QStringLiteral("lstFields"));
    lstFields->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    lstFields->setMinimumContentsLength(16);

    const QString revisedCaptions[] = {QStringLiteral("Information never revised"),
                                       QStringLiteral("Information already revised")};
    for (int i = 0; i < 2; ++i)
        chkRevised[i] = named(new QCheckBox(revisedCaptions[i], this), indexed("chkRevised", i));
    const QString orderCaptions[] = {QStringLiteral("chronological order"),
                                     QStringLiteral("reverse chronological order")};
    auto *orderGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        optOrder[i] = named(new QRadioButton(orderCaptions[i], this), indexed("optOrder", i));
        orderGroup->addButton(optOrder[i]);
    }
}

void SearchPanel::createSortRow()
{
    lblSortedBy = named(new QLabel(QStringLiteral("Sorted by"), this), QStringLiteral("lblSortedBy"));
    lstSortedBy = named(new QComboBox(this), QStringLiteral("lstSortedBy"));
    lstSortedBy->setFixedWidth(240);
    auto *sortGroup = new QButtonGroup(this);
    const QString sortCaptions[] = {QStringLiteral("+"), QStringLiteral("-")};
    for (int i = 0; i < 2; ++i) {
        optSortedBy[i] = named(new QRadioButton(sortCaptions[i], this), indexed("optSortedBy", i));
        sortGroup->addButton(optSortedBy[i]);
    }
    optSortedBy[0]->setChecked(true);
}

// Rows of controls as wide as their captions ask, in every language; the first two rows leave
// the corner on their right to the window.
void SearchPanel::layOut()
{
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 6, 8, 2);
    rows->setSpacing(3);
    m_top = new QGridLayout;
    m_top->setHorizontalSpacing(12);
    m_top->setVerticalSpacing(3);
    rows->addLayout(m_top);

    auto *text = new QHBoxLayout;
    text->addWidget(lstTxtSearch, 1);
    text->addWidget(cmdSearch);
    text->addWidget(cmdErase);
    text->addSpacing(6);
    text->addWidget(lbllblFound);
    text->addSpacing(4);
    text->addWidget(lblFound);
    m_top->addLayout(text, 0, 0);

    auto *operators = new QHBoxLayout(FrameOperator);
    operators->setContentsMargins(10, 4, 10, 4);
    operators->setSpacing(16);
    for (QRadioButton *button : optOperator)
        operators->addWidget(button);
    m_exactOnly = new QGridLayout;
    m_exactOnly->setVerticalSpacing(2);
    m_exactOnly->addWidget(chkWholeWord, 0, 0);
    m_exactOnly->addWidget(chkTranslation, 1, 0);
    m_exactOnly->addWidget(lblTranslation, 1, 1);
    m_exactOnly->setColumnStretch(1, 1);
    // Both rows keep their height, so the whole-word box can take the translation box's place.
    for (int r = 0; r < 2; ++r)
        m_exactOnly->setRowMinimumHeight(r, chkTranslation->sizeHint().height());
    auto *words = new QHBoxLayout;
    words->addWidget(FrameOperator);
    words->addSpacing(6);
    words->addLayout(m_exactOnly, 1);
    m_top->addLayout(words, 1, 0);
    m_top->setColumnStretch(0, 1);

    rows->addLayout(row({chkIPTC[0], chkIPTC[1], chkIPTC[2]}, lstFields));
    rows->addLayout(row({chkRevised[0], chkRevised[1], optOrder[0], optOrder[1]}, nullptr));
    rows->addLayout(row({lblSortedBy, lstSortedBy, optSortedBy[0], optSortedBy[1]}, nullptr));
}

// The controls left to right; the last one, when given, takes the rest of the row.
QHBoxLayout *SearchPanel::row(std::initializer_list<QWidget *> controls, QWidget *stretching)
{
    auto *line = new QHBoxLayout;
    line->setSpacing(8);
    for (QWidget *control : controls)
        line->addWidget(control);
    if (stretching)
        line->addWidget(stretching, 1);
    else
        line->addStretch(1);
    return line;
}

void SearchPanel::setCornerWidget(QWidget *corner)
{
    m_top->addWidget(corner, 0, 1, 2, 1, Qt::AlignRight | Qt::AlignTop);
}

int SearchPanel::countWidth(const QWidget *label)
{
    return label->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 2;
}

void SearchPanel::applyLanguage()
{
    using enum InterfaceText;
    const LanguagePack &pack = m_context.language;
    auto caption = [&pack](auto *control, InterfaceText key) { control->setText(pack.text(key)); };
    caption(lbllblFound, FoundCountLabel);
    caption(cmdSearch, SearchButton);
    fitRoundedButton(cmdSearch, kSearchButtonWidth);
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
    // Without translations the whole-word box takes the place of the translation box.
    m_exactOnly->removeWidget(chkWholeWord);
    m_exactOnly->addWidget(chkWholeWord, state.fileExists ? 0 : 1, 0);
    layout()->activate();
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
    clearFound();
    lblTranslation->clear();
    lblTranslation->hide();
    lstTxtSearch->lineEdit()->setPlaceholderText(QString());
}

void SearchPanel::clearFound()
{
    lblFound->clear();
    lblFound->repaint();
}

void SearchPanel::describeResult(const QString &description)
{
    lstTxtSearch->setCurrentText(QString());
    lstTxtSearch->lineEdit()->setPlaceholderText(description);
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
