#include "ui/frmStatistics.h"

#include "core/words/EmptyWords.h"
#include "core/words/WordAnalysis.h"
#include "core/search/ResultList.h"
#include "core/session/Feedback.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "core/session/Twips.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeWidget>

namespace zelvarion {
using namespace controls;

namespace {
const QColor kLightRed(230, 60, 60);
constexpr QSize kDesignSize(560, 620);
constexpr QSize kButtonSize(210, 30);
} // namespace

// The core's messages go to the window's feedback; Stop and the window's events are this window's.
class frmStatistics::AnalysisFeedback : public Feedback
{
public:
    AnalysisFeedback(Feedback &outer, const bool &stop) : m_outer(outer), m_stop(stop) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title) override
    {
        m_outer.showMessage(text, icon, title);
    }
    bool askYesNo(const QString &text, MessageIcon icon) override { return m_outer.askYesNo(text, icon); }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool stopRequested() const override { return m_stop; }

private:
    Feedback &m_outer;
    const bool &m_stop;
};

frmStatistics::frmStatistics(AppContext &context, const ResultList &results, Feedback &feedback, QWidget *parent)
    : QWidget(parent, Qt::Window), m_context(context), m_results(results), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmStatistics"));
    setAttribute(Qt::WA_DeleteOnClose);
    createControls();
    createLists();
    layOut();
    applyTexts();
    cmdOK->setEnabled(results.count() > 0);
    lblMax->setText(QString::number(results.count()));
    ProgressBar1->setRange(0, std::max(1, results.count()));
    readOptions();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

frmStatistics::~frmStatistics() = default;

void frmStatistics::createControls()
{
    for (int i = 0; i < 2; ++i)
        optAnalyse[i] = named(new QRadioButton(this), indexed("optAnalyse", i));
    chkIgnoreEmptyWords = named(new QCheckBox(this), QStringLiteral("chkIgnoreEmptyWords"));
    chkDisplayUnknownOnly = named(new QCheckBox(this), QStringLiteral("chkDisplayUnknownOnly"));
    chkDisplayUnknownOnly->setEnabled(false);
    cmdOK = named(new QPushButton(this), QStringLiteral("cmdOK"));
    cmdStop = named(new QPushButton(this), QStringLiteral("cmdStop"));
    cmdStop->hide();
    cmdUnknownWords = named(new QPushButton(this), QStringLiteral("cmdUnknownWords"));
    cmdUnknownWords->setEnabled(false);
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    lblMin = named(new QLabel(QStringLiteral("0"), this), QStringLiteral("lblMin"));
    ProgressBar1 = named(new QProgressBar(this), QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    lblMax = named(new QLabel(this), QStringLiteral("lblMax"));
    lblCurrent = named(new QLabel(this), QStringLiteral("lblCurrent"));
    lblCurrent->setAlignment(Qt::AlignCenter);
    lblCurrent->hide();
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));
    lblStatus->setWordWrap(true);

    connect(cmdOK, &QPushButton::clicked, this, &frmStatistics::analyse);
    connect(cmdStop, &QPushButton::clicked, this, &frmStatistics::stop);
    connect(cmdUnknownWords, &QPushButton::clicked, this, &frmStatistics::highlightUnknownWords);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(chkDisplayUnknownOnly, &QCheckBox::clicked, this, &frmStatistics::displayUnknownOnlyClicked);
}

void frmStatistics::createLists()
{
    for (int i = 0; i < 2; ++i) {
        auto *view = named(new QTreeWidget(this), indexed("lvWords", i));
        view->setColumnCount(3);
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->header()->setSectionsClickable(true);
        view->header()->setSortIndicatorShown(true);
        view->header()->setStretchLastSection(false);
        view->setColumnHidden(2, true);
        view->headerItem()->setTextAlignment(1, Qt::AlignCenter);
        m_lists[std::size_t(i)].view = view;
        connect(view->header(), &QHeaderView::sectionClicked, this, [this, i](int column) { sortList(i, column); });
        connect(view, &QTreeWidget::itemDoubleClicked, this, &frmStatistics::doubleClicked);
        showSortMark(m_lists[std::size_t(i)]);
    }
    m_lists[1].view->hide();
}

