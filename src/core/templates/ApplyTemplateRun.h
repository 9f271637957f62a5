#pragma once

#include "core/search/ResultList.h"
#include "core/templates/ProcessIptc.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QLocale>
#include <QString>
#include <functional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class UndoJournal;

// Renews the stored thumbnail of a rewritten image; the windows and the command line implement it
// with the thumbnail maker and the thumbnail store. Returns the thumbnail as JPEG bytes for the
// preview, empty when none was made (the old one stays).
class ThumbnailRenewer
{
public:
    virtual ~ThumbnailRenewer() = default;
    virtual QByteArray renew(const QString &path, QByteArrayView content) const = 0;
};

// The backup names of one run: the first image of a file name keeps it, a later image of the same
// name from another folder gets "name (2).jpg", "name (3).jpg" …, so no original of the run is
// left without its copy. Names compare without regard to case (the backup folder may be on a file
// system that ignores it).
class RunBackupNames
{
public:
    QString nameFor(const QString &path);

private:
    QHash<QString, QString> m_pathOfName; // lower-case backup name -> image path
    QHash<QString, QString> m_nameOfPath;
};

struct ApplyOptions
{
    MergeMode mode = MergeMode::KeepOriginal;
    KeywordOption keywords = KeywordOption::None;
    IptcWriteOptions writeOptions;
    QString customizedLabel = defaultCustomizedLabel();
    bool dryRun = false;
    QLocale locale = QLocale::system(); // the date separator of LastRevisionDate
    UndoJournal *journal = nullptr;     // records each rewrite so the run can be undone
};

// What the window or the command line shows while the run goes.
struct ApplyObserver
{
    std::function<void(int rank, const ResultRow &row)> imageStarted;
    std::function<void(const QString &path, const ProcessResult &result)> imageDone;
    std::function<void(const QByteArray &thumbnail)> thumbnailMade;
};

struct NotProcessedImage
{
    QString path;
    QString reason;
};

struct ApplySummary
{
    bool ran = false;          // the catalogue opened and a template was in use
    bool noTemplate = false;   // no template in use at run time
    int processed = 0;         // images written
    std::vector<NotProcessedImage> notProcessed;
    bool stopped = false;
};

// Applies the template in use to every image of the result, in result order: the catalogue is
// opened once and the template read once; between two images pending events run and the stop
// flag of the feedback is tested. Each image written gets its row updated with what its file now
// holds and a revision date, and its thumbnail renewed when a renewer is given. A dry run writes
// nothing. Failures are reported through the feedback. With a journal, the run is one run of the
// journal and a file whose rewrite cannot be recorded is left alone; a journal that cannot be
// opened stops the run before anything is written.
ApplySummary runApplyTemplate(CatalogueDb &db, Feedback &feedback, const std::vector<ResultRow> &rows,
                              const ApplyOptions &options, const ThumbnailRenewer *renewer,
                              const ApplyObserver &observer = {});

// "update Images set ObjectName='…',…,ImageType='…',Customized='…',LastRevisionDate='…',
// LastRevisionTime='…' where (Folder='…') and (File='…');"
QString imageRevisionStatement(const QString &folder, const QString &file, const IptcFieldSet &values,
                               const QString &revisionDate, const QString &revisionTime);

// The row of a rewritten image takes what its file now holds and the revision date and time of
// now; the template run and the edit of one image record a rewrite this way. The catalogue is open.
bool recordImageRevision(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                         const IptcFieldSet &after, const QLocale &locale);

// LastRevisionDate of Images: year, month and day joined by the locale's date separator
// ("2005/04/22"). LastRevisionTime: "14:30:05", so revised images sort chronologically.
QString revisionDateText(const QDate &date, const QLocale &locale);
QString revisionTimeText(const QTime &time);

} // namespace zelvarion
