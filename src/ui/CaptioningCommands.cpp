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
    : m_window(parts.window), m_context(parts.context), m_feedback(&parts.feedback), m_grid(&parts.grid),
      m_detail(&parts.detail), m_browser(browser)
{
    // Applying waits for a search that found images.
    parts.menus.setCommandsEnabled({MenuCommand::ApplyTemplate}, false);
    connect(m_detail, &DetailPanel::editRequested, this, [this] {
        if (const std::optional<CellImage> image = m_grid->cellImage(m_grid->selectedCell()))
            editResultImage(image->rank);
    });
}

void CaptioningCommands::run(MenuCommand command)
{
    switch (command) {
    case MenuCommand::DefineTemplates: frmTemplates(m_context, *m_feedback, &m_window).exec(); break;
    case MenuCommand::EditIPTCOptions: frmEditIPTCOptions(m_context, *m_feedback, &m_window).exec(); break;
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
    const ResultList &result = m_grid->result();
    if (rank < 1 || rank > result.count() || result.row(rank).file.isEmpty())
        return;
    frmEditIPTC dialog(m_context, *m_feedback, result.rows(), rank, &m_window);
    connect(&dialog, &frmEditIPTC::imageSaved, this, &CaptioningCommands::refreshRevisedImage);
    dialog.exec();
}

void CaptioningCommands::refreshRevisedImage(int rank)
{
    if (rank < 1 || rank > m_grid->result().count())
        return;
    const int selected = m_grid->selectedCell();
    m_grid->updateResultRow(rank, m_grid->result().row(rank));
    m_grid->showPage(); // the renewed thumbnail
    const std::optional<CellImage> image = m_grid->cellImage(selected);
    if (image && image->rank == rank) {
        m_grid->selectCell(selected);
        m_browser.showImageDetail(*image);
    }
}

// The rewritten images' rows and thumbnails changed: the page on show is drawn again from the
// catalogue and the detail panel, which showed an older row, is emptied.
void CaptioningCommands::applyTemplateToResult()
{
    frmApplyTemplate dialog(m_context, *m_feedback, m_grid->result(), &m_window);
    connect(&dialog, &frmApplyTemplate::imagesRewritten, this, [this](int count) {
        if (count <= 0)
            return;
        m_detail->clear();
        m_grid->showPage();
    });
    dialog.exec();
}

// The last run not undone, after a question; the report lists the files that changed since.
void CaptioningCommands::undoLastTemplateRun()
{
    const LanguagePack &language = m_context.language;
    UndoJournal journal(UndoJournal::pathBeside(m_context.catalogue.path));
    const std::optional<std::vector<JournalRun>> runs = journal.runs();
    const std::optional<JournalRun> run = runs ? runToUndo(*runs, std::nullopt) : std::nullopt;
    if (!run) {
        m_feedback->showMessage(language.text(InterfaceText::NoTemplateRunToUndo), MessageIcon::Information);
        return;
    }
    const QString question = countedText(language, language.message(Message::UndoTemplateRunQuestion),
                                         {{u'%', run->files}})
                                 .replace(u'#', run->templateName);
    if (!m_feedback->askYesNo(question, MessageIcon::Warning))
        return;
    CatalogueWriteLock lock(m_context.catalogue.path);
    if (!lock.takeOrRefuse(*m_feedback, language))
        return;
    UndoOptions options;
    options.language = &language;
    options.customizedLabel = m_context.customizedLabel();
    const ThumbnailStore store;
    const StoredThumbnailRenewer renewer(store);
    if (m_context.settings.createThumbnails && m_context.namedStreamsAvailable)
        options.renewer = &renewer;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UndoSummary summary = undoTemplateRun(journal, run->number, m_context.catalogue, *m_feedback, options);
    QApplication::restoreOverrideCursor();
    if (!summary.ran)
        return;
    m_detail->clear();
    m_grid->showPage();
    QString report = countedText(language, language.message(Message::UndoTemplateRunReport),
                                 {{u'#', summary.restored}, {u'%', qint64(summary.skipped.size())}});
    for (const NotProcessedImage &image : summary.skipped)
        report += u'\n' + image.path;
    m_feedback->showMessage(report, summary.skipped.empty() ? MessageIcon::Information : MessageIcon::Warning,
                            language.text(InterfaceText::UndoTemplateRunMenuItem).remove(u'&'));
}

} // namespace zelvarion
