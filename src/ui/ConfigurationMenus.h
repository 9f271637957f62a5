#pragma once

#include "ui/MainMenus.h"
#include "ui/MainWindowParts.h"

#include <QObject>

namespace zelvarion {

// The Configuration and Language menus: the three switches, the search options dialog, the
// stored configuration shown in the menus at start-up, and the language pack applied to every
// panel of the main window.
class ConfigurationMenus : public QObject
{
    Q_OBJECT
public:
    explicit ConfigurationMenus(const MainWindowParts &parts);

    // Search options; the other commands are not its own.
    void run(MenuCommand command);
    // The configuration read and shown in the menus (thumbnails off without named streams).
    void applyConfiguration();
    // LoadLanguagePack: loads the pack named by the Language setting, then applies it.
    void loadLanguagePack();
    // Topmost when StayOnTop is on, without moving or resizing the window.
    void setOnTop();

private:
    void toggleSetting(MenuToggle toggle, bool on);
    void chooseLanguage(const QString &language);
    void applyLanguage();
    void showSearchOptions();

    const MainWindowParts m_parts;
};

} // namespace zelvarion
