#include "ui/MainMenus.h"

#include "core/session/LanguagePack.h"
#include "ui/Pictures.h"

#include <QAction>
#include <QMenu>

namespace zelvarion {
namespace {

using enum InterfaceText;

struct CommandCaption
{
    MenuCommand command;
    InterfaceText caption;
};

constexpr CommandCaption kCommandCaptions[] = {
    {MenuCommand::Base, DefineDatabaseMenuItem},
    {MenuCommand::FileExit, ExitMenuItem},
    {MenuCommand::SearchOptions, SearchOptionsMenuItem},
    {MenuCommand::EditIPTCOptions, EditOptionsMenuItem},
    {MenuCommand::DefineTemplates, DefineTemplatesMenuItem},
    {MenuCommand::ApplyTemplate, ApplyTemplateMenuItem},
    {MenuCommand::UndoTemplateRun, UndoTemplateRunMenuItem},
    {MenuCommand::DisplaySelected, DisplayMarkedMenuItem},
    {MenuCommand::RemoveSelection, RemoveAllMarksMenuItem},
    {MenuCommand::Selections, SelectionsMenuItem},
    {MenuCommand::SelectResult, MarkResultMenuItem},
    {MenuCommand::UnselectResult, UnmarkResultMenuItem},
    {MenuCommand::Statistics, StatisticsMenuItem},
    {MenuCommand::EmptyWordsList, EmptyWordsMenuItem},
    {MenuCommand::SearchDoubles, SearchDoublesMenuItem},
    {MenuCommand::CopyImages, CopyImagesMenuItem},
    {MenuCommand::SQLQuery, SqlQueryMenuItem},
    {MenuCommand::ExportxML, ExportXmlMenuItem},
    {MenuCommand::Help, HelpMenu},
    {MenuCommand::About, AboutMenuItem},
    {MenuCommand::EditIPTC, EditIptcMenuItem},
    {MenuCommand::OpenImage, OpenImageMenuItem},
    {MenuCommand::Delete, DeleteMenuItem},
    {MenuCommand::Rename, RenameMenuItem},
    {MenuCommand::Properties, PropertiesMenuItem},
};

// In the order of MenuToggle.
constexpr InterfaceText kToggleCaptions[] = {DisplayImageMenuItem, StayOnTopMenuItem, UseThumbnailsMenuItem};

} // namespace

MainMenus::MainMenus(QWidget *parent) : QMenuBar(parent)
{
    setObjectName(QStringLiteral("MainMenus"));
    createFileAndConfiguration();
    createSelectionAndTools();
    createLanguagesAndHelp();
    createImagePopup();
}

QMenu *MainMenus::addMenu(const char *name, const QString &caption)
{
    QMenu *menu = QMenuBar::addMenu(caption);
    menu->setObjectName(QLatin1String(name));
    return menu;
}

void MainMenus::addCommand(QMenu *menu, MenuCommand command, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    m_commands[std::size_t(command)] = action;
    connect(action, &QAction::triggered, this, [this, command] { Q_EMIT commandChosen(command); });
}

void MainMenus::addToggle(QMenu *menu, MenuToggle toggle, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(true);
    m_toggles[std::size_t(toggle)] = action;
    connect(action, &QAction::triggered, this, [this, toggle](bool checked) { Q_EMIT toggled(toggle, checked); });
}

void MainMenus::createFileAndConfiguration()
{
    mnuFile = addMenu("mnuFile", QStringLiteral("File"));
    addCommand(mnuFile, MenuCommand::Base, "mnuBase", QStringLiteral("Define database and folders to scan"));
    mnuFile->addSeparator();
    addCommand(mnuFile, MenuCommand::FileExit, "mnuFileExit", QStringLiteral("Exit"));

    mnuConfiguration = addMenu("mnuConfiguration", QStringLiteral("Configuration"));
    addCommand(mnuConfiguration, MenuCommand::SearchOptions, "mnuSearchOptions", QStringLiteral("Search options"));
    addCommand(mnuConfiguration, MenuCommand::EditIPTCOptions, "mnuEditIPTCOptions",
               QStringLiteral("Edit IPTC options"));
    mnuConfiguration->addSeparator();
    addToggle(mnuConfiguration, MenuToggle::DisplayImage, "mnuDisplayImage", QStringLiteral("Display image"));
    addToggle(mnuConfiguration, MenuToggle::StayOnTop, "mnuStayOnTop", QStringLiteral("Stay on top"));
    addToggle(mnuConfiguration, MenuToggle::UseThumbnails, "mnuUseThumbnails",
              QStringLiteral("Use generated thumbnails to display images"));

    mnuTemplates = addMenu("mnuTemplates", QStringLiteral("Templates"));
    addCommand(mnuTemplates, MenuCommand::DefineTemplates, "mnuDefineTemplates", QStringLiteral("Define IPTC templates"));
    addCommand(mnuTemplates, MenuCommand::ApplyTemplate, "mnuApplyTemplate",
               QStringLiteral("Apply template to images in search result"));
    addCommand(mnuTemplates, MenuCommand::UndoTemplateRun, "mnuUndoTemplateRun", QStringLiteral("Undo last template run"));
}

void MainMenus::createSelectionAndTools()
{
    mnuSelectedImages = addMenu("mnuSelectedImages", QStringLiteral("Selection"));
    addCommand(mnuSelectedImages, MenuCommand::DisplaySelected, "mnuDisplaySelected",
               QStringLiteral("Display selected images"));
    addCommand(mnuSelectedImages, MenuCommand::RemoveSelection, "mnuRemoveSelection",
               QStringLiteral("Remove all selection marks"));
    addCommand(mnuSelectedImages, MenuCommand::Selections, "mnuSelections", QStringLiteral("Save selections"));
    mnuSelectedImages->addSeparator();
    addCommand(mnuSelectedImages, MenuCommand::SelectResult, "mnuSelectResult",
               QStringLiteral("Select all images in result"));
    addCommand(mnuSelectedImages, MenuCommand::UnselectResult, "mnuUnselectResult",
               QStringLiteral("Unselect all images in result"));
    // The legend's pictures beside the first two items.
    item(MenuCommand::DisplaySelected)->setIcon(QIcon(pictures::checkMark(1)));
    item(MenuCommand::RemoveSelection)->setIcon(QIcon(pictures::checkMark(0)));

    mnuTools = addMenu("mnuTools", QStringLiteral("Tools"));
    addCommand(mnuTools, MenuCommand::Statistics, "mnuStatistics", QStringLiteral("Word statistics"));
    addCommand(mnuTools, MenuCommand::EmptyWordsList, "mnuEmptyWordsList", QStringLiteral("Empty words list"));
    addCommand(mnuTools, MenuCommand::SearchDoubles, "mnuSearchDoubles", QStringLiteral("Search for duplicate file names"));
    addCommand(mnuTools, MenuCommand::CopyImages, "mnuCopyImages", QStringLiteral("Copy images"));
    addCommand(mnuTools, MenuCommand::SQLQuery, "mnuSQLQuery", QStringLiteral("SQL Select Query [expert]"));
    addCommand(mnuTools, MenuCommand::ExportxML, "mnuExportxML", QStringLiteral("XML Export"));
}

void MainMenus::createLanguagesAndHelp()
{
    mnuLanguages = addMenu("mnuLanguages", QStringLiteral("Language"));
    for (int i = 0; i < kLanguageItems; ++i) {
        QAction *language = mnuLanguages->addAction(i == 0 ? QStringLiteral("English") : QString());
        language->setData(i == 0 ? QStringLiteral("English") : QString());
        language->setObjectName(QStringLiteral("mnuLanguage_") + QString::number(i));
        language->setCheckable(true);
        language->setVisible(i == 0);
        m_languages[std::size_t(i)] = language;
        connect(language, &QAction::triggered, this, [this, language, i] {
            Q_EMIT languageChosen(language->data().toString());
        });
    }
    mnuAboutHelp = addMenu("mnuAboutHelp", QStringLiteral("?"));
    addCommand(mnuAboutHelp, MenuCommand::Help, "mnuHelp", QStringLiteral("Help"));
    addCommand(mnuAboutHelp, MenuCommand::About, "mnuAbout", QStringLiteral("About"));
}

void MainMenus::createImagePopup()
{
    mnuImagePopup = new QMenu(this);
    mnuImagePopup->setObjectName(QStringLiteral("mnuImagePopup"));
    addCommand(mnuImagePopup, MenuCommand::EditIPTC, "mnuEditIPTC", QStringLiteral("Edit IPTC information"));
    addCommand(mnuImagePopup, MenuCommand::OpenImage, "mnuOpenImage", QStringLiteral("Open image"));
    addCommand(mnuImagePopup, MenuCommand::Delete, "mnuDelete", QStringLiteral("Delete"));
    addCommand(mnuImagePopup, MenuCommand::Rename, "mnuRename", QStringLiteral("Rename"));
    addCommand(mnuImagePopup, MenuCommand::Properties, "mnuProperties", QStringLiteral("Properties"));
}

void MainMenus::applyLanguage(const LanguagePack &pack)
{
    mnuFile->setTitle(pack.text(FileMenu));
    mnuLanguages->setTitle(pack.text(LanguageMenu));
    mnuConfiguration->setTitle(pack.text(ConfigurationMenu));
    mnuTools->setTitle(pack.text(ToolsMenu));
    mnuTemplates->setTitle(pack.text(TemplatesMenu));
    mnuSelectedImages->setTitle(pack.text(SelectionMenu));
    for (const CommandCaption &caption : kCommandCaptions)
        item(caption.command)->setText(pack.text(caption.caption));
    for (std::size_t i = 0; i < m_toggles.size(); ++i)
        m_toggles[i]->setText(pack.text(kToggleCaptions[i]));
}

void MainMenus::setUnavailable(std::initializer_list<MenuCommand> commands)
{
    for (MenuCommand command : commands) {
        m_unavailable[std::size_t(command)] = true;
        item(command)->setEnabled(false);
    }
}

void MainMenus::setCommandsEnabled(std::initializer_list<MenuCommand> commands, bool enabled)
{
    for (MenuCommand command : commands)
        item(command)->setEnabled(enabled && !m_unavailable[std::size_t(command)]);
}

bool MainMenus::isCommandEnabled(MenuCommand command) const
{
    return item(command)->isEnabled();
}

void MainMenus::setToggle(MenuToggle toggle, bool checked)
{
    m_toggles[std::size_t(toggle)]->setChecked(checked);
}

void MainMenus::setToggleEnabled(MenuToggle toggle, bool enabled)
{
    m_toggles[std::size_t(toggle)]->setEnabled(enabled);
}

void MainMenus::setExtraLanguages(const QStringList &languages, const QStringList &ownNames)
{
    for (int i = 1; i < kLanguageItems; ++i) {
        QAction *language = m_languages[std::size_t(i)];
        const bool shown = i - 1 < languages.size();
        language->setData(shown ? languages[i - 1] : QString());
        language->setText(shown && i - 1 < ownNames.size() ? ownNames[i - 1] : language->data().toString());
        language->setVisible(shown);
    }
}

void MainMenus::checkLanguage(const QString &language)
{
    for (QAction *item : m_languages)
        item->setChecked(item->isVisible() && item->data().toString() == language);
}

void MainMenus::popupImageMenu(const QString &openImageCaption, const QPoint &at)
{
    item(MenuCommand::OpenImage)->setText(openImageCaption);
    mnuImagePopup->popup(at);
}

} // namespace zelvarion
