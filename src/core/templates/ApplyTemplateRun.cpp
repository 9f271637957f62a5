#include "core/templates/ApplyTemplateRun.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/iptc/IptcField.h"
#include "core/shell/Feedback.h"
#include "core/templates/EditImageIptc.h"
#include "core/templates/TemplateStatements.h"
#include "core/templates/UndoJournal.h"
#include "platform/AtomicFile.h"
#include "platform/FileNames.h"

#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <memory>

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
    if (!db.executeOrReport(feedback, templateSql::selectInUse(), QStringLiteral("Cannot get data")))
        return std::nullopt;
    if (db.rowCount() < 1) {
        summary.noTemplate = true;
        return std::nullopt;
    }
    return templateFromResult(db.result(), 1);
}

} // namespace

QString RunBackupNames::nameFor(const QString &path)
{
    if (const auto known = m_nameOfPath.constFind(path); known != m_nameOfPath.constEnd())
        return *known;
    const QFileInfo info(path);
    const QString fileName = info.fileName();
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot > 0 ? fileName.left(dot) : fileName;
    const QString extension = dot > 0 ? fileName.mid(dot) : QString();
    QString candidate = fileName;
    for (int k = 2; m_pathOfName.contains(candidate.toLower()); ++k)
        candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(k).arg(extension);
    m_pathOfName.insert(candidate.toLower(), path);
    m_nameOfPath.insert(path, candidate);
    return candidate;
}

QString imageRevisionStatement(const QString &folder, const QString &file, const IptcFieldSet &values,
                               const QString &revisionDate, const QString &revisionTime)
{
    QString statement = QStringLiteral("update Images set ");
    statement.reserve(1024);
    for (const IptcField &field : kIptcFields)
        statement += QLatin1String(field.column) + u'=' + sqlText(values.values[std::size_t(field.index)]) + u',';
    statement += QStringLiteral("LastRevisionDate=%1,LastRevisionTime=%2 where (Folder=%3) and (File=%4);")
                     .arg(sqlText(revisionDate), sqlText(revisionTime), sqlText(folder), sqlText(file));
    return statement;
}

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
    const QString statement = imageRevisionStatement(folder, file, after, revisionDateText(now.date(), locale),
                                                     revisionTimeText(now.time()));
    return db.executeOrReport(feedback, statement, QStringLiteral("Cannot set data"));
}

namespace {

// One run over the rows. Images are read, merged and written on worker threads, a few at a time,
// because a safe write waits for the disk; their rows are written here, in result order, once
// each file is in place. Stop is tested before an image is started: the images already started
// are finished and recorded.
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

    void start(const ResultRow &row, ApplySummary &summary)
    {
        const QString path = row.folder + row.file;
        if (!filenames::fileFacts(path).exists) {
            // Deleted since the search: neither processed nor listed; said only to the observer.
            finishUpTo(0, summary);
            if (m_observer.imageDone)
                m_observer.imageDone(path, ProcessResult{ProcessResult::Status::Missing, QStringLiteral("the file no longer exists")});
            return;
        }
        // The same file twice in one result is written once after the other, never at once.
        if (std::any_of(m_jobs.begin(), m_jobs.end(), [&](const Job &job) { return job.path == path; }))
            finishUpTo(0, summary);
        auto done = std::make_shared<Done>();
        auto task = std::make_shared<std::packaged_task<void()>>(
            [this, path, done, backup = m_backupNames.nameFor(path)] { work(path, backup, *done); });
        m_jobs.push_back({row, path, done, task->get_future()});
        m_pool.start([task] { (*task)(); });
        finishUpTo(m_window, summary);
    }

