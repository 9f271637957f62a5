#include "ui/frmSearchOptions.h"

#include "core/session/Feedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace zelvarion {
using namespace controls;

namespace {

// The seven single fields the general search can be limited to, with their names.
constexpr InterfaceText kFieldNames[7] = {
    InterfaceText::FieldLabelKeywords, InterfaceText::FieldLabelHeadline, InterfaceText::FieldLabelCredit,
    InterfaceText::FieldLabelCaption,  InterfaceText::FieldLabelByline,   InterfaceText::FieldLabelCity,
    InterfaceText::FieldLabelCountry};
// Their switches, in the same order.
constexpr bool AppSettings::*kFieldSwitches[7] = {
    &AppSettings::searchKeywords, &AppSettings::searchHeadline, &AppSettings::searchCredit,
    &AppSettings::searchCaption,  &AppSettings::searchByline,   &AppSettings::searchCity,
    &AppSettings::searchCountry};

} // namespace

frmSearchOptions::frmSearchOptions(AppContext &context, Feedback &feedback, QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmSearchOptions"));
    createControls();
    applyTexts();
    setFromSettings();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmSearchOptions::createControls()
{
    setFixedSize(520, 330);
    chkSearchOptions[0] = named(new QCheckBox(this), indexed("chkSearchOptions", 0));
    chkSearchOptions[0]->setGeometry(12, 10, 300, 22);
    FrameSearch = named(new QGroupBox(this), QStringLiteral("FrameSearch"));
    FrameSearch->setGeometry(12, 36, 300, 200);
    for (int i = 0; i < 7; ++i) {
        chkSearchIPTC[i] = named(new QCheckBox(FrameSearch), indexed("chkSearchIPTC", i));
        chkSearchIPTC[i]->setGeometry(12, 22 + 25 * i, 276, 22);
    }
    for (int i = 1; i < 3; ++i) {
        chkSearchOptions[i] = named(new QCheckBox(this), indexed("chkSearchOptions", i));
        chkSearchOptions[i]->setGeometry(12, 218 + 26 * i, 300, 22);
    }
    FrameTranslation = named(new QGroupBox(this), QStringLiteral("FrameTranslation"));
    FrameTranslation->setGeometry(324, 36, 184, 200);
    for (int i = 0; i < 3; ++i) {
        optTranslation[i] = named(new QRadioButton(FrameTranslation), indexed("optTranslation", i));
        optTranslation[i]->setGeometry(12, 24 + 26 * i, 164, 22);
    }
    lblNbTranslations = named(new QLabel(FrameTranslation), QStringLiteral("lblNbTranslations"));
    lblNbTranslations->setGeometry(12, 110, 164, 22);
    cmdEditTranslations = named(new QPushButton(FrameTranslation), QStringLiteral("cmdEditTranslations"));
    cmdEditTranslations->setGeometry(12, 150, 160, 30);
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdOK->setGeometry(324, 286, 88, 30);
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(420, 286, 88, 30);
    cmdOK->setDefault(true);

    connect(chkSearchOptions[0], &QCheckBox::clicked, this, &frmSearchOptions::allIptcClicked);
    connect(cmdOK, &QPushButton::clicked, this, &frmSearchOptions::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdEditTranslations, &QPushButton::clicked, this, [this] {
        if (m_context.translations.loaded)
            shell::openWithDefaultProgram(m_context.translationsPath);
    });
}

void frmSearchOptions::applyTexts()
{
    using enum InterfaceText;
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(SearchOptionsMenuItem)));
    FrameSearch->setTitle(pack.text(SearchFieldsFrame));
    const InterfaceText places[] = {SearchAllIptcOption, SearchFolderNamesOption, SearchFileNamesOption};
    for (int i = 0; i < 3; ++i)
        chkSearchOptions[i]->setText(pack.text(places[i]));
    for (int i = 0; i < 7; ++i)
        chkSearchIPTC[i]->setText(pack.text(kFieldNames[i]));
    FrameTranslation->setTitle(pack.text(TranslationFrame));
    const TranslationsState &t = m_context.translations;
    optTranslation[0]->setText(t.language1 + QStringLiteral(" <-> ") + t.language2);
    optTranslation[1]->setText(t.language1 + QStringLiteral(" -> ") + t.language2);
    optTranslation[2]->setText(t.language2 + QStringLiteral(" -> ") + t.language1);
    lblNbTranslations->setText(QString::number(t.lineCount) + u' ' + pack.text(TranslationPairsUnit));
    cmdEditTranslations->setText(pack.text(EditTranslationsButton));
    cmdCancel->setText(pack.text(CancelButton));
}

void frmSearchOptions::setFromSettings()
{
    const AppSettings &s = m_context.settings;
    const int direction = s.translation >= 0 && s.translation <= 2 ? s.translation : 0;
    optTranslation[direction]->setChecked(true);
    const bool loaded = m_context.translations.loaded;
    for (QWidget *w : std::initializer_list<QWidget *>{FrameTranslation, optTranslation[0], optTranslation[1],
                                                        optTranslation[2], cmdEditTranslations})
        w->setEnabled(loaded);
    chkSearchOptions[0]->setChecked(s.searchAllIPTC);
    allIptcClicked();
    for (int i = 0; i < 7; ++i)
        chkSearchIPTC[i]->setChecked(s.*kFieldSwitches[i]);
    chkSearchOptions[1]->setChecked(s.searchFolderNames);
    chkSearchOptions[2]->setChecked(s.searchFileNames);
}

void frmSearchOptions::allIptcClicked()
{
    const bool all = chkSearchOptions[0]->isChecked();
    FrameSearch->setEnabled(!all);
    for (QCheckBox *box : chkSearchIPTC) {
        if (all)
            box->setChecked(false);
        box->setEnabled(!all);
    }
}

void frmSearchOptions::confirm()
{
    bool any = false;
    for (QCheckBox *box : chkSearchOptions)
        any = any || box->isChecked();
    for (QCheckBox *box : chkSearchIPTC)
        any = any || box->isChecked();
    if (!any) {
        m_feedback.showMessage(m_context.language.message(Message::NoSearchPlace), MessageIcon::Critical);
        return;
    }
    m_context.setSetting(&AppSettings::searchAllIPTC, chkSearchOptions[0]->isChecked());
    for (int i = 0; i < 7; ++i)
        m_context.setSetting(kFieldSwitches[i], chkSearchIPTC[i]->isChecked());
    m_context.setSetting(&AppSettings::searchFolderNames, chkSearchOptions[1]->isChecked());
    m_context.setSetting(&AppSettings::searchFileNames, chkSearchOptions[2]->isChecked());
    m_context.setSetting(&AppSettings::translation,
                         optTranslation[1]->isChecked() ? 1 : optTranslation[2]->isChecked() ? 2 : 0);
    accept();
}

} // namespace zelvarion
