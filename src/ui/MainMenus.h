#pragma once

#include <QMenuBar>
#include <QStringList>
#include <array>
#include <initializer_list>

class QAction;
class QMenu;

namespace zelvarion {

class LanguagePack;

// The commands of the main window's menus and of the image pop-up menu of a result cell. Each
// names one item; the item's object name is "mnu" followed by the same words.
enum class MenuCommand {
    Base, FileExit,                                        // File
    SearchOptions, EditIPTCOptions,                        // Configuration
    DefineTemplates, ApplyTemplate, UndoTemplateRun,       // Templates
    DisplaySelected, RemoveSelection, Selections, SelectResult, UnselectResult, // Selection
    Statistics, EmptyWordsList, SearchDoubles, CopyImages, SQLQuery, ExportxML, // Tools
    Help, About,                                           // ?
    EditIPTC, OpenImage, Delete, Rename, Properties,       // image pop-up menu
};
inline constexpr int kMenuCommandCount = int(MenuCommand::Properties) + 1;

// The three check items of the Configuration menu, each the switch of the same name.
enum class MenuToggle { DisplayImage, StayOnTop, UseThumbnails };

// The menu bar of the main window with the Language menu and the image pop-up menu. It owns its
// items: the window enables, checks and captions them through these operations and hears of
// choices through the signals.
class MainMenus : public QMenuBar
{
    Q_OBJECT
public:
    static constexpr int kLanguageItems = 11; // "English" and at most ten extra packs

    explicit MainMenus(QWidget *parent);

    void applyLanguage(const LanguagePack &pack);

    // Commands whose work is not in this program yet: they stay disabled whatever
    // setCommandsEnabled asks, so a rule that enables a group cannot wake them.
    void setUnavailable(std::initializer_list<MenuCommand> commands);
    void setCommandsEnabled(std::initializer_list<MenuCommand> commands, bool enabled);
    bool isCommandEnabled(MenuCommand command) const;

    void setToggle(MenuToggle toggle, bool checked);
    void setToggleEnabled(MenuToggle toggle, bool enabled);

    // Items 1.. of the Language menu stand for these packs, captioned with the names the packs give
    // their languages, and are shown; the rest stay hidden.
    void setExtraLanguages(const QStringList &languages, const QStringList &ownNames);
    // Checks the shown item of the pack named exactly `language`, unchecks the others.
    void checkLanguage(const QString &language);

    // Opens the image pop-up menu at `at` (global position) with this caption for Open image;
    // Edit IPTC information is disabled there.
    void popupImageMenu(const QString &openImageCaption, const QPoint &at);

Q_SIGNALS:
    void commandChosen(zelvarion::MenuCommand command);
    void toggled(zelvarion::MenuToggle toggle, bool checked);
    // A Language item was chosen; "English" for item 0.
    void languageChosen(const QString &language);

private:
    QMenu *addMenu(const char *name, const QString &caption);
    void addCommand(QMenu *menu, MenuCommand command, const char *name, const QString &caption);
    void addToggle(QMenu *menu, MenuToggle toggle, const char *name, const QString &caption);
    void createFileAndConfiguration();
    void createSelectionAndTools();
    void createLanguagesAndHelp();
    void createImagePopup();
    QAction *item(MenuCommand command) const { return m_commands[std::size_t(command)]; }

    std::array<QAction *, kMenuCommandCount> m_commands{};
    std::array<bool, kMenuCommandCount> m_unavailable{};
    std::array<QAction *, 3> m_toggles{};
    std::array<QAction *, kLanguageItems> m_languages{};
    QMenu *mnuFile = nullptr, *mnuConfiguration = nullptr, *mnuTemplates = nullptr,
          *mnuSelectedImages = nullptr, *mnuTools = nullptr, *mnuLanguages = nullptr,
          *mnuAboutHelp = nullptr, *mnuImagePopup = nullptr;
};

} // namespace zelvarion
