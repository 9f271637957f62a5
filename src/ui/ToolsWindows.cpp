// The export and analysis commands of the Tools menu: the XML export dialog, the non-modal word
// statistics window (one at a time, its menu item disabled while it is open) and the empty words
// dialog; the guide and About of the ? menu.
#include "ui/ToolsWindows.h"

#include "core/session/Feedback.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/ResultGrid.h"
#include "ui/frmAbout.h"
#include "ui/frmEmptyWordsList.h"
#include "ui/frmExportXML.h"
#include "ui/frmStatistics.h"

#include <QFileInfo>

namespace zelvarion {

ToolsWindows::ToolsWindows(const MainWindowParts &parts)
    : m_parts(parts)
{
}

void ToolsWindows::run(MenuCommand command)
{
    switch (command) {
    case MenuCommand::Help: showHelp(); break;
    case MenuCommand::About: showAbout(); break;
    case MenuCommand::ExportxML: openExportDialog(); break;
    case MenuCommand::Statistics: openStatisticsWindow(); break;
    case MenuCommand::EmptyWordsList: openEmptyWordsDialog(); break;
    default: break;
    }
}

void ToolsWindows::openExportDialog()
{
    frmExportXML dialog(m_parts.context, m_parts.grid.result(), m_parts.feedback, &m_parts.window);
    dialog.exec();
}

void ToolsWindows::openEmptyWordsDialog()
{
    frmEmptyWordsList dialog(m_parts.context, &m_parts.window);
    dialog.exec();
}

void ToolsWindows::openStatisticsWindow()
{
    if (m_statistics) {
        m_statistics->raise();
        m_statistics->activateWindow();
        return;
    }
    m_statistics = new frmStatistics(m_parts.context, m_parts.grid.result(), m_parts.feedback, &m_parts.window);
    m_parts.menus.setCommandsEnabled({MenuCommand::Statistics}, false);
    connect(m_statistics, &frmStatistics::searchRequested, this, &ToolsWindows::wordSearchRequested);
    connect(m_statistics, &frmStatistics::closed, this, [this] {
        m_statistics = nullptr;
        m_parts.menus.setCommandsEnabled({MenuCommand::Statistics}, true);
    });
    m_statistics->show();
}

bool ToolsWindows::isStatisticsWindowOpen() const
{
    return m_statistics != nullptr;
}

bool ToolsWindows::closeStatisticsWindow()
{
    if (!m_statistics)
        return true;
    if (m_statistics->isAnalysing()) {
        // The analysis runs inside the statistics window; it ends at the next image.
        m_statistics->stop();
        return false;
    }
    m_statistics->close(); // its options are stored, and it does not outlive the program
    return true;
}

// A guide that cannot be shown is reported with what failed and where the guide should be.
void ToolsWindows::showHelp()
{
    const QString guide = programFolder::helpFilePath();
    if (!QFileInfo(guide).isFile()) {
        m_parts.feedback.showMessage(m_parts.context.language.message(Message::HelpFileMissing) + u'\n' + guide,
                                     MessageIcon::Warning);
        return;
    }
    if (!shell::openWithDefaultProgram(guide))
        m_parts.feedback.showMessage(m_parts.context.language.message(Message::HelpNotOpened) + u'\n' + guide,
                                     MessageIcon::Warning);
}

void ToolsWindows::showAbout()
{
    frmAbout about(m_parts.context, &m_parts.window);
    about.exec();
}

} // namespace zelvarion
