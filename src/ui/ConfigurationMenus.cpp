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
    : m_parts(parts)
{
    connect(&m_parts.menus, &MainMenus::toggled, this, &ConfigurationMenus::toggleSetting);
    connect(&m_parts.menus, &MainMenus::languageChosen, this, &ConfigurationMenus::chooseLanguage);
}

void ConfigurationMenus::run(MenuCommand command)
{
    if (command == MenuCommand::SearchOptions)
        showSearchOptions();
}

void ConfigurationMenus::applyConfiguration()
{
    AppSettings &settings = m_parts.context.settings;
    readConfiguration(m_parts.context.ini, settings);
    m_parts.menus.setToggle(MenuToggle::DisplayImage, settings.displayImage);
    m_parts.menus.setToggle(MenuToggle::StayOnTop, settings.stayOnTop);
    setOnTop();
    if (!m_parts.context.namedStreamsAvailable) {
        settings.createThumbnails = false;
        settings.useThumbnails = false;
        m_parts.menus.setToggleEnabled(MenuToggle::UseThumbnails, false);
    }
    m_parts.menus.setToggle(MenuToggle::UseThumbnails, settings.useThumbnails);
    m_parts.menus.checkLanguage(settings.language);
}

void ConfigurationMenus::toggleSetting(MenuToggle toggle, bool on)
{
    switch (toggle) {
    case MenuToggle::DisplayImage: m_parts.context.setSetting(&AppSettings::displayImage, on); break;
    case MenuToggle::StayOnTop:
        m_parts.context.setSetting(&AppSettings::stayOnTop, on);
        setOnTop();
        break;
    case MenuToggle::UseThumbnails: m_parts.context.setSetting(&AppSettings::useThumbnails, on); break;
    }
}

void ConfigurationMenus::setOnTop()
{
    const bool wasVisible = m_parts.window.isVisible();
    const QRect placement = m_parts.window.geometry();
    m_parts.window.setWindowFlag(Qt::WindowStaysOnTopHint, m_parts.context.settings.stayOnTop);
    // Changing a window flag hides the window; show it again where it was.
    if (wasVisible) {
        m_parts.window.setGeometry(placement);
        m_parts.window.show();
    }
}

// Choosing the checked language changes nothing.
void ConfigurationMenus::chooseLanguage(const QString &language)
{
    const bool changed = language != m_parts.context.settings.language;
    if (changed)
        m_parts.context.setSetting(&AppSettings::language, language);
    m_parts.menus.checkLanguage(m_parts.context.settings.language);
    if (changed)
        loadLanguagePack();
}

void ConfigurationMenus::loadLanguagePack()
{
    m_parts.context.language.load(programFolder::languageFolder(), m_parts.context.settings.language);
    useToolkitLanguage(packLocale(m_parts.context.language));
    applyLanguage();
}

void ConfigurationMenus::applyLanguage()
{
    const LanguagePack &pack = m_parts.context.language;
    m_parts.menus.applyLanguage(pack);
    m_parts.searchPanel.applyLanguage();
    m_parts.grid.applyLanguage(pack);
    m_parts.detail.applyLanguage(pack);
    m_parts.status.applyLanguage(pack);
}

void ConfigurationMenus::showSearchOptions()
{
    frmSearchOptions options(m_parts.context, m_parts.feedback, &m_parts.window);
    options.exec();
}

} // namespace zelvarion
