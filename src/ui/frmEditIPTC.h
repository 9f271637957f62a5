#pragma once

#include "core/iptc/IptcField.h"
#include "core/search/ResultList.h"
#include "core/session/LanguageKeys.h"
#include "core/spelling/SpellCheckCommands.h"
#include "core/captioning/TemplateRecord.h"
#include "core/captioning/TemplateStatements.h"

#include <QDialog>
#include <QLocale>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QToolButton;

namespace zelvarion {

// The date and time that cmdDate i and cmdNow i set: 0 the creation, 1 the release.
inline constexpr DateTimeFields kDateTimeOfButton[] = {kCreatedDateTime, kReleaseDateTime};

struct AppContext;
class Feedback;

// The IPTC edit dialog: the values of one template or of one image of the result in editable
// controls, the rules that keep them valid while the user types, and OK, which stores them in the
// template's row or writes them into the image's file and row. Previous and Next walk the result.
class frmEditIPTC : public QDialog, public SpellCheckForm
{
    Q_OBJECT
public:
    frmEditIPTC(AppContext &context, Feedback &feedback, const QString &templateName, QWidget *parent = nullptr);
    // The dialog on image `rank` (from 1) of a search result.
    frmEditIPTC(AppContext &context, Feedback &feedback, std::vector<ResultRow> result, int rank,
                QWidget *parent = nullptr);
    ~frmEditIPTC() override;

    bool editsImage() const { return m_rank > 0; }
    int imageRank() const { return m_rank; }
    // TIFF and PSD files are shown without a way to save them.
    bool readOnly() const { return m_readOnly; }
    // The values differ from those loaded or last saved.
    bool hasUnsavedChanges() const;
    // Where the renewed thumbnail goes (the user's thumbnail store when empty).
    void setThumbnailStoreRoot(const QString &root) { m_thumbnailStoreRoot = root; }

    // What moving to another image does with unsaved changes; tests answer instead of the user.
    enum class UnsavedChoice { Save, Discard, Cancel };
    void setUnsavedChangesQuestion(std::function<UnsavedChoice()> ask) { m_askUnsaved = std::move(ask); }
    // cmdPrevious and cmdNext: the neighbouring image of the result, asking first about unsaved
    // changes; nothing at either end, nor while AllFieldsDisabled holds.
    void moveToImage(int step);

    const QString &templateName() const { return m_templateName; }

    // The spell-check buttons follow the spelling service: while it is off every one of them
    // stays disabled. Called at loading and after each spell-check command.
    void setSpellCheckingAvailable(bool available);
    bool spellCheckingAvailable() const { return m_spellingAvailable; }

    // The texts the spell-check commands check and correct.
    QString fieldText(int index) const override;                       // a text field, 0..34
    void setFieldText(int index, const QString &text) override;
    QStringList listEntries(int index) const override;                 // kKeywordsIndex or kSupplementalCategoryIndex
    void setListEntry(int index, int row, const QString &text) override;
    QString customizedText(int row) const override;                    // 0..15
    void setCustomizedText(int row, const QString &text) override;
    void markChecking(const SpellTarget &target, bool on) override;
    void selectTab(int tab) override;                                  // 1..6; a tab not shown is ignored
    void showStatus(const QString &text) override;

    // cmdSpellChecker i, cmdSpellCheckerCustomized r and cmdSpellCheckerAll.
    void spellCheckField(int index);
    void spellCheckCustomizedRow(int row);
    void spellCheckAll();

    // OK: stores the values in the template's row and closes the dialog, whether or not the
    // update succeeded (a failure is reported).
    void save();
    // Cancel and Esc: closes without saving; while the calendar is shown only the calendar goes.
    void reject() override;

Q_SIGNALS:
    // The file and row of image `rank` were rewritten; its cell and detail follow.
    void imageSaved(int rank);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // A list field (Keywords, SupplementalCategory) with its entry box and buttons.
    struct ListControls
    {
        int fieldIndex = -1;
        QListWidget *list = nullptr;
        QLineEdit *entry = nullptr;
        QLabel *entryLabel = nullptr; // lblKeyword, or the field's label for the categories
        QPushButton *add = nullptr, *replace = nullptr, *remove = nullptr;
    };
    struct CustomizedRow
    {
        QLabel *label = nullptr;
        QLineEdit *number = nullptr;
        QLineEdit *text = nullptr;
        QToolButton *spell = nullptr;
        QString keptNumber, keptText;
        bool blue = false;
    };

