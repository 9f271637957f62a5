#pragma once

#include "ui/MainWindowParts.h"

#include <QObject>
#include <functional>

class QString;

namespace zelvarion {

class ConfigurationMenus;

// The main window's life with its catalogue: the start-up sequence from the settings to the
// opened catalogue, the database dialog, what the window shows of the catalogue (image count,
// path, translations) and what it keeps when it closes.
class CatalogueSession : public QObject
{
    Q_OBJECT
public:
    CatalogueSession(const MainWindowParts &parts, ConfigurationMenus &configuration);

    // The single-instance check runs before the window exists.
    void startUp();

    // The modal database dialog; tests replace it.
    void setDatabaseDialogOpener(std::function<void()> opener) { m_openDatabaseDialog = std::move(opener); }
    void openDatabaseDialog();

    // The image total (the help frame shows while it is 0), the path in the hidden lblDB, the
    // translations state after a load.
    void showCatalogueCount(long long total);
    // The image total read again from the catalogue and shown (after a command removed rows).
    void recountCatalogueImages();
    void showCataloguePath(const QString &path);
    void applyTranslationsState();

    // The window's placement and the search history written to the configuration file.
    void saveAtClose();

private:
    void readWindowPlacement();
    void readStoredSettings();
    void chooseAndOpenCatalogue();
    void openCatalogueAtStartUp();

    const MainWindowParts m_parts;
    ConfigurationMenus &m_configuration;
    std::function<void()> m_openDatabaseDialog;
};

} // namespace zelvarion
