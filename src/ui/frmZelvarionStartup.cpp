// The start-up sequence of the main window, from the settings to the enabled window.
#include "ui/frmZelvarion.h"

#include "core/catalogue/CatalogueSchema.h"
#include "core/shell/AppInfo.h"
#include "core/shell/Feedback.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"
#include "platform/gui/ShellServices.h"
#include "ui/Controls.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>

namespace zelvarion {
using namespace controls;


void frmZelvarion::startUp()
{
    setWindowTitle(applicationTitle());
    roundCorners(cmdDatabase);
    roundCorners(cmdSearch);
    lblTranslation->setStyleSheet(QStringLiteral("color: rgb(128, 128, 128);"));
    m_context.osDescription = shell::operatingSystemDescription();
    m_context.namedStreamsAvailable = ThumbnailStore().isAvailable();

    readWindowPlacement();
    fillLanguageMenu();
    applyConfiguration();
    applySearchOptions();
    for (const QString &entry : readSearchHistory(m_context.ini))
        lstTxtSearch->addItem(entry);
    lstTxtSearch->setCurrentIndex(-1);
    readEditIptcOptions(m_context.ini, m_context.settings);
    readCustomizedFieldNames(m_context.ini, m_context.settings);
    loadLanguagePack();
    QDir::setCurrent(programFolder::path());

    rtfIPTC->setPlainText(withLineBreaks(m_context.language.text(218)));
    show();
    repaint();
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    chooseAndOpenCatalogue();
    rtfIPTC->clear();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
}

void frmZelvarion::readWindowPlacement()
{
    const QRect stored = pixels(readWindowTwips(m_context.ini, QStringLiteral("MainWindow"), twips(designGeometry())));
    move(stored.topLeft());
    resize(stored.size());
}

void frmZelvarion::fillLanguageMenu()
{
    const QStringList languages = listExtraLanguages(programFolder::languageFolder());
    for (int i = 0; i < languages.size() && i + 1 < kLanguageItems; ++i) {
        mnuLanguage[i + 1]->setText(languages[i]);
        mnuLanguage[i + 1]->setVisible(true);
    }
}

void frmZelvarion::applyConfiguration()
{
    AppSettings &settings = m_context.settings;
    readConfiguration(m_context.ini, settings);
    mnuDisplayImage->setChecked(settings.displayImage);
    mnuStayOnTop->setChecked(settings.stayOnTop);
    setOnTop();
    if (!m_context.namedStreamsAvailable) {
        settings.createThumbnails = false;
        settings.useThumbnails = false;
        mnuUseThumbnails->setEnabled(false);
    }
    mnuUseThumbnails->setChecked(settings.useThumbnails);
    checkLanguageItem(settings.language);
}

void frmZelvarion::applySearchOptions()
{
    readSearchOptions(m_context.ini, m_context.settings);
    // Setting the boxes runs their rules, as a click would.
    setBoxChecked(chkIPTC[2], m_context.settings.fieldIPTC);
    setBoxChecked(chkWholeWord, m_context.settings.wholeWord);
    setBoxChecked(chkTranslation, m_context.settings.useTranslation);
}

void frmZelvarion::loadLanguagePack()
{
    m_context.language.load(programFolder::languageFolder(), m_context.settings.language);
    applyLanguage();
}

void frmZelvarion::chooseAndOpenCatalogue()
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (m_context.settings.lastDB) {
        catalogue.path = *m_context.settings.lastDB;
        if (!QFileInfo(catalogue.path).isFile()) {
            m_feedback->showMessage(m_context.missingCatalogueText(catalogue.path), MessageIcon::Critical);
            catalogue.path.clear();
            showCataloguePath(QString());
            QApplication::restoreOverrideCursor();
            openDatabaseDialog();
            QApplication::setOverrideCursor(Qt::WaitCursor);
            showCataloguePath(catalogue.path);
            return;
        }
    } else {
        catalogue.path = programFolder::defaultCataloguePath();
        m_context.createSchema(*m_feedback);
        applyTranslationsState();
    }
    showCataloguePath(catalogue.path);
    openCatalogueAtStartUp();
}

void frmZelvarion::openCatalogueAtStartUp()
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (!catalogue.openOrReport(*m_feedback))
        return;
    m_context.loadTranslations(*m_feedback);
    applyTranslationsState();
    if (runStartupTuning(catalogue, *m_feedback)) {
        if (const auto total = countCatalogueImages(catalogue, *m_feedback))
            showCatalogueCount(*total);
    }
    catalogue.close();
}

} // namespace zelvarion
