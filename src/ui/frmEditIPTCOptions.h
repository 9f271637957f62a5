#pragma once

#include <QDialog>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace zelvarion {

struct AppContext;
class Feedback;

// The edit options: the read choice, customized field editing, field-length control, keeping
// the file's date, the backup of original files, and the files of code replacements with their
// delimiter. OK saves them through the session's setter.
class frmEditIPTCOptions : public QDialog
{
    Q_OBJECT
public:
    frmEditIPTCOptions(AppContext &context, Feedback &feedback, QWidget *parent = nullptr);

    // The three dialogs it opens modally; tests replace them.
    using Opener = std::function<void()>;
    void setTemplatesOpener(Opener opener) { m_openTemplates = std::move(opener); }
    void setNamesOpener(Opener opener) { m_openNames = std::move(opener); }
    void setFolderOpener(Opener opener) { m_openFolder = std::move(opener); }
    // The file dialog that chooses code files; tests answer instead.
    using FilesChooser = std::function<QStringList()>;
    void setCodeFilesChooser(FilesChooser chooser) { m_chooseCodeFiles = std::move(chooser); }

    // Shows the template in use in lblTemplate.
    void updateUsedTemplate();
    // OK: writes every option, in order, then closes.
    void confirm();

private:
    void createControls();
    void applyTexts();
    void setFromSettings();
    void readChoiceClicked();
    void saveOriginalClicked();
    void chooseFolder();
    void showSaveFolder();
    void createCodeControls();
    void placeControls();
    void placeCodeControls(QVBoxLayout *layout);
    void fitHeightToTexts();
    void addCodeFiles();
    void showCodeFiles();
    QStringList askForCodeFiles();

    AppContext &m_context;
    Feedback &m_feedback;
    Opener m_openTemplates, m_openNames, m_openFolder;
    FilesChooser m_chooseCodeFiles;
    QStringList m_codeFiles;
    std::array<QRadioButton *, 2> m_read{};
    std::array<QLabel *, 2> m_readNote{};
    QCheckBox *m_editCustomized = nullptr, *m_controlLengths = nullptr, *m_keepDate = nullptr, *m_saveOriginal = nullptr;
    QPushButton *m_names = nullptr, *m_templates = nullptr, *m_selectFolder = nullptr, *m_ok = nullptr, *m_cancel = nullptr;
    std::array<QRadioButton *, 2> m_previous{};
    QLabel *m_saveFolder = nullptr, *m_unknownFolder = nullptr, *m_template = nullptr;
    QLabel *m_codesLabel = nullptr, *m_codeFileList = nullptr, *m_codeProblem = nullptr, *m_delimiterLabel = nullptr;
    QPushButton *m_chooseCodes = nullptr, *m_clearCodes = nullptr;
    QLineEdit *m_delimiter = nullptr;
};

} // namespace zelvarion