// The options beside the commands, the progress under them, and the lists taking the room the
// window is given. Analyse and Stop share a place: one of them is shown at a time, as are the lists.
void frmStatistics::layOut()
{
    auto *options = new QVBoxLayout;
    options->setSpacing(2);
    for (QWidget *option : std::initializer_list<QWidget *>{optAnalyse[0], optAnalyse[1], chkIgnoreEmptyWords,
                                                            chkDisplayUnknownOnly}) {
        option->setMinimumHeight(22);
        options->addWidget(option);
    }
    options->insertSpacing(2, 4);
    options->addStretch(1);
    auto *commands = new QVBoxLayout;
    commands->setSpacing(6);
    for (QPushButton *button : {cmdOK, cmdStop, cmdUnknownWords, cmdCancel}) {
        button->setMinimumSize(kButtonSize);
        commands->addWidget(button);
    }
    auto *top = new QHBoxLayout;
    top->addLayout(options, 1);
    top->addLayout(commands);
    top->addSpacing(8);

    auto *progress = new QHBoxLayout;
    progress->setSpacing(2);
    lblMin->setFixedWidth(30);
    lblMax->setFixedWidth(70);
    progress->addWidget(lblMin);
    progress->addWidget(ProgressBar1, 1);
    progress->addSpacing(4);
    progress->addWidget(lblMax);
    // The current rank shows only while an analysis runs; its line keeps its place meanwhile.
    QSizePolicy keepPlace = lblCurrent->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    lblCurrent->setSizePolicy(keepPlace);
    for (QWidget *line : std::initializer_list<QWidget *>{lblMin, ProgressBar1, lblMax, lblCurrent})
        line->setFixedHeight(20);
    lblStatus->setMinimumHeight(40);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 12);
    column->setSpacing(0);
    column->addLayout(top);
    column->addSpacing(8);
    column->addLayout(progress);
    column->addSpacing(2);
    column->addWidget(lblCurrent);
    column->addSpacing(2);
    column->addWidget(lblStatus);
    column->addSpacing(6);
    for (WordList &list : m_lists)
        column->addWidget(list.view, 1);
    resize(kDesignSize.expandedTo(minimumSizeHint()));
}

void frmStatistics::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    for (WordList &list : m_lists)
        fitColumns(*list.view);
}

// The count column keeps its design width unless its caption and sort mark need more; the word
// column takes the rest beside the scroll bar.
void frmStatistics::fitColumns(QTreeWidget &view)
{
    const int count = std::max(pixels(1500), view.header()->sectionSizeHint(1));
    view.setColumnWidth(1, count);
    view.setColumnWidth(0, view.width() - count - pixels(300));
}

void frmStatistics::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::StatisticsMenuItem)));
    optAnalyse[0]->setText(pack.text(InterfaceText::AnalyseKeywordsOption));
    optAnalyse[1]->setText(pack.text(InterfaceText::AnalyseAllFieldsOption));
    chkIgnoreEmptyWords->setText(pack.text(InterfaceText::IgnoreEmptyWordsOption));
    chkDisplayUnknownOnly->setText(pack.text(InterfaceText::UnknownOnlyOption));
    cmdOK->setText(pack.text(InterfaceText::AnalyseButton));
    cmdStop->setText(pack.text(InterfaceText::StopButton));
    cmdUnknownWords->setText(pack.text(InterfaceText::HighlightUnknownButton));
    cmdCancel->setText(pack.text(InterfaceText::CancelButton));
    for (WordList &list : m_lists)
        list.view->setHeaderLabels({pack.text(InterfaceText::WordHeader), pack.text(InterfaceText::OccurrencesHeader),
                                    pack.text(InterfaceText::OccurrencesHeader)});
    for (WordList &list : m_lists)
        fitColumns(*list.view);
}

// The empty words are read once; their changes apply from the next opening.
void frmStatistics::readOptions()
{
    m_emptyWords = readEmptyWords(m_context.ini);
    chkIgnoreEmptyWords->setEnabled(!m_emptyWords.isEmpty());
    const AppSettings &settings = m_context.settings;
    optAnalyse[settings.statisticsAllFields ? 1 : 0]->setChecked(true);
    chkIgnoreEmptyWords->setChecked(settings.ignoreEmptyWords && !m_emptyWords.isEmpty());
}

void frmStatistics::setAnalysing(bool on)
{
    m_analysing = on;
    cmdStop->setVisible(on);
    cmdOK->setVisible(!on);
    lblCurrent->setVisible(on);
}

void frmStatistics::showProgress(int rank)
{
    ProgressBar1->setValue(rank);
    lblCurrent->setText(QString::number(rank));
}

