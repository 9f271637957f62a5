#include "core/templates/ApplyTemplateRun.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/iptc/IptcField.h"
#include "core/shell/Feedback.h"
#include "core/templates/TemplateStatements.h"

#include <QDateTime>
#include <QFileInfo>

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

namespace {

// One run over the rows, with what every image needs.
class ApplyRun
{
public:
    ApplyRun(CatalogueDb &db, Feedback &feedback, const ApplyOptions &options, const ThumbnailRenewer *renewer,
             const ApplyObserver &observer, MergeRequest request)
        : m_db(db), m_feedback(feedback), m_options(options), m_renewer(renewer), m_observer(observer),
          m_request(std::move(request))
    {
    }

    void image(const ResultRow &row, ApplySummary &summary)
    {
        const QString path = row.folder + row.file;
        if (!QFileInfo::exists(path))
            return; // deleted since the search: neither processed nor listed
        const ProcessResult result = processIptc(path, m_backupNames.nameFor(path), m_request,
                                                 m_options.writeOptions, m_options.dryRun, &m_feedback);
        if (result.status == ProcessResult::Status::Written) {
            ++summary.processed;
            if (!m_options.dryRun)
                recordWrite(row, path, result);
        } else if (result.status == ProcessResult::Status::NotProcessed) {
            summary.notProcessed.push_back({path, result.reason});
        }
        if (m_observer.imageDone)
            m_observer.imageDone(path, result);
    }

private:
    // The thumbnail first, as the image is shown; then the row, with what the file now holds.
    void recordWrite(const ResultRow &row, const QString &path, const ProcessResult &result)
    {
        if (m_renewer) {
            const QByteArray thumbnail = m_renewer->renew(path, result.content);
            if (!thumbnail.isEmpty() && m_observer.thumbnailMade)
                m_observer.thumbnailMade(thumbnail);
        }
        const QDateTime now = QDateTime::currentDateTime();
        const QString statement = imageRevisionStatement(row.folder, row.file, result.after,
                                                         revisionDateText(now.date(), m_options.locale),
                                                         revisionTimeText(now.time()));
        m_db.executeOrReport(m_feedback, statement, QStringLiteral("Cannot set data"));
    }

    CatalogueDb &m_db;
    Feedback &m_feedback;
    const ApplyOptions &m_options;
    const ThumbnailRenewer *m_renewer;
    const ApplyObserver &m_observer;
    MergeRequest m_request;
    RunBackupNames m_backupNames;
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
    const std::optional<TemplateRecord> templ = templateInUse(db, feedback, summary);
    if (!templ)
        return summary;
    summary.ran = true;
    ApplyRun run(db, feedback, options, renewer, observer,
                 MergeRequest{*templ, options.mode, options.keywords, options.customizedLabel});
    for (int rank = 1; rank <= int(rows.size()); ++rank) {
        feedback.processEvents();
        if (feedback.stopRequested()) {
            summary.stopped = true;
            break;
        }
        if (observer.imageStarted)
            observer.imageStarted(rank, rows[std::size_t(rank - 1)]);
        run.image(rows[std::size_t(rank - 1)], summary);
    }
    return summary;
}

} // namespace zelvarion
