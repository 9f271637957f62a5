#pragma once

#include "core/iptc/IptcField.h"
#include "core/search/ResultList.h"
#include "core/catalogue/TemplateRecord.h"
#include "core/catalogue/TemplatesTable.h"
#include "ui/EditImageSteps.h"

#include <QDialog>
#include <QLocale>
#include <array>
#include <functional>
#include <memory>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace zelvarion {

struct AppContext;
class EditCodeTyping;
class EditCustomizedRows;
class EditDatesAndTimes;
class EditFieldRows;
class EditLengthControl;
class EditListPanel;
class EditSpellCheck;
class EditStatusLine;
class EditTabs;
class Feedback;

// The IPTC edit dialog: the values of one template or of one image of the result in editable
// controls, and OK, which stores them in the template's row or writes them into the image's file
// and row. Its panels own the controls; the dialog keeps the rules that span them (length
// control locks every other field, OK waits for valid dates) and loading and saving.
class frmEditIPTC : public QDialog
{
    Q_OBJECT
public:
    frmEditIPTC(AppContext &context, Feedback &feedback, const QString &templateName, QWidget *parent = nullptr);
    // The dialog on image `rank` (from 1) of a search result.
    frmEditIPTC(AppContext &context, Feedback &feedback, std::vector<ResultRow> result, int rank,
                QWidget *parent = nullptr);
    ~frmEditIPTC() override;

    bool editsImage() const { return m_image != nullptr; }
    int imageRank() const;
    // TIFF and PSD files are shown without a way to save them.
    bool readOnly() const;
    // The values differ from those loaded or last saved.
    bool hasUnsavedChanges() const;
    // Where the renewed thumbnail goes (the user's thumbnail store when empty).
    void setThumbnailStoreRoot(const QString &root);

    // What moving to another image does with unsaved changes; tests answer instead of the user.
    using UnsavedChoice = zelvarion::UnsavedChoice;
    void setUnsavedChangesQuestion(std::function<UnsavedChoice()> ask);
    // cmdPrevious and cmdNext: the neighbouring image of the result, asking first about unsaved
    // changes; nothing at either end, nor while one field must be corrected first.
    void moveToImage(int step);

    const QString &templateName() const { return m_templateName; }

    // The texts the spell-check commands check and correct, and the commands.
    QString fieldText(int index) const;                       // a text field, 0..34
    void setFieldText(int index, const QString &text);
    QStringList listEntries(int index) const;                 // kKeywordsIndex or kSupplementalCategoryIndex
    void setListEntry(int index, int row, const QString &text);
    QString customizedText(int row) const;                    // 0..15
    void setCustomizedText(int row, const QString &text);
    void selectTab(int tab);                                  // 1..6; a tab not shown is ignored
    void spellCheckAll();

    // OK: stores the values in the template's row (or the image) and closes the dialog.
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
    // frmEditIPTC.cpp: the panels, the header and the bottom line, and their connections.
    void createControls();
    void placeControls(QWidget *header);
    void connectRules();
    void watchCodeTyping();

    // frmEditIPTCLoad.cpp: loading and saving.
    void load();
    void offerCatalogueEntries();
    void applyTexts();
    void fill(const TemplateRecord &record);
    void fillLists();
    void showFirstProblem();
    void setLoading(bool loading);
    TemplateValues valuesToSave() const;
    void saveTemplate(const TemplateValues &values);
    bool refuseVariableProblem(const TemplateValues &values);

    // frmEditIPTCImage.cpp: one image of the result.
    void loadImageValues();
    void showImage(int rank);
    bool saveImage();

    // frmEditIPTCRules.cpp: the rules that span the panels.
    void fieldChanged(int index);
    void updateCommandButtons();
    bool labelPressed(QObject *watched);
    void controlLeft(QObject *watched);

    AppContext &m_context;
    Feedback &m_feedback;
    QString m_templateName;
    TemplateValues m_savedValues;
    QLocale m_locale;
    bool m_loading = true;

    QLabel *m_templateLabel = nullptr;
    QLabel *m_logo = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QHBoxLayout *m_bottomRow = nullptr; // the image's Previous and Next join it
    std::unique_ptr<EditStatusLine> m_status;
    EditTabs *m_tabs = nullptr;
    std::unique_ptr<EditFieldRows> m_fields;
    EditListPanel *m_keywords = nullptr;
    EditListPanel *m_categories = nullptr;
    EditDatesAndTimes *m_dates = nullptr;
    EditCustomizedRows *m_customized = nullptr;
    EditSpellCheck *m_spelling = nullptr;
    EditCodeTyping *m_codes = nullptr;
    EditLengthControl *m_length = nullptr; // while locked, one control must be corrected first
    EditImageSteps *m_image = nullptr; // only on an image of the result
};

} // namespace zelvarion