// The main window stays usable while the analysis lets events run: a search there may replace
// the result or open and close the shared catalogue connection. The analysis therefore counts
// the result as it was when Analyse was pressed, over a connection of its own.
void frmStatistics::analyse()
{
    const ResultList results = m_results;
    const int count = results.count();
    if (count == 0 || m_analysing)
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    lblMax->setText(QString::number(count));
    ProgressBar1->setRange(0, count);
    m_stopRequested = false;
    setAnalysing(true);
    for (WordList &list : m_lists) {
        list.words.clear();
        list.view->clear();
    }
    m_unknown.clear();
    m_lists[0].view->show();
    m_lists[1].view->hide();
    cmdUnknownWords->setEnabled(false);
    chkDisplayUnknownOnly->setChecked(false);
    chkDisplayUnknownOnly->setEnabled(false);
    lblStatus->setStyleSheet(QStringLiteral("color: rgb(240, 110, 110);"));
    lblStatus->setText(m_context.language.text(InterfaceText::AnalysingStatus));

    const EmptyWordTable emptyWords(m_emptyWords);
    WordAnalysisRequest request;
    request.allFields = optAnalyse[1]->isChecked();
    request.ignored = chkIgnoreEmptyWords->isChecked() ? &emptyWords : nullptr;
    request.beforeImage = [this](int rank) { showProgress(rank); };
    AnalysisFeedback feedback(m_feedback, m_stopRequested);
    CatalogueDb catalogue;
    catalogue.path = m_context.catalogue.path;
    WordAnalysisOutcome outcome = analyseWords(request, results, catalogue, feedback, m_context.language);
    setAnalysing(false);
    ProgressBar1->setValue(0);
    if (!outcome.opened) {
        lblStatus->clear();
        return;
    }
    m_lists[0].words = std::move(outcome.words);
    sortWords(m_lists[0].words, m_lists[0].key, m_lists[0].ascending, m_order);
    fill(m_lists[0]);
    lblStatus->setStyleSheet(QStringLiteral("color: rgb(0, 0, 139);"));
    lblStatus->setText(analysisSummary(m_context.language, elapsed.elapsed() / 1000, int(m_lists[0].words.size()), count));
    cmdUnknownWords->setEnabled(!m_lists[0].words.empty());
}

void frmStatistics::fill(WordList &list)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(list.words.size()));
    const QIcon unknownIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const WordCount &word : list.words) {
        auto *item = new QTreeWidgetItem({word.word, QString::number(word.count),
                                          QStringLiteral("%1").arg(word.count, 10, 10, QLatin1Char('0'))});
        item->setTextAlignment(1, Qt::AlignCenter);
        if (m_unknown.contains(word.word)) {
            item->setForeground(0, kLightRed);
            item->setForeground(1, kLightRed);
            item->setIcon(0, unknownIcon);
        }
        items << item;
    }
    list.view->clear();
    list.view->addTopLevelItems(items);
}

void frmStatistics::showSortMark(const WordList &list)
{
    list.view->header()->setSortIndicator(list.key == WordSortKey::Count ? 1 : 0,
                                          list.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void frmStatistics::sortList(int index, int column)
{
    WordList &list = m_lists[std::size_t(index)];
    list.key = column == 1 ? WordSortKey::Count : WordSortKey::Word;
    list.ascending = !list.ascending;
    sortWords(list.words, list.key, list.ascending, m_order);
    showSortMark(list);
    fill(list);
}

void frmStatistics::highlightUnknownWords()
{
    WordList &unknown = m_lists[1];
    unknown.words.clear();
    unknown.view->clear();
    chkDisplayUnknownOnly->setEnabled(false);
    const std::unique_ptr<Speller> speller = m_context.spelling.start();
    if (!speller) {
        lblStatus->setText(m_context.language.message(Message::SpellerUnavailable));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_unknown.clear();
    for (const WordCount &word : m_lists[0].words) {
        if (speller->isCorrect(word.word))
            continue;
        m_unknown.insert(word.word);
        unknown.words.push_back(word);
    }
    sortWords(unknown.words, unknown.key, unknown.ascending, m_order);
    fill(m_lists[0]);
    fill(unknown);
    chkDisplayUnknownOnly->setEnabled(true);
    QApplication::restoreOverrideCursor();
}

void frmStatistics::displayUnknownOnlyClicked()
{
    const bool unknownOnly = chkDisplayUnknownOnly->isChecked();
    m_lists[1].view->setVisible(unknownOnly);
    m_lists[0].view->setVisible(!unknownOnly);
}

void frmStatistics::doubleClicked(QTreeWidgetItem *item)
{
    if (item)
        Q_EMIT searchRequested(item->text(0));
}

void frmStatistics::closeEvent(QCloseEvent *event)
{
    if (m_analysing) {
        // The analysis ends at the next image; the window closes once it has.
        m_stopRequested = true;
        event->ignore();
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    m_context.setSetting(&AppSettings::statisticsAllFields, optAnalyse[1]->isChecked());
    m_context.setSetting(&AppSettings::ignoreEmptyWords, chkIgnoreEmptyWords->isChecked());
    Q_EMIT closed();
    event->accept();
}

} // namespace zelvarion