    // Records the oldest images until at most `keep` are in flight.
    void finishUpTo(std::size_t keep, ApplySummary &summary)
    {
        while (m_jobs.size() > keep) {
            Job &job = m_jobs.front();
            // The window keeps repainting while the oldest image is being written.
            while (job.finished.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
                m_feedback.processEvents();
            record(job, summary);
            m_jobs.pop_front();
        }
    }

private:
    struct Done
    {
        ProcessResult result;
        QByteArray thumbnail;
    };
    struct Job
    {
        ResultRow row;
        QString path;
        std::shared_ptr<Done> done;
        std::future<void> finished;
    };

    // On a worker: no message may be shown from here; a short read is reported when recorded.
    void work(const QString &path, const QString &backupName, Done &done) const
    {
        done.result = processIptc(path, backupName, m_request, m_options.writeOptions, m_options.dryRun, nullptr);
        if (m_renewer && !m_options.dryRun && done.result.status == ProcessResult::Status::Written)
            done.thumbnail = m_renewer->renew(path, done.result.content);
        done.result.content.clear(); // the bytes are not needed any more; memory stays flat
    }

    void record(const Job &job, ApplySummary &summary)
    {
        const ProcessResult &result = job.done->result;
        if (result.shortRead)
            m_feedback.showMessage(QStringLiteral("Error reading file ") + job.path, MessageIcon::None);
        if (result.status == ProcessResult::Status::Written) {
            ++summary.processed;
            if (!job.done->thumbnail.isEmpty() && m_observer.thumbnailMade)
                m_observer.thumbnailMade(job.done->thumbnail);
            if (!m_options.dryRun)
                updateRow(job.row, result);
        } else if (result.status == ProcessResult::Status::NotProcessed) {
            summary.notProcessed.push_back({job.path, result.reason});
        }
        if (m_observer.imageDone)
            m_observer.imageDone(job.path, result);
    }

    void updateRow(const ResultRow &row, const ProcessResult &result)
    {
        if (m_options.journal)
            noteOldRevision(row);
        recordImageRevision(m_db, m_feedback, row.folder, row.file, result.after, m_options.locale);
    }

    // The revision the undo gives back to the row.
    void noteOldRevision(const ResultRow &row)
    {
        if (const auto revision = rowRevision(m_db, row.folder, row.file))
            m_options.journal->noteOldRevision(row.folder + row.file, revision->first, revision->second);
    }

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ApplyOptions &m_options;
    const ThumbnailRenewer *m_renewer;
    const ApplyObserver &m_observer;
    const MergeRequest m_request;
    RunBackupNames m_backupNames;
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
    ApplyOptions journaled = options;
    if (options.journal && !options.dryRun) {
        if (!options.journal->startRun(templ->name, QStringLiteral("apply"))) {
            feedback.showMessage(QStringLiteral("Cannot open the undo journal ") + options.journal->path() + u'\n'
                                     + options.journal->errorText(), MessageIcon::Critical);
            return summary;
        }
        journaled.writeOptions.recorder = options.journal;
    }
    const struct RunFinished {
        UndoJournal *journal;
        ~RunFinished() { if (journal) journal->finishRun(); }
    } finished{journaled.writeOptions.recorder ? options.journal : nullptr};
    summary.ran = true;
    if (!options.dryRun) { // a run killed before its rename left its temporary file beside the image
        QStringList folders;
        for (const ResultRow &row : rows)
            folders << row.folder;
        atomicfile::removeStaleTemporaryFiles(folders);
    }
    ApplyRun run(db, feedback, journaled, renewer, observer,
                 MergeRequest{*templ, options.mode, options.keywords, options.customizedLabel});
    for (int rank = 1; rank <= int(rows.size()); ++rank) {
        feedback.processEvents();
        if (feedback.stopRequested()) {
            summary.stopped = true;
            break;
        }
        if (observer.imageStarted)
            observer.imageStarted(rank, rows[std::size_t(rank - 1)]);
        run.start(rows[std::size_t(rank - 1)], summary);
    }
    run.finishUpTo(0, summary);
    return summary;
}

} // namespace zelvarion
