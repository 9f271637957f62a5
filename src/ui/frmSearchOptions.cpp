#include "ui/frmSearchOptions.h"

#include "core/session/Feedback.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
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

// Fixed by design, as large as its captions ask: the fields beside the translation's direction,
// the two file-name switches under them and the buttons at the bottom right.
void frmSearchOptions::createControls()
{
    chkSearchOptions[0] = named(new QCheckBox(this), indexed("chkSearchOptions", 0));
    FrameSearch = named(new QGroupBox(this), QStringLiteral("FrameSearch"));
    auto *fields = new QVBoxLayout(FrameSearch);
    for (int i = 0; i < 7; ++i) {
        chkSearchIPTC[i] = named(new QCheckBox(FrameSearch), indexed("chkSearchIPTC", i));
        fields->addWidget(chkSearchIPTC[i]);
    }
    for (int i = 1; i < 3; ++i)
        chkSearchOptions[i] = named(new QCheckBox(this), indexed("chkSearchOptions", i));
    FrameTranslation = named(new QGroupBox(this), QStringLiteral("FrameTranslation"));
    auto *translation = new QVBoxLayout(FrameTranslation);
    for (int i = 0; i < 3; ++i) {
        optTranslation[i] = named(new QRadioButton(FrameTranslation), indexed("optTranslation", i));
        translation->addWidget(optTranslation[i]);
    }
    lblNbTranslations = named(new QLabel(FrameTranslation), QStringLiteral("lblNbTranslations"));
    translation->addSpacing(6);
    translation->addWidget(lblNbTranslations);
    translation->addStretch(1);
    cmdEditTranslations = named(new QPushButton(FrameTranslation), QStringLiteral("cmdEditTranslations"));
    cmdEditTranslations->setMinimumSize(160, 30);
    translation->addWidget(cmdEditTranslations);
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *button : {cmdOK, cmdCancel}) {
        button->setMinimumSize(88, 30);
        buttons->addWidget(button);
    }

    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setHorizontalSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(chkSearchOptions[0], 0, 0);
    layout->addWidget(FrameSearch, 1, 0);
    layout->addWidget(FrameTranslation, 1, 1);
    layout->addWidget(chkSearchOptions[1], 2, 0);
    layout->addWidget(chkSearchOptions[2], 3, 0);
    layout->addLayout(buttons, 2, 1, 2, 1, Qt::AlignBottom);
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
    if (t.language1.isEmpty() || t.language2.isEmpty()) {
        // No translations file names its languages: the directions are told in words.
        optTranslation[0]->setText(pack.text(TranslationBothWays));
        optTranslation[1]->setText(pack.text(TranslationFirstToSecond));
        optTranslation[2]->setText(pack.text(TranslationSecondToFirst));
    } else {
        optTranslation[0]->setText(t.language1 + QStringLiteral(" <-> ") + t.language2);
        optTranslation[1]->setText(t.language1 + QStringLiteral(" -> ") + t.language2);
        optTranslation[2]->setText(t.language2 + QStringLiteral(" -> ") + t.language1);
    }
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
