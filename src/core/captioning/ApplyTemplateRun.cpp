#include "core/captioning/ApplyTemplateRun.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/EngineStatements.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcField.h"
#include "core/session/Feedback.h"
#include "core/session/Result.h"
#include "core/session/LanguagePack.h"
#include "core/captioning/EditImageIptc.h"
#include "core/catalogue/TemplatesTable.h"
#include "core/captioning/TemplateVariables.h"
#include "core/captioning/UndoJournal.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <future>
#include <memory>
#include <optional>

namespace zelvarion {
namespace {

QChar dateSeparator(const QLocale &locale)
{
    for (const QChar c : locale.dateFormat(QLocale::ShortFormat))
        if (!c.isLetter())
            return c;
    return u'/';
}

// The template in use on the open catalogue; nothing when none is (or the select failed).
std::optional<TemplateRecord> templateInUse(CatalogueDb &db, Feedback &feedback, ApplySummary &summary)
{
    std::optional<TemplateRecord> record;
    if (templatesTable::inUse(db, feedback, record) && !record)
        summary.noTemplate = true;
    return record;
}

// The template's variables parsed once for the run; none when no text holds one. A text that
// cannot be expanded (stored by another program) is reported and its expansion says so.
std::shared_ptr<const TemplateExpansion> expansionOf(const TemplateRecord &templ, const ApplyOptions &options,
                                                     Feedback &feedback)
{
    auto expansion = std::make_shared<const TemplateExpansion>(templ, options.valueLimits);
    if (const std::optional<TemplateTextProblem> &problem = expansion->problem()) {
        const QString field = QLatin1String(iptcField(problem->fieldIndex).column)
                              + (problem->customizedRow >= 0 ? QString::number(problem->customizedRow + 1) : QString());
        const QString text = templateTextProblemText(*problem, field, options.language);
        const QString message = packMessage(Message::TemplateNotApplied, options.language);
        feedback.showMessage(QString(message).replace(u'#', templ.name) + u'\n' + text, MessageIcon::Critical);
        return expansion;
    }
    return expansion->changesTexts() ? expansion : nullptr;
}

} // namespace

QString revisionDateText(const QDate &date, const QLocale &locale)
{
    const QChar separator = dateSeparator(locale);
    return date.toString(QStringLiteral("yyyy")) + separator + date.toString(QStringLiteral("MM")) + separator
           + date.toString(QStringLiteral("dd"));
}

QString revisionTimeText(const QTime &time) { return time.toString(QStringLiteral("HH:mm:ss")); }

bool recordImageRevision(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                         const IptcFieldSet &after, const QLocale &locale)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString statement = imagesTable::revisionStatement(folder, file, after, revisionDateText(now.date(), locale),
                                                             revisionTimeText(now.time()));
    return db.executeOrReport(feedback, statement, Message::CannotSetData);
}

bool catalogueTakesWrites(CatalogueDb &db, Feedback &feedback, const LanguagePack *language)
{
    QString engineText;
    const bool takes = imagesTable::acceptsWrites(db, engineText);
    if (takes)
        return true;
    // A caller that names no language keeps the engine's plain report.
    report(feedback, {language ? Message::CatalogueNotWritable : Message::CannotWriteFile, {db.path}, engineText});
    return false;
}

namespace {

// One run over the rows. Images are read, merged and written on worker threads, a few at a time,
// because a safe write waits for the disk; their rows are written here, in result order, once
// each file is in place. Stop is tested before an image is started and while waiting for one:
// an image queued but not yet begun by a worker is then left as it was.
class ApplyRun
{
public:
    ApplyRun(CatalogueDb &db, Feedback &feedback, const ApplyOptions &options, const ThumbnailRenewer *renewer,
             const ApplyObserver &observer, MergeRequest request)
        : m_db(db), m_feedback(feedback), m_options(options), m_renewer(renewer), m_observer(observer),
          m_request(std::move(request))
    {
        // Twice the processors: much of each image is waiting for the disk.
        const int threads = 2 * std::max(1, QThread::idealThreadCount());
        m_pool.setMaxThreadCount(threads);
        m_window = std::size_t(threads) * 2;
    }
    ~ApplyRun() { m_pool.waitForDone(); }

    // Stop, or a row that could not be written: no image is begun any more.
    bool ending() const { return m_ending; }

