// The edit dialog on one image of the result: its values shown as a template's, OK writing them
// through the image part, and Previous/Next along the result.
#include "ui/frmEditIPTC.h"

#include "ui/AppContext.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditLengthControl.h"
#include "ui/EditListPanel.h"
#include "ui/EditStatusLine.h"

#include <QPlainTextEdit>

namespace zelvarion {

namespace {

bool sameValues(const TemplateValues &a, const TemplateValues &b)
{
    for (int k = 0; k < kTemplateCustomizedCount; ++k) {
        const CustomizedCell &x = a.customized[std::size_t(k)];
        const CustomizedCell &y = b.customized[std::size_t(k)];
        if (x.number != y.number || x.value != y.value)
            return false;
    }
    return a.fields == b.fields;
}

// The image's values in the form the template fill shows: fields as texts, slots as "n/v".
TemplateRecord recordOf(const ImageEdit &edit)
{
    TemplateRecord record;
    for (int i = 0; i < kTemplateFieldCount; ++i)
        record.fields[std::size_t(i)] = edit.fields.values[std::size_t(i)];
    record.fields[kKeywordsIndex] = edit.keywords.join(QStringLiteral("; "));
    record.fields[kSupplementalCategoryIndex] = edit.supplementalCategories.join(QStringLiteral("; "));
    for (int k = 0; k < kTemplateCustomizedCount; ++k) {
        const CustomizedDataset &slot = edit.fields.slots[std::size_t(k)];
        if (slot.number >= 0)
            record.customized[std::size_t(k)] = QString::number(slot.number) + u'/' + slot.value;
    }
    return record;
}

} // namespace

int frmEditIPTC::imageRank() const { return m_image ? m_image->rank() : 0; }

bool frmEditIPTC::readOnly() const { return m_image && m_image->readOnly(); }

void frmEditIPTC::setThumbnailStoreRoot(const QString &root)
{
    if (m_image)
        m_image->setThumbnailStoreRoot(root);
}

void frmEditIPTC::setUnsavedChangesQuestion(std::function<UnsavedChoice()> ask)
{
    if (m_image)
        m_image->setQuestion(std::move(ask));
}

void frmEditIPTC::loadImageValues()
{
    const ImageEdit edit = m_image->load(m_context, m_feedback);
    fill(recordOf(edit));
    // The Customized text is composed from the slots: it is shown, the slots are edited.
    setFieldText(kCustomizedIndex, edit.fields.values[kCustomizedIndex]);
    m_fields->setReadOnly(kCustomizedIndex, true);
    m_image->applyTexts(m_context.language);
    updateCommandButtons();
}

// Every value of the image before goes, with what its label clicks set aside: a click on this
// image must never bring it back here. Every label turns grey again.
void frmEditIPTC::showImage(int rank)
{
    setLoading(true);
    m_image->setRank(rank);
    for (int i = 0; i < kIptcFieldCount; ++i)
        setFieldText(i, QString());
    m_customized->clear();
    m_status->clear();
    m_fields->forgetKept();
    m_customized->forgetKept();
    m_length->unlockAll();
    m_dates->hideCalendar();
    loadImageValues();
    fillLists();
    m_dates->showForDisplay();
    setLoading(false);
    m_dates->showPendingProblem(-1);
    m_savedValues = valuesToSave();
}

bool frmEditIPTC::hasUnsavedChanges() const { return !sameValues(valuesToSave(), m_savedValues); }

void frmEditIPTC::moveToImage(int step)
{
    const int target = editsImage() && !m_length->locked() ? m_image->neighbourRank(step) : 0;
    if (target == 0)
        return; // also while one control must be corrected first, as the disabled buttons say
    // The values of a read-only file cannot be saved: there is nothing to ask.
    if (!readOnly() && hasUnsavedChanges()) {
        switch (m_image->askAboutUnsavedChanges(m_context.language)) {
        case UnsavedChoice::Cancel: return;
        case UnsavedChoice::Save:
            if (!saveImage())
                return;
            break;
        case UnsavedChoice::Discard: break;
        }
    }
    showImage(target);
}

bool frmEditIPTC::saveImage()
{
    if (m_dates->refuseInvalid())
        return false;
    const TemplateValues values = valuesToSave();
    if (!m_image->save(m_context, m_feedback, values, listEntries(kKeywordsIndex),
                       listEntries(kSupplementalCategoryIndex)))
        return false;
    m_savedValues = values;
    offerCatalogueEntries();
    Q_EMIT imageSaved(m_image->rank());
    return true;
}

} // namespace zelvarion
