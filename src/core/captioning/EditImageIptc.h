#pragma once

#include "core/iptc/IptcField.h"
#include "core/iptc/IptcWriter.h"
#include "core/catalogue/TemplatesTable.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class ThumbnailRenewer;

// The values of one image as the edit dialog shows and saves them: the 35 field texts, the 16
// customized slots and the two lists entry by entry.
struct ImageEdit
{
    IptcFieldSet fields;
    QStringList keywords;
    QStringList supplementalCategories;
};

// TIFF and PSD files: their IPTC is read and shown, never written.
bool isReadOnlyForIptc(const QString &path);

// What the file holds now (ReadIPTC on).
ImageEdit imageEditFromFile(const QString &path, const QString &customizedLabel, Feedback *feedback = nullptr);

// What the catalogue row holds (ReadIPTC off); the customized slots are taken back from the lines
// of the Customized column. Nothing when the row cannot be read. The catalogue is open.
std::optional<ImageEdit> imageEditFromCatalogue(CatalogueDb &db, Feedback &feedback, const QString &folder,
                                                const QString &file);

// The dialog's values as the file is to hold them: a customized row becomes a slot only with a
// number a file can carry as a customized dataset.
ImageEdit imageEditFrom(const TemplateValues &values, const QStringList &keywords,
                        const QStringList &supplementalCategories);

struct ImageSaveResult
{
    bool saved = false;
    QString reason;       // why the file was left as it was
    IptcFieldSet after;   // what the file holds now
    QByteArray thumbnail; // the renewed thumbnail, empty when none was made
};

// Writes one image's edited values into its file through the template run's per-file rewrite
// (backup, atomic replacement, kept date), renews its thumbnail when a renewer is given and
// records the revision in its row. Customized datasets past the 16 slots stay as the file had
// them. Opens and closes the catalogue; failures are reported through the feedback.
ImageSaveResult saveImageIptc(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                              const ImageEdit &edit, const IptcWriteOptions &options, const QString &customizedLabel,
                              const ThumbnailRenewer *renewer, const QLocale &locale);

// The row's revision date and time before an edit, for the undo journal to give back; nothing
// when the row cannot be read. The catalogue must be open.
std::optional<std::pair<QString, QString>> rowRevision(CatalogueDb &db, const QString &folder, const QString &file);

} // namespace zelvarion