    void leave(const QString &path, ApplySummary &summary) const
    {
        ++summary.untouched;
        if (m_observer.imageLeft)
            m_observer.imageLeft(path);
    }

    void start(const ResultRow &row, int rank, ApplySummary &summary)
    {
        const QString path = row.folder + row.file;
        if (!filenames::fileFacts(path).exists) {
            // Deleted since the search: neither processed nor listed; said only to the observer.
            finishUpTo(0, summary);
            if (m_observer.imageDone)
                m_observer.imageDone(path, ProcessResult{ProcessResult::Status::Missing, messageText(m_options.language, Message::ReasonFileGone)});
            return;
        }
        // The same file twice in one result is written once after the other, never at once.
        if (std::any_of(m_jobs.begin(), m_jobs.end(), [&](const Job &job) { return job.path == path; }))
            finishUpTo(0, summary);
        if (m_ending) {
            leave(path, summary);
            return;
        }
        // Backups are named in result order, not in the order the workers come to them: the first
        // image of a name keeps it. A failure here is met again, and reported, by the worker.
        if (m_options.writeOptions.saveOriginalFile && !m_options.dryRun)
            claimBackupSlot(path, m_options.writeOptions);
        if (m_options.journal && m_options.writeOptions.recorder)
            noteOldRevision(row);
        auto done = std::make_shared<Done>();
        auto task = std::make_shared<std::packaged_task<void()>>([this, path, rank, done] { work(path, rank, *done); });
        m_jobs.push_back({row, path, done, task->get_future()});
        m_pool.start([task] { (*task)(); });
        finishUpTo(m_window, summary);
    }

    // Records the oldest images until at most `keep` are in flight.
    void finishUpTo(std::size_t keep, ApplySummary &summary)
    {
        while (m_jobs.size() > keep) {
            Job &job = m_jobs.front();
            // The window keeps repainting while the oldest image is being written, and Stop
            // pressed meanwhile keeps the queued images from being begun.
            while (job.finished.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
                m_feedback.processEvents();
                noticeStop();
            }
            record(job, summary);
            m_jobs.pop_front();
        }
    }

    void noticeStop()
    {
        if (m_feedback.stopRequested())
            m_ending = true;
    }

private:
    struct Done
    {
        ProcessResult result;
        QByteArray thumbnail;
        bool begun = false;
    };
    struct Job
    {
        ResultRow row;
        QString path;
        std::shared_ptr<Done> done;
        std::future<void> finished;
    };

    // On a worker: no message may be shown from here; a short read is reported when recorded.
    void work(const QString &path, int rank, Done &done) const
    {
        if (m_ending)
            return;
        done.begun = true;
        done.result = processIptc(path, m_request, m_options.writeOptions, m_options.dryRun, nullptr, rank);
        if (m_renewer && !m_options.dryRun && done.result.status == ProcessResult::Status::Written)
            done.thumbnail = m_renewer->renewAfterMetadataRewrite(path, done.result.content,
                                                                  done.result.lastModifiedBefore);
        done.result.content = {}; // the bytes are not needed any more; memory stays flat
    }

    void record(const Job &job, ApplySummary &summary)
    {
        if (!job.done->begun) {
            leave(job.path, summary);
            return;
        }
        const ProcessResult &result = job.done->result;
        if (result.shortRead)
            m_feedback.showMessage(messageText(m_options.language, Message::ErrorReadingFile, {job.path}), MessageIcon::None);
        if (result.status == ProcessResult::Status::Written) {
            ++summary.processed;
            if (!job.done->thumbnail.isEmpty() && m_observer.thumbnailMade)
                m_observer.thumbnailMade(job.done->thumbnail);
        } else if (result.status == ProcessResult::Status::NotProcessed) {
            summary.notProcessed.push_back({job.path, result.reason});
        }
        if (m_observer.imageDone)
            m_observer.imageDone(job.path, result);
        if (result.status == ProcessResult::Status::Written && !m_options.dryRun)
            updateRow(job, summary);
    }

