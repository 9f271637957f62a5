#include "ui/frmEditIPTCOptions.h"

#include "core/session/Feedback.h"
#include "core/captioning/CodeReplacements.h"
#include "core/captioning/TemplateStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/frmEditCustomizedFieldNames.h"
#include "ui/frmFolder.h"
#include "ui/frmTemplates.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace zelvarion {
using namespace controls;

frmEditIPTCOptions::frmEditIPTCOptions(AppContext &context, Feedback &feedback, QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmEditIPTCOptions"));
    setModal(true);
    m_openTemplates = [this] { frmTemplates(m_context, m_feedback, this).exec(); };
    m_openNames = [this] { frmEditCustomizedFieldNames(m_context, this).exec(); };
    m_openFolder = [this] { frmFolder(m_context, this).exec(); };
    m_chooseCodeFiles = [this] { return askForCodeFiles(); };
    createControls();
    applyTexts();
    setFromSettings();
    updateUsedTemplate();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmEditIPTCOptions::createControls()
{
    setFixedSize(620, 602);
    auto *readGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        m_read[i] = named(new QRadioButton(this), indexed("optReadIPTC", i));
        m_read[i]->setGeometry(12, 12 + 62 * i, 596, 22);
        readGroup->addButton(m_read[i]);
        m_readNote[i] = named(new QLabel(this), indexed("lblReadIPTC", i));
        m_readNote[i]->setGeometry(34, 34 + 62 * i, 574, 34);
        m_readNote[i]->setWordWrap(true);
        connect(m_read[i], &QRadioButton::clicked, this, &frmEditIPTCOptions::readChoiceClicked);
    }
    m_editCustomized = named(new QCheckBox(this), QStringLiteral("chkEditCustomizedFields"));
    m_editCustomized->setGeometry(12, 140, 596, 22);
    m_names = named(new QPushButton(this), QStringLiteral("cmdEditCustomizedFieldNames"));
    m_names->setGeometry(34, 166, 168, 28); // widened to its caption in applyTexts
    m_controlLengths = named(new QCheckBox(this), QStringLiteral("chkControlLengthFields"));
    m_controlLengths->setGeometry(12, 204, 596, 22);
    m_keepDate = named(new QCheckBox(this), QStringLiteral("chkKeepCreationDate"));
    m_keepDate->setGeometry(12, 236, 596, 22);
    m_saveOriginal = named(new QCheckBox(this), QStringLiteral("chkSaveOriginalFile"));
    m_saveOriginal->setGeometry(12, 278, 420, 22);
    m_selectFolder = named(new QPushButton(this), QStringLiteral("cmdSelectFolder"));
    m_selectFolder->setGeometry(460, 274, 148, 28);
    m_saveFolder = named(new QLabel(this), QStringLiteral("lblSaveFolder"));
    m_saveFolder->setGeometry(34, 304, 574, 22);
    m_unknownFolder = named(new QLabel(this), QStringLiteral("lblUnknownFolder"));
    m_unknownFolder->setGeometry(34, 326, 574, 22);
    setTextColour(m_unknownFolder, kStatusRed);
    auto *previousGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        m_previous[i] = named(new QRadioButton(this), indexed("optPreviousVersions", i));
        m_previous[i]->setGeometry(34, 352 + 26 * i, 574, 22);
        previousGroup->addButton(m_previous[i]);
    }
    createCodeControls();
    m_template = named(new QLabel(this), QStringLiteral("lblTemplate"));
    m_template->setGeometry(12, 516, 380, 40);
    m_templates = named(new QPushButton(this), QStringLiteral("cmdDefineTemplates"));
    m_templates->setGeometry(420, 522, 188, 28);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setGeometry(420, 562, 90, 30);
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_cancel->setGeometry(518, 562, 90, 30);

    connect(m_editCustomized, &QCheckBox::toggled, m_names, &QPushButton::setEnabled);
    connect(m_saveOriginal, &QCheckBox::clicked, this, &frmEditIPTCOptions::saveOriginalClicked);
    connect(m_names, &QPushButton::clicked, this, [this] { m_openNames(); });
    connect(m_templates, &QPushButton::clicked, this, [this] {
        m_openTemplates();
        updateUsedTemplate();
    });
    connect(m_selectFolder, &QPushButton::clicked, this, &frmEditIPTCOptions::chooseFolder);
    connect(m_ok, &QPushButton::clicked, this, &frmEditIPTCOptions::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEditIPTCOptions::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::EditOptionsMenuItem)));
    m_read[0]->setText(pack.text(InterfaceText::ReadFromFilesOption));
    m_readNote[0]->setText(pack.text(InterfaceText::ReadFromFilesNote));
    m_read[1]->setText(pack.text(InterfaceText::ReadFromDatabaseOption));
    m_readNote[1]->setText(pack.text(InterfaceText::ReadFromDatabaseNote));
    m_keepDate->setText(pack.text(InterfaceText::KeepCreationDateOption));
    // The file systems here keep no creation time that a program can set.
    m_keepDate->setToolTip(QStringLiteral("A rewritten image keeps its modification date and time: "
                                          "this system cannot set a file's creation time."));
    m_saveOriginal->setText(pack.text(InterfaceText::SaveOriginalsOption));
    m_selectFolder->setText(pack.text(InterfaceText::BrowseButton));
    m_unknownFolder->setText(pack.text(InterfaceText::UnknownFolderWarning));
    m_editCustomized->setText(pack.text(InterfaceText::EditCustomizedOption));
    m_controlLengths->setText(pack.text(InterfaceText::ControlLengthsOption));
    m_names->setText(pack.text(InterfaceText::EditCustomizedNamesButton));
    m_names->resize(std::max(168, m_names->sizeHint().width()), m_names->height());
    m_templates->setText(withoutAccelerator(pack.text(InterfaceText::DefineTemplatesMenuItem)));
    m_previous[0]->setText(pack.text(InterfaceText::KeepBackupOption));
    m_previous[1]->setText(pack.text(InterfaceText::OverwriteBackupOption));
    m_codesLabel->setText(pack.text(InterfaceText::CodeFilesLabel));
    m_delimiterLabel->setText(pack.text(InterfaceText::CodeDelimiterLabel));
    m_chooseCodes->setText(pack.text(InterfaceText::CodeFilesChooseButton));
    m_clearCodes->setText(pack.text(InterfaceText::CodeFilesClearButton));
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    placeCodeControls();
}

