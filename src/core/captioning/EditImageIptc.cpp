#include "core/captioning/EditImageIptc.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/ImagesTable.h"
#include "core/iptc/IptcReader.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/Result.h"
#include "core/captioning/ApplyTemplateRun.h"
#include "core/captioning/ProcessIptc.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace zelvarion {
namespace {

const QString kListSeparator = QStringLiteral("; ");

bool isCustomizedNumber(long long number)
{
    return number >= 1 && number <= 255 && lookupDataset(int(number)).kind == DatasetLookup::Kind::Customized;
}

// "Field 200: text" lines back into slots, in their order; a line that is not one is skipped.
void slotsFromCustomizedText(IptcFieldSet &fields)
{
    static const QRegularExpression line(QStringLiteral("^.*? (\\d{1,3}): (.*)$"));
    int slot = 0;
    for (const QString &text : fields.values[kCustomizedIndex].split(QStringLiteral("\r\n"))) {
        const QRegularExpressionMatch match = line.match(text);
        if (slot >= kCustomizedSlotCount || !match.hasMatch() || !isCustomizedNumber(match.captured(1).toLongLong()))
            continue;
        fields.slots[std::size_t(slot++)] = {std::int16_t(match.captured(1).toInt()), match.captured(2)};
    }
}

void applyEdit(WorkingValues &values, const ImageEdit &edit)
{
    for (int i = 0; i < kTemplateFieldCount; ++i)
        values.fields.values[std::size_t(i)] = edit.fields.values[std::size_t(i)];
    values.keywords = edit.keywords;
    values.fields.values[kKeywordsIndex] = edit.keywords.join(kListSeparator);
    values.supplementalCategories = edit.supplementalCategories;
    values.fields.values[kSupplementalCategoryIndex] = edit.supplementalCategories.join(kListSeparator);
    values.fields.slots = edit.fields.slots;
}

} // namespace

bool isReadOnlyForIptc(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == u"tif" || suffix == u"tiff" || suffix == u"psd";
}

ImageEdit imageEditFromFile(const QString &path, const QString &customizedLabel, Feedback *feedback)
{
    const IptcReadResult read = readImageIptc(path, customizedLabel, feedback);
    return {read.fields, read.keywordEntries, read.supplementalCategoryEntries};
}

std::optional<ImageEdit> imageEditFromCatalogue(CatalogueDb &db, Feedback &feedback, const QString &folder,
                                                const QString &file)
{
    if (!imagesTable::selectImage(db, feedback, folder, file) || db.rowCount() < 1)
        return std::nullopt;
    ImageEdit edit;
    for (int c = 0; c < db.columnCount(); ++c)
        if (const std::optional<int> index = iptcFieldIndexOfColumn(db.cell(c, 0)))
            edit.fields.values[std::size_t(*index)] = db.cell(c, 1);
    edit.keywords = splitList(edit.fields.values[kKeywordsIndex]);
    edit.supplementalCategories = splitList(edit.fields.values[kSupplementalCategoryIndex]);
    slotsFromCustomizedText(edit.fields);
    return edit;
}

ImageEdit imageEditFrom(const TemplateValues &values, const QStringList &keywords,
                        const QStringList &supplementalCategories)
{
    ImageEdit edit{{}, keywords, supplementalCategories};
    for (int i = 0; i < kTemplateFieldCount; ++i)
        edit.fields.values[std::size_t(i)] = values.fields[std::size_t(i)];
    int slot = 0;
    for (const CustomizedCell &cell : values.customized) {
        const long long number = settingValue::wholeNumber(cell.number);
        if (!cell.value.isEmpty() && isCustomizedNumber(number))
            edit.fields.slots[std::size_t(slot++)] = {std::int16_t(number), cell.value};
    }
    return edit;
}

ImageSaveResult saveImageIptc(CatalogueDb &db, Feedback &feedback, const QString &folder, const QString &file,
                              const ImageEdit &edit, const IptcWriteOptions &options, const QString &customizedLabel,
                              const ThumbnailRenewer *renewer, const QLocale &locale)
{
    ImageSaveResult saved;
    const QString path = folder + file;
    if (isReadOnlyForIptc(path)) {
        saved.reason = messageText(options.language, Message::ReasonIptcNotWritten);
        return saved;
    }
    const ValuesChange change = [&edit](WorkingValues &values) { applyEdit(values, edit); };
    const ProcessResult result = rewriteIptcValues(path, customizedLabel, change,
                                                   options, false, &feedback);
    if (result.status != ProcessResult::Status::Written) {
        saved.reason = result.reason;
        feedback.showMessage(path + QStringLiteral("\n") + result.reason, MessageIcon::Warning);
        return saved;
    }
    saved.saved = true;
    saved.after = result.after;
    if (renewer)
        saved.thumbnail = renewer->renew(path, result.content.joined());
    if (db.openOrReport(feedback)) {
        recordImageRevision(db, feedback, folder, file, result.after, locale);
        db.close();
    }
    return saved;
}

std::optional<std::pair<QString, QString>> rowRevision(CatalogueDb &db, const QString &folder, const QString &file)
{
    return imagesTable::revisionOf(db, folder, file);
}

} // namespace zelvarion
