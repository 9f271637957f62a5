#pragma once

#include "core/iptc/IptcField.h"
#include "core/catalogue/TemplateRecord.h"

#include <QStringList>
#include <vector>

namespace zelvarion {

struct IptcReadResult;

// The three ways a template meets an image's values.
enum class MergeMode {
    KeepOriginal = 0,      // only empty image fields take the template's value
    OverwriteNonEmpty = 1, // every non-empty template field overwrites the image's
    OverwriteAll = 2,      // the image becomes the template: empty template fields clear
};

// What happens to the image's keywords when the template's are taken (modes 0 and 1).
enum class KeywordOption { None, Add, Remove };

// The working values of one image: the field set with its 16 customized slots, the ordered
// keyword and supplemental-category lists (insertion order, duplicates kept) and the customized
// datasets past the slots, which travel with the image's other customized datasets.
struct WorkingValues
{
    IptcFieldSet fields;
    QStringList keywords;
    QStringList supplementalCategories;
    std::vector<CustomizedDataset> moreCustomized;
};

WorkingValues workingValuesFrom(const IptcReadResult &read);

// Merges the template into the image's values. A field is taken from the template in mode 2,
// when the image's is empty, or (mode 1) when the template's is not; keywords only in mode 2,
// when the image has none, or when the template has some and a keyword option is chosen;
// customized datasets only in mode 2 or when the image has none. Keyword options play no part in
// mode 2. customizedLabel (interface string 133) builds the Customized text of taken datasets.
void mergeTemplate(WorkingValues &image, const TemplateRecord &templ, MergeMode mode, KeywordOption option,
                   const QString &customizedLabel);

// The supplemental-category entries of a template text: split at ";", the rest after each ";"
// trimmed before the next split, empty pieces skipped, duplicates kept ("s1 ;s2" gives "s1 ", "s2").
QStringList templateCategoryEntries(const QString &text);

} // namespace zelvarion
