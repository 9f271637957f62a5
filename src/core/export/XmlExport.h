#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <functional>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class ResultList;
class ThumbnailStore;

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
};

struct XmlExportOutcome
{
    bool written = false; // the document was written (also without File blocks)
    int exported = 0;     // File blocks written
    int thumbnails = 0;   // thumbnail files made
};

// Writes the export document of every image of the result, in result order. The thumbnails
// folder is emptied first whichever option is chosen. A catalogue that cannot be opened is
// reported and leaves a document without File blocks; an image whose select fails is reported
// and left out; one without a row is left out silently. Failures to write the document are
// reported. The catalogue is closed again on return.
XmlExportOutcome exportXml(const XmlExportRequest &request, const ResultList &results, CatalogueDb &db,
                           Feedback &feedback, const ThumbnailStore &thumbnails);

} // namespace zelvarion