    // frmEditIPTC.cpp: controls and layout.
    void createControls();
    QWidget *createField(QWidget *frame, int index, int top, int height = 24, int width = 460);
    void createDescriptionFrame();
    void createListControls(QWidget *frame, ListControls &list, int top, const char *suffix);
    void createDatesFrame();
    void createOtherFrame();
    void createCustomizedFrame();
    void createDateButtons(QWidget *frame);
    void createBottomControls();
    void connectRules();
    template <typename Command>
    void runSpellCheck(Command &&command);

    // frmEditIPTCLoad.cpp: loading and saving.
    void load();
    void applyTexts();
    void fillFromTemplate(const TemplateRecord &record);
    void fillCustomizedRows(const TemplateRecord &record);
    void fillLists();
    void showDatesForDisplay();
    void rebuildList(ListControls &list, const QString &joined);
    TemplateValues valuesToSave() const;

    // frmEditIPTCImage.cpp: one image of the result.
    void createImageControls();
    void loadImageValues();
    void showImage(int rank);
    void clearValues();
    void forgetKeptValues();
    bool saveImage();
    void updateImageButtons();
    int neighbourRank(int step) const;
    UnsavedChoice askAboutUnsavedChanges();

    // frmEditIPTCRules.cpp: the editing rules.
    void fieldChanged(int index);
    void leaveDateOrTime(int index);
    std::optional<int> invalidDateOrTime() const;
    void showDateOrTimeProblem(int index);
    void showPendingDateOrTimeProblem(int changedIndex);
    bool refuseInvalidDateOrTime();
    void entryChanged(ListControls &list);
    void addEntry(ListControls &list);
    void replaceEntry(ListControls &list);
    void removeEntry(ListControls &list);
    void entryClicked(ListControls &list);
    void refuse(Message message);
    QListWidgetItem *selectedEntry(ListControls &list);
    void updateListSpellButton(ListControls &list);
    void customizedNumberChanged(int row);
    void leaveCustomizedNumber(int row);
    void labelClicked(int index);
    void keywordLabelClicked();
    void customizedLabelClicked(int row);
    void copyrightClicked();
    void toggleCalendar(int button);
    void calendarPicked(const QDate &date);
    void setNow(int button);
    void allFieldsDisabled(int indexIptc, int indexCustomized);
    void allFieldsEnabled();
    void updateCommandButtons();
    void setLabelBlue(QLabel *label, bool blue);
    void updateFieldSpellButton(int index);
    void showTabFrame(int tab);
    bool handleTabKeys(QEvent *event);
    bool labelPressed(QObject *watched);
    void controlLeft(QObject *watched);
    QString configuredName(const QString &number) const;

    AppContext &m_context;
    Feedback &m_feedback;
    QString m_templateName;
    std::vector<ResultRow> m_result;
    int m_rank = 0; // 0: a template is edited
    bool m_readOnly = false;
    TemplateValues m_savedValues;
    QString m_thumbnailStoreRoot;
    std::function<UnsavedChoice()> m_askUnsaved;
    QPushButton *m_previous = nullptr;
    QPushButton *m_next = nullptr;
    QLabel *m_readOnlyNote = nullptr;
    QLocale m_locale;
    bool m_spellingAvailable = false;
    bool m_loading = true;
    bool m_altAlone = false;
    bool m_fieldsLocked = false; // AllFieldsDisabled holds: one control must be corrected first

    std::array<QWidget *, kIptcFieldCount> m_box{};
    std::array<QLabel *, kIptcFieldCount> m_label{};
    std::array<QToolButton *, kIptcFieldCount> m_spell{};
    std::array<QString, kIptcFieldCount> m_kept;
    std::array<bool, kIptcFieldCount> m_labelBlue{};
    std::array<CustomizedRow, kTemplateCustomizedCount> m_rows;
    ListControls m_keywords;
    ListControls m_categories;
    QString m_keptKeywords;
    QComboBox *m_urgency = nullptr;
    QComboBox *m_cycle = nullptr;
    QLabel *m_copyright = nullptr;
    std::array<QToolButton *, 2> m_dateButton{};
    std::array<QPushButton *, 2> m_now{}; // cmdNow 0 beside the creation time, 1 beside the release time
    QCalendarWidget *m_calendar = nullptr;
    int m_calendarField = -1;
    QTabBar *m_tabs = nullptr;
    std::array<QWidget *, 6> m_frames{};
    QLabel *m_templateLabel = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_logo = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QToolButton *m_spellAll = nullptr;
    QLabel *m_spellAllLabel = nullptr;
};

} // namespace zelvarion
