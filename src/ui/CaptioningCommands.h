#pragma once

#include "ui/MainMenus.h"
#include "ui/MainWindowParts.h"

#include <QObject>

namespace zelvarion {

class ResultBrowser;

// The captioning commands of the main window: the template dialog, the edit options, applying
// the template in use to the result on show, undoing the last run, and the edit dialog on an
// image of the result (the pop-up's command and a double-click in the detail panel).
class CaptioningCommands : public QObject
{
    Q_OBJECT
public:
    // browser: the pop-up's image, and the detail panel drawn again after an edit.
    CaptioningCommands(const MainWindowParts &parts, ResultBrowser &browser);

    // The commands named above; the others are not its own.
    void run(MenuCommand command);

private:
    // The edit dialog on image `rank` of the result.
    void editResultImage(int rank);
    // The file and row of image `rank` were rewritten: its cell, thumbnail and, when it is the
    // image shown there, the detail panel are drawn again from the catalogue.
    void refreshRevisedImage(int rank);
    void applyTemplateToResult();
    void undoLastTemplateRun();

    const MainWindowParts m_parts;
    ResultBrowser &m_browser;
};

} // namespace zelvarion