    void updateRow(const Job &job, ApplySummary &summary)
    {
        const ResultRow &row = job.row;
        const QDateTime now = QDateTime::currentDateTime();
        const QString statement = imagesTable::revisionStatement(row.folder, row.file, job.done->result.after,
                                                         revisionDateText(now.date(), m_options.locale),
                                                         revisionTimeText(now.time()));
        if (m_db.execute(statement) == 0)
            return;
        // The first failure is reported; the same engine text for every later row would only
        // bury it. Each one is listed.
        if (summary.rowsNotUpdated.empty())
            m_db.report(m_feedback, Message::CannotSetData);
        const NotProcessedImage image{job.path, m_db.errorText()};
        summary.rowsNotUpdated.push_back(image);
        if (m_observer.rowNotUpdated)
            m_observer.rowNotUpdated(image);
        m_ending = true;
    }

    // The revision the undo gives back to the row, read before the row can change: it goes into
    // the file's record.
    void noteOldRevision(const ResultRow &row)
    {
        if (const auto revision = rowRevision(m_db, row.folder, row.file))
            m_options.journal->noteOldRevisionBeforeRewrite(row.folder + row.file, revision->first, revision->second);
    }

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ApplyOptions &m_options;
    const ThumbnailRenewer *m_renewer;
    const ApplyObserver &m_observer;
    const MergeRequest m_request;
    std::atomic<bool> m_ending = false;
    QThreadPool m_pool;
    std::deque<Job> m_jobs;
    std::size_t m_window = 2;
};

} // namespace

ApplySummary runApplyTemplate(CatalogueDb &db, Feedback &feedback, const std::vector<ResultRow> &rows,
                              const ApplyOptions &options, const ThumbnailRenewer *renewer,
                              const ApplyObserver &observer)
{
    ApplySummary summary;
    if (!db.openOrReport(feedback))
        return summary;
    const ClosedOnExit closed(db);
    // The settings the start-up stores as the catalogue's defaults, which this engine keeps per
    // connection: without them every row update would wait twice for the disk.
    runSearchTuning(db, feedback);
    const std::optional<TemplateRecord> templ = templateInUse(db, feedback, summary);
    if (!templ)
        return summary;
    const std::shared_ptr<const TemplateExpansion> expansion = expansionOf(*templ, options, feedback);
    if (expansion && expansion->problem())
        return summary;
    if (!options.dryRun && !catalogueTakesWrites(db, feedback, options.language)) {
        summary.catalogueReadOnly = true;
        return summary;
    }
    ApplyOptions journaled = options;
    if (!journaled.writeOptions.language)
        journaled.writeOptions.language = options.language; // the reasons beside each image in the run's words
    if (options.journal && !options.dryRun) {
        if (!options.journal->startRun(templ->name, QStringLiteral("apply"))) {
            feedback.reportFailure({Message::CannotOpenUndoJournal, {options.journal->path()}, options.journal->errorText()});
            return summary;
        }
        journaled.writeOptions.recorder = options.journal;
    }
    const struct RunFinished {
        UndoJournal *journal;
        ~RunFinished() { if (journal) journal->finishRun(); }
    } finished{journaled.writeOptions.recorder ? options.journal : nullptr};
    summary.ran = true;
    std::optional<RollbackJournalKept> rowJournal;
    if (!options.dryRun)
        rowJournal.emplace(db);
    if (!options.dryRun) { // a run killed before its rename left its temporary file beside the image
        QStringList folders;
        for (const ResultRow &row : rows)
            folders << row.folder;
        atomicfile::removeStaleTemporaryFiles(folders);
    }
    // The renames of the run reach the disk together once it is over, before it is reported.
    atomicfile::DeferredFolderFlushes folderFlushes;
    if (!journaled.writeOptions.folderFlushes)
        journaled.writeOptions.folderFlushes = &folderFlushes;
    ApplyRun run(db, feedback, journaled, renewer, observer,
                 MergeRequest{*templ, options.mode, options.keywords, options.customizedLabel, expansion,
                              QDateTime::currentDateTime(), options.locale});
    for (int rank = 1; rank <= int(rows.size()); ++rank) {
        feedback.processEvents();
        run.noticeStop();
        if (run.ending()) {
            summary.stopped = feedback.stopRequested();
            for (std::size_t left = std::size_t(rank - 1); left < rows.size(); ++left)
                run.leave(rows[left].folder + rows[left].file, summary);
            break;
        }
        if (observer.imageStarted)
            observer.imageStarted(rank, rows[std::size_t(rank - 1)]);
        run.start(rows[std::size_t(rank - 1)], rank, summary);
    }
    run.finishUpTo(0, summary);
    folderFlushes.flush();
    return summary;
}

} // namespace zelvarion
