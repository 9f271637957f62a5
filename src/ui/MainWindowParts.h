#pragma once

class QWidget;

namespace zelvarion {

struct AppContext;
class CatalogueStatus;
class DetailPanel;
class Feedback;
class MainMenus;
class ResultGrid;
class SearchPanel;

// The main window's shared state and panels, handed to each of its controllers. The window owns
// them all and destroys its controllers first.
struct MainWindowParts
{
    QWidget &window;
    AppContext &context;
    Feedback &feedback;
    MainMenus &menus;
    SearchPanel &searchPanel;
    ResultGrid &grid;
    DetailPanel &detail;
    CatalogueStatus &status;
};

} // namespace zelvarion
