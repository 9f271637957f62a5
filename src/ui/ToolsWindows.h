#pragma once

#include "ui/MainMenus.h"
#include "ui/MainWindowParts.h"

#include <QObject>
#include <QPointer>

class QString;

namespace zelvarion {

class frmStatistics;

// The windows of the Tools and ? menus: the XML export, the word statistics (non-modal, one at a
// time, its menu item disabled while it is open), the empty words, the guide and About.
class ToolsWindows : public QObject
{
    Q_OBJECT
public:
    explicit ToolsWindows(const MainWindowParts &parts);

    // Export, Statistics, Empty words list, Help and About; the other commands are not its own.
    void run(MenuCommand command);
    bool isStatisticsWindowOpen() const;
    // Before the main window closes: a running analysis is stopped and false returned (it ends at
    // the next image), else the statistics window is closed.
    bool closeStatisticsWindow();

Q_SIGNALS:
    // A double-click in the statistics window: a search for that word.
    void wordSearchRequested(const QString &word);

private:
    void openExportDialog();
    void openStatisticsWindow();
    void openEmptyWordsDialog();
    void showHelp();
    void showAbout();

    const MainWindowParts m_parts;
    QPointer<frmStatistics> m_statistics;
};

} // namespace zelvarion
