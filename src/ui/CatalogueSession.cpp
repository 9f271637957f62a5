// The start-up sequence of the main window, from the settings to the enabled window; the
// catalogue's state on show and what is kept at close.
#include "ui/CatalogueSession.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/session/AppInfo.h"
#include "core/session/Feedback.h"
#include "platform/ProgramFolder.h"
#include "platform/ThumbnailStore.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/CatalogueStatus.h"
#include "ui/ConfigurationMenus.h"
#include "ui/DetailPanel.h"
#include "ui/ResultGrid.h"
#include "ui/SearchPanel.h"
#include "ui/frmZelvarion.h"
#include "core/session/Twips.h"

#include "ui/SearchIndexProgress.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace zelvarion {

CatalogueSession::CatalogueSession(const MainWindowParts &parts, ConfigurationMenus &configuration)
    : m_window(parts.window), m_context(parts.context), m_feedback(&parts.feedback), m_menus(&parts.menus),
      m_searchPanel(&parts.searchPanel), m_grid(&parts.grid), m_detail(&parts.detail), m_status(&parts.status),
      m_configuration(configuration)
{
    connect(m_status, &CatalogueStatus::databaseRequested, this, &CatalogueSession::openDatabaseDialog);
}

// The buttons' rounded corners and the grey translation label are given as the panels are made.
void CatalogueSession::startUp()
{
    m_window.setWindowTitle(applicationTitle());
    m_context.osDescription = shell::operatingSystemDescription();
    m_context.namedStreamsAvailable = ThumbnailStore().isAvailable();

    readWindowPlacement();
    const QString languageFolder = programFolder::languageFolder();
    const QStringList languages = listExtraLanguages(languageFolder);
    QStringList ownNames;
    for (const QString &language : languages)
        ownNames << languageOwnName(languageFolder, language);
    m_menus->setExtraLanguages(languages, ownNames);
    readStoredSettings();
    m_configuration.loadLanguagePack();
    QDir::setCurrent(programFolder::path());

    m_detail->showNotice(withLineBreaks(m_context.language.text(InterfaceText::StartupNotice)));
    m_window.show();
    m_window.repaint();
    m_window.setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    chooseAndOpenCatalogue();
    m_detail->clear();
    m_window.setEnabled(true);
    QApplication::restoreOverrideCursor();
    // A catalogue opened for the first time since the index came is indexed once the window is up.
    QTimer::singleShot(0, this, [this] { updateSearchIndex(&m_window, m_context.catalogue.path, m_context.language); });
}

void CatalogueSession::readWindowPlacement()
{
    const QRect stored =
        pixels(readWindowTwips(m_context.ini, QLatin1String(kMainWindowSection), twips(frmZelvarion::designGeometry())));
    m_window.move(stored.topLeft());
    m_window.resize(stored.size());
    // Maximised over the normal place just set, which the window keeps for when it is restored.
    const QString section = QLatin1String(kMainWindowSection);
    if (settingValue::switchDefaultOff(m_context.ini.read(section, QLatin1String(kMaximizedKey))))
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
}

void CatalogueSession::readStoredSettings()
{
    m_configuration.applyConfiguration();
    readSearchOptions(m_context.ini, m_context.settings);
    m_searchPanel->applySettings();
    m_searchPanel->setHistory(readSearchHistory(m_context.ini));
    readEditIptcOptions(m_context.ini, m_context.settings);
    readCustomizedFieldNames(m_context.ini, m_context.settings);
    readExportOptions(m_context.ini, m_context.settings);
}

void CatalogueSession::chooseAndOpenCatalogue()
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

void CatalogueSession::openCatalogueAtStartUp()
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

void CatalogueSession::openDatabaseDialog()
{
    if (m_openDatabaseDialog)
        m_openDatabaseDialog();
}

void CatalogueSession::showCatalogueCount(long long total)
{
    m_status->showCount(total);
    m_grid->setHelpVisible(total == 0);
}

void CatalogueSession::recountCatalogueImages()
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (!catalogue.openOrReport(*m_feedback))
        return;
    if (const auto total = countCatalogueImages(catalogue, *m_feedback))
        showCatalogueCount(*total);
    catalogue.close();
}

void CatalogueSession::showCataloguePath(const QString &path)
{
    m_status->showPath(path);
}

void CatalogueSession::applyTranslationsState()
{
    m_searchPanel->applyTranslationsState(m_context.translations);
}

void CatalogueSession::saveAtClose()
{
    // A maximised window keeps the place it returns to, not the whole screen.
    const bool maximised = m_window.isMaximized() || m_window.isFullScreen();
    const QRect placement = maximised ? m_window.normalGeometry() : QRect(m_window.pos(), m_window.size());
    writeWindowTwips(m_context.ini, QLatin1String(kMainWindowSection), twips(placement));
    writeSwitch(m_context.ini, QLatin1String(kMainWindowSection), QLatin1String(kMaximizedKey), maximised);
    writeSearchHistory(m_context.ini, m_searchPanel->history());
}

} // namespace zelvarion
