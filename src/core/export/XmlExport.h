#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>
#include <memory>

class QLockFile;

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;
class ResultList;
class ThumbnailStore;
struct SearchEnvironment;
struct SearchOutcome;
struct SearchRequest;

// The export folder: the program folder's "XML", with the document, the stylesheets, the
// rendered files and the "thumbs" subfolder of thumbnail copies.
struct ExportFolder
{
    QString path; // without trailing "/"

    static ExportFolder inProgramFolder();
    QString documentPath() const;   // path + "/Zelvarion.xml"
    QString thumbnailsPath() const; // path + "/thumbs"
    // Creates the folder and its thumbnails folder when missing; false when either is missing
    // afterwards.
    bool create() const;
};

// The export folder held by one command that writes into it: an export, or a rendering with its
// PDF formatter. The window and the command line each take it for the whole command, so a second
// export never empties "thumbs" and rewrites the document while the formatter still reads them.
// Across processes (a lock file in the folder); one process keeps its own commands apart.
class ExportFolderLock
{
public:
    explicit ExportFolderLock(const ExportFolder &folder);
    ~ExportFolderLock();
    ExportFolderLock(const ExportFolderLock &) = delete;
    ExportFolderLock &operator=(const ExportFolderLock &) = delete;

    // False when another program holds the folder.
    bool tryAcquire();
    // Waits until the folder is free, calling betweenTries (a window lets its events run) every
    // tenth of a second. A lock file that cannot be made at all (a read-only folder) is not
    // waited for: the command then fails on its own writes.
    void acquire(const std::function<void()> &betweenTries = {});

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_cannotLock = false;
};

// Whether path, with its links followed (also a link whose target does not exist yet), names a
// place inside folder. A path that cannot be resolved is not inside.
bool liesInsideFolder(const QString &path, const QString &folder);

struct XmlExportRequest
{
    ExportFolder folder;
    QString title;              // as typed; the document holds it trimmed
    bool copyThumbnails = true; // a JPEG of each stored thumbnail into "thumbs"
    QDateTime generatedAt = QDateTime::currentDateTime();
    QLocale locale;
    // Called before each image with its rank (1..N): the window shows the progress and lets its
    // events run.
    std::function<void(int rank)> beforeImage;
    // The texts of the messages; the built-in English when none is given.
    const LanguagePack *language = nullptr;
};

struct XmlExportOutcome
{
    bool written = false; // the document was written (also without File blocks)
    int exported = 0;     // File blocks written
    int thumbnails = 0;   // thumbnail files made
    // Images whose thumbnail was asked for and not made (none stored for them); the export
    // reports them, and a missing store once for all.
    int withoutThumbnail = 0;
    bool thumbnailStoreMissing = false;
};

// Writes the export document of every image of the result, in result order. A document that is
// a link leading outside the export folder is reported and not written. The thumbnails
// folder is emptied first whichever option is chosen; when it leads outside the export folder
// (a link), that is reported and no thumbnail is deleted or made. A catalogue that cannot be opened is
// reported and leaves a document without File blocks; an image whose select fails is reported
// and left out; one without a row is left out silently. Failures to write the document are
// reported. The catalogue is closed again on return.
XmlExportOutcome exportXml(const XmlExportRequest &request, const ResultList &results, CatalogueDb &db,
                           Feedback &feedback, const ThumbnailStore &thumbnails);

// The export of what a search finds, each image written as the engine steps to it: the result
// is never held, so the export of a million images takes the memory of a few. Runs the search
// as streamSearch does (its outcome in searchOutcome) and writes the document as exportXml
// does, but starts the document only once the search has found an image: a search that finds
// nothing, or a document outside the export folder, leaves the folder as it was. A select that
// fails part-way leaves the document as it was ("thumbs" may hold some copies of this export).
// written is false in all three cases.
XmlExportOutcome exportSearch(const XmlExportRequest &request, const SearchRequest &search,
                              SearchEnvironment &environment, const ThumbnailStore &thumbnails,
                              SearchOutcome &searchOutcome);

} // namespace zelvarion
