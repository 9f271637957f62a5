// The captioning commands of the main window's menus: the template dialog, the edit options
// and applying the template in use to the result on show.
#include "ui/CaptioningCommands.h"

#include "ui/AppContext.h"
#include "ui/DetailPanel.h"
#include "ui/ResultBrowser.h"
#include "ui/ResultGrid.h"
#include "ui/frmApplyTemplate.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmEditIPTCOptions.h"
#include "ui/frmTemplates.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/session/Feedback.h"
#include "core/session/PackText.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoTemplateRun.h"
#include "platform/ThumbnailStore.h"

#include <QApplication>

namespace zelvarion {

CaptioningCommands::CaptioningCommands(const MainWindowParts &parts, ResultBrowser &browser)
    : m_parts(parts), m_browser(browser)
{
    // Applying waits for a search that found images.
    parts.menus.setCommandsEnabled({MenuCommand::ApplyTemplate}, false);
    connect(&m_parts.detail, &DetailPanel::editRequested, this, [this] {
        if (const std::optional<CellImage> image = m_parts.grid.cellImage(m_parts.grid.selectedCell()))
            editResultImage(image->rank);
    });
}

void CaptioningCommands::run(MenuCommand command)
{
    switch (command) {
    case MenuCommand::DefineTemplates:
        frmTemplates(m_parts.context, m_parts.feedback, &m_parts.window).exec();
        break;
    case MenuCommand::EditIPTCOptions:
        frmEditIPTCOptions(m_parts.context, m_parts.feedback, &m_parts.window).exec();
        break;
    case MenuCommand::ApplyTemplate: applyTemplateToResult(); break;
    case MenuCommand::UndoTemplateRun: undoLastTemplateRun(); break;
    case MenuCommand::EditIPTC:
        if (const std::optional<CellImage> image = m_browser.popupImage())
            editResultImage(image->rank);
        break;
    default: break;
    }
}

void CaptioningCommands::editResultImage(int rank)
{
    const ResultList &result = m_parts.grid.result();
    if (rank < 1 || rank > result.count() || result.row(rank).file.isEmpty())
        return;
    frmEditIPTC dialog(m_parts.context, m_parts.feedback, result.rows(), rank, &m_parts.window);
    connect(&dialog, &frmEditIPTC::imageSaved, this, &CaptioningCommands::refreshRevisedImage);
    dialog.exec();
}

void CaptioningCommands::refreshRevisedImage(int rank)
{
    if (rank < 1 || rank > m_parts.grid.result().count())
        return;
    const int selected = m_parts.grid.selectedCell();
    m_parts.grid.updateResultRow(rank, m_parts.grid.result().row(rank));
    m_parts.grid.showPage(); // the renewed thumbnail
    const std::optional<CellImage> image = m_parts.grid.cellImage(selected);
    if (image && image->rank == rank) {
        m_parts.grid.selectCell(selected);
        m_browser.showImageDetail(*image);
    }
}

// The rewritten images' rows and thumbnails changed: the page on show is drawn again from the
// catalogue and the detail panel, which showed an older row, is emptied.
void CaptioningCommands::applyTemplateToResult()
{
    frmApplyTemplate dialog(m_parts.context, m_parts.feedback, m_parts.grid.result(), &m_parts.window);
    connect(&dialog, &frmApplyTemplate::imagesRewritten, this, [this](int count) {
        if (count <= 0)
            return;
        m_parts.detail.clear();
        m_parts.grid.showPage();
    });
    dialog.exec();
}

// The last run not undone, after a question; the report lists the files that changed since.
void CaptioningCommands::undoLastTemplateRun()
{
    const LanguagePack &language = m_parts.context.language;
    UndoJournal journal(UndoJournal::pathBeside(m_parts.context.catalogue.path));
    const std::optional<std::vector<JournalRun>> runs = journal.runs();
    const std::optional<JournalRun> run = runs ? runToUndo(*runs, std::nullopt) : std::nullopt;
    if (!run) {
        m_parts.feedback.showMessage(language.text(InterfaceText::NoTemplateRunToUndo), MessageIcon::Information);
        return;
    }
    const QString question = countedText(language, language.message(Message::UndoTemplateRunQuestion),
                                         {{u'%', run->files}})
                                 .replace(u'#', run->templateName);
    if (!m_parts.feedback.askYesNo(question, MessageIcon::Warning))
        return;
    CatalogueWriteLock lock(m_parts.context.catalogue.path);
    if (!lock.takeOrRefuse(m_parts.feedback, language))
        return;
    UndoOptions options;
    options.language = &language;
    options.customizedLabel = m_parts.context.customizedLabel();
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    if (m_parts.context.settings.createThumbnails && m_parts.context.namedStreamsAvailable)
        options.renewer = &renewer;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UndoSummary summary =
        undoTemplateRun(journal, run->number, m_parts.context.catalogue, m_parts.feedback, options);
    QApplication::restoreOverrideCursor();
    if (!summary.ran)
        return;
    m_parts.detail.clear();
    m_parts.grid.showPage();
    QString report = countedText(language, language.message(Message::UndoTemplateRunReport),
                                 {{u'#', summary.restored}, {u'%', qint64(summary.skipped.size())}});
    for (const NotProcessedImage &image : summary.skipped)
        report += u'\n' + image.path;
    m_parts.feedback.showMessage(report, summary.skipped.empty() ? MessageIcon::Information : MessageIcon::Warning,
                                 language.text(InterfaceText::UndoTemplateRunMenuItem).remove(u'&'));
}

} // namespace zelvarion
