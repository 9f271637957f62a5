#include "core/captioning/MergeTemplate.h"

#include "core/iptc/IptcReader.h"
#include "core/session/AppSettings.h"
#include "core/session/TextRules.h"

namespace zelvarion {
namespace {

const QString kListSeparator = QStringLiteral("; ");

bool takesField(MergeMode mode, const QString &image, const QString &templ)
{
    return mode == MergeMode::OverwriteAll || image.isEmpty()
           || (mode == MergeMode::OverwriteNonEmpty && !templ.isEmpty());
}

bool takesKeywords(MergeMode mode, KeywordOption option, const QString &image, const QString &templ)
{
    return mode == MergeMode::OverwriteAll || image.isEmpty() || (!templ.isEmpty() && option != KeywordOption::None);
}

void takeKeywords(WorkingValues &image, const QString &templ, KeywordOption option)
{
    if (option == KeywordOption::None)
        image.keywords.clear();
    const QString trimmed = trimBlanks(templ);
    for (QStringView piece : QStringView(trimmed).split(u';')) {
        const QString entry = trimBlanks(piece);
        if (entry.isEmpty())
            continue;
        if (option == KeywordOption::Remove) {
            image.keywords.removeOne(entry); // the first exactly equal entry
        } else if (option == KeywordOption::None || !image.keywords.contains(entry)) {
            image.keywords << entry;
        }
    }
    image.fields.values[kKeywordsIndex] = image.keywords.join(kListSeparator);
}

void takeCustomized(WorkingValues &image, const TemplateRecord &templ, const QString &label)
{
    IptcFieldSet &fields = image.fields;
    for (CustomizedDataset &slot : fields.slots)
        slot = CustomizedDataset{};
    image.moreCustomized.clear();
    QStringList lines;
    for (int k = 0; k < kTemplateCustomizedCount; ++k) {
        const std::optional<CustomizedCell> cell = splitCustomizedCell(templ.customized[std::size_t(k)]);
        if (!cell)
            continue;
        const long long number = settingValue::wholeNumber(cell->number);
        // Only a number a file can carry as a customized dataset makes a slot.
        if (number < 1 || number > 255 || lookupDataset(int(number)).kind != DatasetLookup::Kind::Customized)
            continue;
        fields.slots[std::size_t(k)] = {std::int16_t(number), cell->value};
        lines << customizedLine(label, int(number), cell->value);
    }
    fields.values[kCustomizedIndex] = lines.join(QStringLiteral("\r\n"));
}

} // namespace

WorkingValues workingValuesFrom(const IptcReadResult &read)
{
    return {read.fields, read.keywordEntries, read.supplementalCategoryEntries, read.moreCustomized};
}

QStringList templateCategoryEntries(const QString &text)
{
    QStringList entries;
    QString rest = text;
    while (!rest.isEmpty()) {
        const qsizetype semicolon = rest.indexOf(u';');
        const QString piece = semicolon < 0 ? rest : rest.left(semicolon);
        if (!piece.isEmpty())
            entries << piece;
        rest = semicolon < 0 ? QString() : trimBlanks(QStringView(rest).mid(semicolon + 1));
    }
    return entries;
}

void mergeTemplate(WorkingValues &image, const TemplateRecord &templ, MergeMode mode, KeywordOption option,
                   const QString &customizedLabel)
{
    if (mode == MergeMode::OverwriteAll)
        option = KeywordOption::None;
    IptcFieldSet &fields = image.fields;
    for (int i = 0; i < kTemplateFieldCount; ++i) {
        const QString &t = templ.fields[std::size_t(i)];
        QString &value = fields.values[std::size_t(i)];
        if (i == kKeywordsIndex) {
            if (takesKeywords(mode, option, value, t))
                takeKeywords(image, t, option);
        } else if (takesField(mode, value, t)) {
            if (i == kSupplementalCategoryIndex) {
                image.supplementalCategories = templateCategoryEntries(t);
                value = image.supplementalCategories.join(kListSeparator);
            } else {
                value = t;
            }
        }
    }
    if (mode == MergeMode::OverwriteAll || fields.values[kCustomizedIndex].isEmpty())
        takeCustomized(image, templ, customizedLabel);
}

} // namespace zelvarion