void frmEditIPTCOptions::setFromSettings()
{
    AppSettings &s = m_context.settings;
    m_editCustomized->setChecked(s.editCustomizedFields);
    m_names->setEnabled(s.editCustomizedFields);
    m_controlLengths->setChecked(s.controlLengthFields);
    m_keepDate->setChecked(s.keepCreationDate);
    m_saveOriginal->setChecked(s.saveOriginalFile);
    saveOriginalClicked();
    m_previous[s.saveFirstVersion ? 0 : 1]->setChecked(true);
    if (!s.readIPTC)
        s.editCustomizedFields = false;
    m_read[s.readIPTC ? 0 : 1]->setChecked(true);
    readChoiceClicked();
    showSaveFolder();
    m_codeFiles = codeFileList(s.codeFiles);
    m_delimiter->setText(codeDelimiterFrom(s.codeDelimiter).value_or(kDefaultCodeDelimiter));
    showCodeFiles();
}

void frmEditIPTCOptions::readChoiceClicked()
{
    const bool fromFiles = m_read[0]->isChecked();
    if (!fromFiles)
        m_editCustomized->setChecked(false);
    m_editCustomized->setEnabled(fromFiles);
    m_names->setEnabled(fromFiles);
}

void frmEditIPTCOptions::saveOriginalClicked()
{
    const bool on = m_saveOriginal->isChecked();
    for (QWidget *w : {static_cast<QWidget *>(m_selectFolder), static_cast<QWidget *>(m_saveFolder),
                       static_cast<QWidget *>(m_previous[0]), static_cast<QWidget *>(m_previous[1])})
        w->setEnabled(on);
}

void frmEditIPTCOptions::showSaveFolder()
{
    const QString folder = m_context.settings.saveFolder;
    m_saveFolder->setText(folder);
    const bool unknown = !folder.isEmpty() && !QFileInfo(folder).isDir();
    m_unknownFolder->setVisible(unknown);
    if (unknown)
        QApplication::beep();
}

void frmEditIPTCOptions::chooseFolder()
{
    m_openFolder(); // the folder dialog sets SaveFolder in memory at once
    showSaveFolder();
}

void frmEditIPTCOptions::updateUsedTemplate()
{
    const TemplateStore::InUse found = TemplateStore(m_context.catalogue, m_feedback).inUse();
    if (!found.ok)
        return;
    const LanguagePack &pack = m_context.language;
    const bool inUse = found.record.has_value();
    m_template->setText(inUse ? found.record->name + QStringLiteral("\r\n") + pack.text(InterfaceText::TemplateInUse)
                              : pack.text(InterfaceText::NoTemplateInUse));
    QFont font = m_template->font();
    font.setBold(inUse);
    m_template->setFont(font);
}

// In the order of the options on the window.
void frmEditIPTCOptions::confirm()
{
    m_context.setSetting(&AppSettings::readIPTC, m_read[0]->isChecked());
    m_context.setSetting(&AppSettings::editCustomizedFields, m_editCustomized->isChecked());
    m_context.setSetting(&AppSettings::controlLengthFields, m_controlLengths->isChecked());
    m_context.setSetting(&AppSettings::keepCreationDate, m_keepDate->isChecked());
    m_context.setSetting(&AppSettings::saveOriginalFile, m_saveOriginal->isChecked());
    m_context.setSetting(&AppSettings::saveFirstVersion, m_previous[0]->isChecked());
    m_context.setSetting(&AppSettings::saveFolder, m_saveFolder->text());
    m_context.setSetting(&AppSettings::codeFiles, codeFileSetting(m_codeFiles));
    const std::optional<QChar> delimiter = codeDelimiterFrom(m_delimiter->text());
    m_context.setSetting(&AppSettings::codeDelimiter, QString(delimiter.value_or(kDefaultCodeDelimiter)));
    accept();
}

} // namespace zelvarion
