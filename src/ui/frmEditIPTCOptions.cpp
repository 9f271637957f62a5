#include "ui/frmEditIPTCOptions.h"

#include "core/session/Feedback.h"
#include "core/captioning/CodeReplacements.h"
#include "core/captioning/TemplateStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/frmEditCustomizedFieldNames.h"
#include "ui/frmFolder.h"
#include "ui/frmTemplates.h"

#include <QBoxLayout>
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
    auto *readGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        m_read[i] = named(new QRadioButton(this), indexed("optReadIPTC", i));
        readGroup->addButton(m_read[i]);
        m_readNote[i] = named(new QLabel(this), indexed("lblReadIPTC", i));
        m_readNote[i]->setWordWrap(true);
        connect(m_read[i], &QRadioButton::clicked, this, &frmEditIPTCOptions::readChoiceClicked);
    }
    m_editCustomized = named(new QCheckBox(this), QStringLiteral("chkEditCustomizedFields"));
    m_names = named(new QPushButton(this), QStringLiteral("cmdEditCustomizedFieldNames"));
    m_controlLengths = named(new QCheckBox(this), QStringLiteral("chkControlLengthFields"));
    m_keepDate = named(new QCheckBox(this), QStringLiteral("chkKeepCreationDate"));
    m_saveOriginal = named(new QCheckBox(this), QStringLiteral("chkSaveOriginalFile"));
    m_selectFolder = named(new QPushButton(this), QStringLiteral("cmdSelectFolder"));
    m_saveFolder = named(new QLabel(this), QStringLiteral("lblSaveFolder"));
    m_unknownFolder = named(new QLabel(this), QStringLiteral("lblUnknownFolder"));
    setTextColour(m_unknownFolder, kStatusRed);
    auto *previousGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        m_previous[i] = named(new QRadioButton(this), indexed("optPreviousVersions", i));
        previousGroup->addButton(m_previous[i]);
    }
    createCodeControls();
    m_template = named(new QLabel(this), QStringLiteral("lblTemplate"));
    m_templates = named(new QPushButton(this), QStringLiteral("cmdDefineTemplates"));
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_template->setWordWrap(true);
    placeControls();

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

namespace {

// A control set in under the choice it belongs to.
QHBoxLayout *indented(QWidget *control, bool stretched = true)
{
    auto *row = new QHBoxLayout;
    row->addSpacing(22);
    row->addWidget(control, stretched ? 1 : 0);
    if (!stretched)
        row->addStretch(1);
    return row;
}

} // namespace

// One column of choices, each note and folder under its own; the template and the buttons at the bottom.
void frmEditIPTCOptions::placeControls()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(4);
    for (int i = 0; i < 2; ++i) {
        layout->addWidget(m_read[i]);
        layout->addLayout(indented(m_readNote[i]));
    }
    layout->addSpacing(6);
    layout->addWidget(m_editCustomized);
    m_names->setMinimumSize(168, 28);
    layout->addLayout(indented(m_names, false));
    layout->addSpacing(6);
    layout->addWidget(m_controlLengths);
    layout->addWidget(m_keepDate);
    layout->addSpacing(10);
    auto *save = new QHBoxLayout;
    save->addWidget(m_saveOriginal, 1);
    m_selectFolder->setMinimumSize(148, 28);
    save->addWidget(m_selectFolder);
    layout->addLayout(save);
    for (QWidget *under : {static_cast<QWidget *>(m_saveFolder), static_cast<QWidget *>(m_unknownFolder),
                           static_cast<QWidget *>(m_previous[0]), static_cast<QWidget *>(m_previous[1])})
        layout->addLayout(indented(under));
    layout->addSpacing(12);
    placeCodeControls(layout);
    layout->addStretch(1);
    auto *templates = new QHBoxLayout;
    templates->addWidget(m_template, 1);
    m_templates->setMinimumSize(188, 28);
    templates->addWidget(m_templates, 0, Qt::AlignVCenter);
    layout->addLayout(templates);
    layout->addLayout(buttonsAtRight({m_ok, m_cancel}, 90, 30));
}

// As wide as it always was, and as high as the pack's texts ask, never less than its usual height.
void frmEditIPTCOptions::fitHeightToTexts()
{
    constexpr int kWidth = 620, kHeight = 602;
    layout()->activate();
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(kWidth)
                                                     : layout()->totalMinimumSize().height();
    setFixedSize(kWidth, std::max(kHeight, needed));
    layout()->activate();
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
    m_templates->setText(withoutAccelerator(pack.text(InterfaceText::DefineTemplatesMenuItem)));
    m_previous[0]->setText(pack.text(InterfaceText::KeepBackupOption));
    m_previous[1]->setText(pack.text(InterfaceText::OverwriteBackupOption));
    m_codesLabel->setText(pack.text(InterfaceText::CodeFilesLabel));
    m_delimiterLabel->setText(pack.text(InterfaceText::CodeDelimiterLabel));
    m_chooseCodes->setText(pack.text(InterfaceText::CodeFilesChooseButton));
    m_clearCodes->setText(pack.text(InterfaceText::CodeFilesClearButton));
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    fitHeightToTexts();
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
