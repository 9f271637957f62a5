#pragma once

#include "core/words/WordStatistics.h"

#include <QSet>
#include <QWidget>
#include <array>
#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zelvarion {

struct AppContext;
class Feedback;
class ResultList;

// The non-modal word statistics of the search result: every word of the keywords or of all IPTC
// fields with its count, optionally without the empty words; the words the dictionary does not
// know can be lit and listed apart. A double click on a word asks for a search of it.
class frmStatistics : public QWidget
{
    Q_OBJECT
public:
    // results: the main window's result, read when Analyse is pressed.
    frmStatistics(AppContext &context, const ResultList &results, Feedback &feedback, QWidget *parent = nullptr);
    ~frmStatistics() override;

    void analyse();
    void stop() { m_stopRequested = true; }
    bool isAnalysing() const { return m_analysing; }
    void highlightUnknownWords();
    // A click on header column (0 word, 1 count) of list 0 (all words) or 1 (unknown words).
    void sortList(int list, int column);

Q_SIGNALS:
    // The main window runs a search for the word, with the IPTC presence boxes unticked.
    void searchRequested(const QString &word);
    // The window closed: its menu item may be enabled again.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    class AnalysisFeedback;
    struct WordList
    {
        QTreeWidget *view = nullptr;
        std::vector<WordCount> words;
        WordSortKey key = WordSortKey::Count;
        bool ascending = false;
    };

    void createControls();
    void createLists();
    void layOut();
    void applyTexts();
    void fitColumns(QTreeWidget &view);
    void readOptions();
    void fill(WordList &list);
    void showSortMark(const WordList &list);
    void setAnalysing(bool on);
    void showProgress(int rank);
    void displayUnknownOnlyClicked();
    void doubleClicked(QTreeWidgetItem *item);

    AppContext &m_context;
    const ResultList &m_results;
    Feedback &m_feedback;
    QStringList m_emptyWords;
    std::array<WordList, 2> m_lists;
    QSet<QString> m_unknown;
    WordOrder m_order;
    bool m_analysing = false;
    bool m_stopRequested = false;

    std::array<QRadioButton *, 2> optAnalyse{};
    QCheckBox *chkIgnoreEmptyWords = nullptr, *chkDisplayUnknownOnly = nullptr;
    QPushButton *cmdOK = nullptr, *cmdStop = nullptr, *cmdUnknownWords = nullptr, *cmdCancel = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QLabel *lblMin = nullptr, *lblMax = nullptr, *lblCurrent = nullptr, *lblStatus = nullptr;
};

} // namespace zelvarion
