#include "core/captioning/UndoTemplateRun.h"

#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcReader.h"
#include "core/session/Feedback.h"
#include "core/session/FileFailure.h"
#include "core/session/Result.h"
#include "platform/AtomicFile.h"
#include "platform/ContentHash.h"
#include "platform/FileNames.h"

#include <QFile>

#include <utility>

namespace zelvarion {
namespace {

// Told apart from every reason, which are texts of the pack: the file was never rewritten.
const QString kNeverRewritten = QStringLiteral("\x01never rewritten");

class RunUndo
{
public:
    RunUndo(UndoJournal &journal, CatalogueDb &catalogue, Feedback &feedback, const UndoOptions &options)
        : m_journal(journal), m_catalogue(catalogue), m_feedback(feedback), m_options(options)
    {
    }

    struct Outcome
    {
        enum Kind { Restored, NeverRewritten, Skipped } kind = Restored;
        QString reason; // why a skipped file stays as it is
    };

    Outcome undo(const JournalEntry &entry)
    {
        const QString reason = restore(entry);
        if (reason.isEmpty())
            return {};
        if (reason == kNeverRewritten)
            return {Outcome::NeverRewritten, {}};
        return {Outcome::Skipped, reason};
    }

private:
    QString reasonText(Message key, const QStringList &arguments = {}) const
    {
        return messageText(m_options.language, key, arguments);
    }

    // The reason the file stays as it is; empty when it is as before the run.
    QString restore(const JournalEntry &entry)
    {
        if (!entry.hashKind)
            return reasonText(Message::ReasonNewerJournal);
        QFile file; // by the name's own bytes
        const filenames::FileFacts facts = filenames::fileFacts(entry.path);
        if (!filenames::openForReading(file, entry.path))
            return reasonText(facts.exists ? Message::ReasonCannotOpen : Message::ReasonFileGone);
        const QByteArray content = file.readAll();
        const QDateTime modified = facts.lastWrite;
        file.close();
        const QDateTime oldModified = QDateTime::fromMSecsSinceEpoch(entry.oldModified);
        const contentHash::Kind kind = *entry.hashKind;
        if (contentHash::hexDigest(content, kind, {entry.spanOffset, entry.oldSpanLength}) == entry.oldHash) {
            // A record without the new size whose file never changed: the replacement failed (a
            // journal of an older version kept such records) and the row was never touched.
            if (!entry.newSize)
                return kNeverRewritten;
            // Back already: an undo ended by a kill.
            if (modified != oldModified)
                restoreModificationTime(entry.path, oldModified);
            return updateRow(entry, content);
        }
        if (entry.newSize && (content.size() != *entry.newSize || modified.toMSecsSinceEpoch() != entry.newModified))
            return reasonText(Message::ReasonChangedSinceRun);
        if (entry.spanOffset + entry.newSpanLength > content.size()
            || contentHash::hexDigest(content, kind, {entry.spanOffset, entry.newSpanLength}) != entry.newHash)
            return reasonText(Message::ReasonChangedSinceRun);
        const std::optional<QByteArray> span = m_journal.oldSpan(entry.id);
        if (!span)
            return reasonText(Message::ReasonJournalUnreadable, {m_journal.errorText()});
        const QByteArray before = content.left(entry.spanOffset) + *span
                                  + content.mid(entry.spanOffset + entry.newSpanLength);
        if (contentHash::hexDigest(before, kind, {entry.spanOffset, span->size()}) != entry.oldHash)
            return reasonText(Message::ReasonJournalMismatch);
        const atomicfile::Result replaced = atomicfile::replaceFileContent(entry.path, before);
        if (!replaced.ok)
            return fileFailureText(replaced, m_options.language);
        restoreModificationTime(entry.path, oldModified);
        if (m_options.renewer)
            m_options.renewer->renew(entry.path, before);
        return updateRow(entry, before);
    }

    // Empty when the row took the file's values; the first failure is reported, every one listed.
    QString updateRow(const JournalEntry &entry, const QByteArray &content)
    {
        const qsizetype slash = entry.path.lastIndexOf(u'/') + 1;
        const IptcReadResult read = readIptcFromBytes(content, entry.path, m_options.customizedLabel);
        if (m_catalogue.execute(imagesTable::revisionStatement(entry.path.left(slash), entry.path.mid(slash), read.fields,
                                                       entry.oldRevisionDate, entry.oldRevisionTime))
            == 0)
            return {};
        if (!std::exchange(m_rowFailed, true))
            m_catalogue.report(m_feedback, Message::CannotSetData);
        return reasonText(Message::ReasonRowNotUpdated, {m_catalogue.errorText()});
    }

    UndoJournal &m_journal;
    CatalogueDb &m_catalogue;
    Feedback &m_feedback;
    const UndoOptions &m_options;
    bool m_rowFailed = false;
};

} // namespace

std::optional<JournalRun> runToUndo(const std::vector<JournalRun> &runs, std::optional<int> number)
{
    for (const JournalRun &run : runs)
        // An image edited in the edit dialog, and files given values by zelvarion-cli write, are
        // runs of their own, undone only when named: "undo the last template run" means a template.
        if (number ? run.number == *number
                   : !run.undone && run.kind != QLatin1String("edit") && run.kind != QLatin1String("write"))
            return run;
    return std::nullopt;
}

UndoSummary undoTemplateRun(UndoJournal &journal, int run, CatalogueDb &catalogue, Feedback &feedback,
                            const UndoOptions &options)
{
    UndoSummary summary;
    summary.run = run;
    const std::optional<std::vector<JournalEntry>> entries = journal.entries(run);
    if (!entries) {
        feedback.reportFailure({Message::CannotReadUndoJournal, {journal.path()}, journal.errorText()});
        return summary;
    }
    if (!catalogue.openOrReport(feedback))
        return summary;
    const ClosedOnExit closed(catalogue);
    runSearchTuning(catalogue, feedback);
    if (!catalogueTakesWrites(catalogue, feedback, options.language))
        return summary;
    summary.ran = true;
    RunUndo undo(journal, catalogue, feedback, options);
    for (const JournalEntry &entry : *entries) {
        feedback.processEvents();
        if (feedback.stopRequested()) {
            summary.stopped = true;
            return summary;
        }
        const RunUndo::Outcome outcome = undo.undo(entry);
        if (outcome.kind == RunUndo::Outcome::Restored)
            ++summary.restored;
        else if (outcome.kind == RunUndo::Outcome::Skipped)
            summary.skipped.push_back({entry.path, outcome.reason});
    }
    journal.markUndone(run);
    return summary;
}

} // namespace zelvarion
