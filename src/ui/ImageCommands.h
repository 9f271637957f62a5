#pragma once

#include "ui/MainMenus.h"
#include "ui/MainWindowParts.h"

#include <QObject>
#include <QPointer>
#include <functional>

class QString;

namespace zelvarion {

class ResultBrowser;
class frmSQLQuery;
class frmSelections;

// The image commands of the Selection and Tools menus and of the image pop-up menu: check marks
// and selections, the double file names, copying the result, the SQL console, and the pop-up's
// Delete, Rename and Properties. Each runs the core's command on the result on show and shows
// what changed in the cells.
class ImageCommands : public QObject
{
    Q_OBJECT
public:
    // browser: the result on show and the searches the commands start.
    ImageCommands(const MainWindowParts &parts, ResultBrowser &browser);

    // The commands named above; the others are not its own.
    void run(MenuCommand command);
    // Toggles a cell's mark (the grid's checkClicked).
    void toggleCellMark(int cell);
    // "Display selected images"; the result count returned.
    int listMarkedImages();
    // The file manager's properties of a file, or our dialog where none answers; tests replace it.
    void setPropertiesShower(std::function<void(const QString &path)> shower) { m_showProperties = std::move(shower); }
    // The console's history is written as it closes.
    void closeSqlConsole();

Q_SIGNALS:
    // A row left the catalogue (Delete): the image count is taken again.
    void catalogueRowsRemoved();

private:
    void markWholeResult(bool mark);
    void removeAllMarks();
    void openSelections();
    void openSqlConsole();
    void deletePopupImage();
    void renamePopupImage();
    void showPopupProperties();
    void searchDoubleFileNames();
    void copyResultImages();

    const MainWindowParts m_parts;
    ResultBrowser &m_browser;
    QPointer<frmSelections> m_selections;
    QPointer<frmSQLQuery> m_sqlConsole;
    std::function<void(const QString &path)> m_showProperties;
};

} // namespace zelvarion
