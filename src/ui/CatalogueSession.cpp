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
    : m_parts(parts), m_configuration(configuration)
{
    connect(&m_parts.status, &CatalogueStatus::databaseRequested, this, &CatalogueSession::openDatabaseDialog);
}

// The buttons' rounded corners and the grey translation label are given as the panels are made.
void CatalogueSession::startUp()
{
    m_parts.window.setWindowTitle(applicationTitle());
    m_parts.context.osDescription = shell::operatingSystemDescription();
    m_parts.context.namedStreamsAvailable = ThumbnailStore().isAvailable();

    readWindowPlacement();
    const QString languageFolder = programFolder::languageFolder();
    const QStringList languages = listExtraLanguages(languageFolder);
    QStringList ownNames;
    for (const QString &language : languages)
        ownNames << languageOwnName(languageFolder, language);
    m_parts.menus.setExtraLanguages(languages, ownNames);
    readStoredSettings();
    m_configuration.loadLanguagePack();
    QDir::setCurrent(programFolder::path());

    m_parts.detail.showNotice(withLineBreaks(m_parts.context.language.text(InterfaceText::StartupNotice)));
    m_parts.window.show();
    m_parts.window.repaint();
    m_parts.window.setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    chooseAndOpenCatalogue();
    m_parts.detail.clear();
    m_parts.window.setEnabled(true);
    QApplication::restoreOverrideCursor();
    // A catalogue opened for the first time since the index came is indexed once the window is up.
    QTimer::singleShot(0, this, [this] {
        updateSearchIndex(&m_parts.window, m_parts.context.catalogue.path, m_parts.context.language);
    });
}

void CatalogueSession::readWindowPlacement()
{
    const QRect stored =
        pixels(readWindowTwips(m_parts.context.ini, QLatin1String(kMainWindowSection), twips(frmZelvarion::designGeometry())));
    m_parts.window.move(stored.topLeft());
    m_parts.window.resize(stored.size());
    // Maximised over the normal place just set, which the window keeps for when it is restored.
    const QString section = QLatin1String(kMainWindowSection);
    if (settingValue::switchDefaultOff(m_parts.context.ini.read(section, QLatin1String(kMaximizedKey))))
        m_parts.window.setWindowState(m_parts.window.windowState() | Qt::WindowMaximized);
}

void CatalogueSession::readStoredSettings()
{
    m_configuration.applyConfiguration();
    readSearchOptions(m_parts.context.ini, m_parts.context.settings);
    m_parts.searchPanel.applySettings();
    m_parts.searchPanel.setHistory(readSearchHistory(m_parts.context.ini));
    readEditIptcOptions(m_parts.context.ini, m_parts.context.settings);
    readCustomizedFieldNames(m_parts.context.ini, m_parts.context.settings);
    readExportOptions(m_parts.context.ini, m_parts.context.settings);
}

void CatalogueSession::chooseAndOpenCatalogue()
{
    CatalogueDb &catalogue = m_parts.context.catalogue;
    if (m_parts.context.settings.lastDB) {
        catalogue.path = *m_parts.context.settings.lastDB;
        // A remembered file that is gone, or is no catalogue (the undo journal, another program's
        // database), is never opened as one: the user chooses again.
        const CatalogueFileCheck check = checkCatalogueFile(catalogue.path);
        // A server's database without the tables gets them, as the default file does.
        if (catalogue.isServer() && check.kind == CatalogueFileKind::Missing) {
            m_parts.context.createSchema(m_parts.feedback);
            applyTranslationsState();
        } else if (check.kind == CatalogueFileKind::Missing || check.kind == CatalogueFileKind::NotADatabase
            || check.kind == CatalogueFileKind::NotACatalogue) {
            m_parts.feedback.showMessage(check.kind == CatalogueFileKind::Missing
                                         ? m_parts.context.missingCatalogueText(catalogue.path)
                                         : catalogueFileProblem(check, catalogue.path, m_parts.context.language),
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
        m_parts.context.createSchema(m_parts.feedback);
        applyTranslationsState();
    }
    showCataloguePath(catalogue.path);
    openCatalogueAtStartUp();
}

void CatalogueSession::openCatalogueAtStartUp()
{
    CatalogueDb &catalogue = m_parts.context.catalogue;
    if (!catalogue.openOrReport(m_parts.feedback))
        return;
    m_parts.context.loadTranslations(m_parts.feedback);
    applyTranslationsState();
    if (runStartupTuning(catalogue, m_parts.feedback)) {
        if (const auto total = countCatalogueImages(catalogue, m_parts.feedback))
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
    m_parts.status.showCount(total);
    m_parts.grid.setHelpVisible(total == 0);
}

void CatalogueSession::recountCatalogueImages()
{
    CatalogueDb &catalogue = m_parts.context.catalogue;
    if (!catalogue.openOrReport(m_parts.feedback))
        return;
    if (const auto total = countCatalogueImages(catalogue, m_parts.feedback))
        showCatalogueCount(*total);
    catalogue.close();
}

void CatalogueSession::showCataloguePath(const QString &path)
{
    m_parts.status.showPath(path);
}

void CatalogueSession::applyTranslationsState()
{
    m_parts.searchPanel.applyTranslationsState(m_parts.context.translations);
}

void CatalogueSession::saveAtClose()
{
    // A maximised window keeps the place it returns to, not the whole screen.
    const bool maximised = m_parts.window.isMaximized() || m_parts.window.isFullScreen();
    const QWidget &window = m_parts.window;
    const QRect placement = maximised ? window.normalGeometry() : QRect(window.pos(), window.size());
    writeWindowTwips(m_parts.context.ini, QLatin1String(kMainWindowSection), twips(placement));
    writeSwitch(m_parts.context.ini, QLatin1String(kMainWindowSection), QLatin1String(kMaximizedKey), maximised);
    writeSearchHistory(m_parts.context.ini, m_parts.searchPanel.history());
}

} // namespace zelvarion
