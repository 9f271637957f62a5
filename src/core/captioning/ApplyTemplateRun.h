#pragma once

#include "core/search/ResultList.h"
#include "core/captioning/ProcessIptc.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <QString>
#include <functional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;
class UndoJournal;

// Renews the stored thumbnail of a rewritten image; the windows and the command line implement it
// with the thumbnail maker and the thumbnail store. Returns the thumbnail as JPEG bytes for the
// preview, empty when none was made (the old one stays).
class ThumbnailRenewer
{
public:
    virtual ~ThumbnailRenewer() = default;
    virtual QByteArray renew(const QString &path, QByteArrayView content) const = 0;
    // After a rewrite of the metadata alone, which leaves the picture's bytes as they were: a
    // stored thumbnail made since the file last changed before it (lastChange) is still the
    // picture's and is kept. Otherwise as renew.
    virtual QByteArray renewAfterMetadataRewrite(const QString &path, const NewJpegContent &content,
                                                 const QDateTime &lastChange) const
    {
        (void)lastChange;
        return renew(path, content.joined());
    }
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
    const LanguagePack *language = nullptr; // the texts of the run's own messages (English when none)
    // What a value the template's variables give is held to: the limits of the template's save.
    ValueLimits valueLimits = ValueLimits::Write;
};

struct NotProcessedImage
{
    QString path;
    QString reason;
};

// What the window or the command line shows while the run goes. Images are done in result order;
// an image left untouched after Stop or a catalogue failure is not done but told as left.
struct ApplyObserver
{
    std::function<void(int rank, const ResultRow &row)> imageStarted;
    std::function<void(const QString &path, const ProcessResult &result)> imageDone;
    // A file written whose row could not take its new values: the reason names the engine's text.
    std::function<void(const NotProcessedImage &image)> rowNotUpdated;
    std::function<void(const QByteArray &thumbnail)> thumbnailMade;
    // An image of the result the run never came to (Stop, a catalogue failure): left as it was.
    std::function<void(const QString &path)> imageLeft;
};

struct ApplySummary
{
    bool ran = false;          // the catalogue opened and a template was in use
    bool noTemplate = false;   // no template in use at run time
    bool catalogueReadOnly = false; // the catalogue refused a write before any file was touched
    int processed = 0;         // images written, rows updated or not
    std::vector<NotProcessedImage> notProcessed;
    // Written, but the row still holds the old values: the catalogue disagrees with these files.
    std::vector<NotProcessedImage> rowsNotUpdated;
    int untouched = 0;         // images of the result the run never came to (Stop, a catalogue failure)
    bool stopped = false;

    // Every image of the result is in its file and its row as asked.
    bool complete() const { return ran && notProcessed.empty() && rowsNotUpdated.empty() && untouched == 0; }
};

// Applies the template in use to every image of the result, in result order: the catalogue is
// opened once and the template read once; between two images pending events run and the stop
// flag of the feedback is tested. After Stop only the images already being written are finished;
// the others are left untouched. Each image written gets its row updated with what its file now
// holds and a revision date, and its thumbnail renewed when a renewer is given. A catalogue that
// refuses writes is found before the first file is touched; a row that cannot be updated is
// listed and ends the run as Stop does, so no more files drift from their rows. A dry run writes
// nothing. Failures are reported through the feedback. With a journal, the run is one run of the
// journal and a file whose rewrite cannot be recorded is left alone; a journal that cannot be
// opened stops the run before anything is written. The template's variables are expanded for each
// image (its rank in `rows` is its {Seq}); a template holding one that cannot be is refused, reported.
ApplySummary runApplyTemplate(CatalogueDb &db, Feedback &feedback, const std::vector<ResultRow> &rows,
                              const ApplyOptions &options, const ThumbnailRenewer *renewer,
                              const ApplyObserver &observer = {});

// Whether the open catalogue takes writes, tried before any file is touched: a read-only file or
// folder, or a database another program keeps locked, refuses here (reported with the engine's
// text) instead of at every row.
bool catalogueTakesWrites(CatalogueDb &db, Feedback &feedback, const LanguagePack *language);

// The row of a rewritten image takes what its file now holds and the revision date and time of
// now; the template run and the edit of one image record a rewrite this way. The catalogue is open.
bool recordImageRevision(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                         const IptcFieldSet &after, const QLocale &locale);

// LastRevisionDate of Images: year, month and day joined by the locale's date separator
// ("2005/04/22"). LastRevisionTime: "14:30:05", so revised images sort chronologically.
QString revisionDateText(const QDate &date, const QLocale &locale);
QString revisionTimeText(const QTime &time);

} // namespace zelvarion
