#include "ui/SearchIndexProgress.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/search/SearchIndex.h"
#include "core/session/LanguagePack.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QScopedValueRollback>

namespace zelvarion {

void updateSearchIndex(QWidget *parent, const QString &cataloguePath, const LanguagePack &language)
{
    // The dialog lets events through; one of them may ask again (the start-up's call queued
    // behind a search): the run in progress answers both.
    static bool running = false;
    if (running)
        return;
    const QScopedValueRollback<bool> guard(running, true);
    // A connection of its own: the window's catalogue object may be in use by a dialog's command.
    CatalogueDb catalogue;
    catalogue.path = cataloguePath;
    if (catalogue.path.isEmpty() || !checkCatalogueFile(catalogue.path).isCatalogue() || !catalogue.open())
        return;
    const searchIndex::Status state = searchIndex::status(catalogue);
    if (state.ready())
        return;
    QProgressDialog progress(language.text(InterfaceText::SearchIndexProgress),
                             withoutAccelerator(language.text(InterfaceText::StopButton)), 0, 0, parent);
    progress.setObjectName(QStringLiteral("frmSearchIndexProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400); // a few changed images are indexed without a dialog
    progress.setAutoClose(false);
    searchIndex::build(catalogue, [&](long long done, long long total) {
        progress.setMaximum(int(std::min<long long>(total, INT_MAX)));
        progress.setValue(int(std::min<long long>(done, INT_MAX)));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
}

} // namespace zelvarion
