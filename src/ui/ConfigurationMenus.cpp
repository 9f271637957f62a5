// The Configuration and Language menus of the main window: the switches, the search options, the
// stored configuration and the language switch.
#include "ui/ConfigurationMenus.h"

#include "core/session/PackText.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ToolkitLanguage.h"
#include "ui/AppContext.h"
#include "ui/CatalogueStatus.h"
#include "ui/DetailPanel.h"
#include "ui/ResultGrid.h"
#include "ui/SearchPanel.h"
#include "ui/frmSearchOptions.h"

namespace zelvarion {

ConfigurationMenus::ConfigurationMenus(const MainWindowParts &parts)
    : m_window(parts.window), m_context(parts.context), m_feedback(&parts.feedback), m_menus(&parts.menus),
      m_searchPanel(&parts.searchPanel), m_grid(&parts.grid), m_detail(&parts.detail), m_status(&parts.status)
{
    connect(m_menus, &MainMenus::toggled, this, &ConfigurationMenus::toggleSetting);
    connect(m_menus, &MainMenus::languageChosen, this, &ConfigurationMenus::chooseLanguage);
}

void ConfigurationMenus::run(MenuCommand command)
{
    if (command == MenuCommand::SearchOptions)
        showSearchOptions();
}

void ConfigurationMenus::applyConfiguration()
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

void ConfigurationMenus::toggleSetting(MenuToggle toggle, bool on)
{
    switch (toggle) {
    case MenuToggle::DisplayImage: m_context.setSetting(&AppSettings::displayImage, on); break;
    case MenuToggle::StayOnTop:
        m_context.setSetting(&AppSettings::stayOnTop, on);
        setOnTop();
        break;
    case MenuToggle::UseThumbnails: m_context.setSetting(&AppSettings::useThumbnails, on); break;
    }
}

void ConfigurationMenus::setOnTop()
{
    const bool wasVisible = m_window.isVisible();
    const QRect placement = m_window.geometry();
    m_window.setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
    // Changing a window flag hides the window; show it again where it was.
    if (wasVisible) {
        m_window.setGeometry(placement);
        m_window.show();
    }
}

// Choosing the checked language changes nothing.
void ConfigurationMenus::chooseLanguage(const QString &language)
{
    const bool changed = language != m_context.settings.language;
    if (changed)
        m_context.setSetting(&AppSettings::language, language);
    m_menus->checkLanguage(m_context.settings.language);
    if (changed)
        loadLanguagePack();
}

void ConfigurationMenus::loadLanguagePack()
{
    m_context.language.load(programFolder::languageFolder(), m_context.settings.language);
    useToolkitLanguage(packLocale(m_context.language));
    applyLanguage();
}

void ConfigurationMenus::applyLanguage()
{
    const LanguagePack &pack = m_context.language;
    m_menus->applyLanguage(pack);
    m_searchPanel->applyLanguage();
    m_grid->applyLanguage(pack);
    m_detail->applyLanguage(pack);
    m_status->applyLanguage(pack);
}

void ConfigurationMenus::showSearchOptions()
{
    frmSearchOptions options(m_context, *m_feedback, &m_window);
    options.exec();
}

} // namespace zelvarion
