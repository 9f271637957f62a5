#pragma once

#include "core/catalogue/SearchRequest.h"
#include "core/search/ImageDetail.h"

#include <QWidget>
#include <array>
#include <initializer_list>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace zelvarion {

struct AppContext;
class Feedback;
struct SearchOutcome;
struct TranslationsState;

// The search controls of the main window: the search box with its history, the operator, whole
// word and translation, the IPTC boxes and the field list, the revised and sort controls, and the
// found counter. It keeps the rules that make the controls consistent and stores the settings
// their clicks change; the window reads the request from it when a search runs.
class SearchPanel : public QWidget
{
    Q_OBJECT
public:
    SearchPanel(AppContext &context, Feedback &feedback, QWidget *parent);

    void applyLanguage(); // captions, and lstFields at the IndexFieldIPTC setting
    // The window's own controls beside the first two rows, on the right.
    void setCornerWidget(QWidget *corner);
    // Room for a count of seven digits in the font of `label`.
    static int countWidth(const QWidget *label);
    // The start-up state of the boxes from the settings; each rule runs as a click would.
    void applySettings();
    // Without a translations file the automatic-translation box is hidden and the whole-word box
    // takes its place.
    void applyTranslationsState(const TranslationsState &state);

    QString searchText() const;
    void setSearchText(const QString &text);
    // A search for one word (the statistics window): the presence boxes unticked, the word typed.
    void prepareWordSearch(const QString &word);
    QStringList history() const;
    // The remembered searches; the typed text stays as it is.
    void setHistory(const QStringList &entries);

    // What the controls ask for, with the places of the search options.
    SearchRequest request() const;
    // The control states the detail panel's highlighting depends on (the last search's words
    // are the caller's).
    HighlightRequest highlightRequest() const;
    // The field name chosen for a field search; empty when none runs.
    QString searchedFieldLabel() const;

    // Before a search: the counter and the translation emptied.
    void clearOutcome();
    // Before a result built elsewhere: the counter emptied, the translation left as it is.
    void clearFound();
    // A result the search box did not ask for (double file names, the marked images, the
    // console's image): the box is emptied and says in grey what the result is, until the next
    // search or until something is typed.
    void describeResult(const QString &description);
    // After it: the translation shown, the count of images found.
    void showOutcome(const SearchOutcome &outcome);
    void showFound(int count);

Q_SIGNALS:
    // The Search button, or Enter in the search box.
    void searchRequested();

private:
    void createTextRow();
    void createOperatorRow();
    void createFilterRows();
    void createSortRow();
    void layOut();
    static QHBoxLayout *row(std::initializer_list<QWidget *> controls, QWidget *stretching);
    void connectRules();
    void setInitialStates();
    void setBoxChecked(QCheckBox *box, bool checked);
    static void uncheckRadio(QRadioButton *button);
    void iptcBoxClicked(int index);
    void exactOnlyBoxClicked(QCheckBox *box);
    void operatorClicked(int index);
    void revisedClicked(int index);
    void sortedByClicked();
    void eraseClicked();

    AppContext &m_context;
    Feedback &m_feedback;
    QGridLayout *m_top = nullptr;
    QGridLayout *m_exactOnly = nullptr; // whole word and translation, one above the other

    QComboBox *lstTxtSearch = nullptr;
    QPushButton *cmdSearch = nullptr;
    QToolButton *cmdErase = nullptr;
    QLabel *lbllblFound = nullptr, *lblFound = nullptr;
    QGroupBox *FrameOperator = nullptr;
    std::array<QRadioButton *, 3> optOperator{};
    QCheckBox *chkWholeWord = nullptr;
    QCheckBox *chkTranslation = nullptr;
    QLabel *lblTranslation = nullptr;
    std::array<QCheckBox *, 3> chkIPTC{};
    QComboBox *lstFields = nullptr;
    std::array<QCheckBox *, 2> chkRevised{};
    std::array<QRadioButton *, 2> optOrder{};
    std::array<QRadioButton *, 2> optSortedBy{};
    QComboBox *lstSortedBy = nullptr;
    QLabel *lblSortedBy = nullptr;
};

} // namespace zelvarion
