// The start-up sequence of the main window, from the settings to the enabled window.
#include "ui/frmZelvarion.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/session/AppInfo.h"
#include "core/session/Feedback.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"
#include "platform/gui/ShellServices.h"
#include "ui/DetailPanel.h"
#include "ui/SearchPanel.h"
#include "core/session/Twips.h"

#include "ui/SearchIndexProgress.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace zelvarion {

// The buttons' rounded corners and the grey translation label are given as the panels are made.
void frmZelvarion::startUp()
{
    setWindowTitle(applicationTitle());
    m_context.osDescription = shell::operatingSystemDescription();
    m_context.namedStreamsAvailable = ThumbnailStore().isAvailable();

    readWindowPlacement();
    m_menus->setExtraLanguages(listExtraLanguages(programFolder::languageFolder()));
    applyConfiguration();
    readSearchOptions(m_context.ini, m_context.settings);
    m_searchPanel->applySettings();
    m_searchPanel->setHistory(readSearchHistory(m_context.ini));
    readEditIptcOptions(m_context.ini, m_context.settings);
    readCustomizedFieldNames(m_context.ini, m_context.settings);
    readExportOptions(m_context.ini, m_context.settings);
    loadLanguagePack();
    QDir::setCurrent(programFolder::path());

    m_detail->showNotice(withLineBreaks(m_context.language.text(InterfaceText::StartupNotice)));
    show();
    repaint();
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    chooseAndOpenCatalogue();
    m_detail->clear();
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    // A catalogue opened for the first time since the index came is indexed once the window is up.
    QTimer::singleShot(0, this, [this] { updateSearchIndex(this, m_context.catalogue.path, m_context.language); });
}

void frmZelvarion::readWindowPlacement()
{
    const QRect stored = pixels(readWindowTwips(m_context.ini, QLatin1String(kMainWindowSection), twips(designGeometry())));
    move(stored.topLeft());
    resize(stored.size());
}

void frmZelvarion::applyConfiguration()
{
    AppSettings &settings = m_context.settings;
    readConfiguration(m_context.ini, settings);
    m_menus->setToggle(MenuToggle::DisplayImage, settings.displayImage);
    m_menus->setToggle(MenuToggle::StayOnTop, settings.stayOnTop);
    setOnTop();
    if (!m_context.namedStreamsAvailable) {
        settings.createThumbnails = false;
        settings.useThumbnails = false;
        m_menus->setToggleEnabled(MenuToggle::UseThumbnails, false);
    }
    m_menus->setToggle(MenuToggle::UseThumbnails, settings.useThumbnails);
    m_menus->checkLanguage(settings.language);
}

void frmZelvarion::chooseAndOpenCatalogue()
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (m_context.settings.lastDB) {
        catalogue.path = *m_context.settings.lastDB;
        // A remembered file that is gone, or is no catalogue (the undo journal, another program's
        // database), is never opened as one: the user chooses again.
        const CatalogueFileCheck check = checkCatalogueFile(catalogue.path);
        if (check.kind == CatalogueFileKind::Missing || check.kind == CatalogueFileKind::NotADatabase
            || check.kind == CatalogueFileKind::NotACatalogue) {
            m_feedback->showMessage(check.kind == CatalogueFileKind::Missing
                                        ? m_context.missingCatalogueText(catalogue.path)
                                        : catalogueFileProblem(check, catalogue.path, m_context.language),
                                    MessageIcon::Critical);
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
