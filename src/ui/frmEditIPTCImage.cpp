// The edit dialog on one image of the result: its values from the file or the catalogue row, OK
// writing them through the core's single-image save, and Previous/Next along the result.
#include "ui/frmEditIPTC.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/iptc/IptcWriter.h"
#include "core/session/Feedback.h"
#include "core/captioning/EditImageIptc.h"
#include "core/captioning/TemplateThumbnails.h"
#include "core/captioning/UndoJournal.h"
#include "platform/ThumbnailStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

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

void frmEditIPTC::createImageControls()
{
    m_previous = named(new QPushButton(this), QStringLiteral("cmdPrevious"));
    m_previous->setGeometry(420, 602, 90, 30);
    m_next = named(new QPushButton(this), QStringLiteral("cmdNext"));
    m_next->setGeometry(516, 602, 90, 30);
    for (QPushButton *button : {m_previous, m_next})
        button->setAutoDefault(false);
    m_readOnlyNote = named(new QLabel(this), QStringLiteral("lblReadOnly"));
    m_readOnlyNote->setGeometry(400, 6, 330, 48);
    m_readOnlyNote->setWordWrap(true);
    setTextColour(m_readOnlyNote, kStatusRed);
    m_readOnlyNote->hide();
    m_templateLabel->setFixedWidth(m_readOnlyNote->x() - 6 - m_templateLabel->x());
    connect(m_previous, &QPushButton::clicked, this, [this] { moveToImage(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { moveToImage(1); });
}

// ReadIPTC on: what the file holds; off: what the catalogue row holds.
void frmEditIPTC::loadImageValues()
{
    const ResultRow &row = m_result.at(std::size_t(m_rank - 1));
    const QString path = row.folder + row.file;
    const LanguagePack &pack = m_context.language;
    const QString label = pack.text(InterfaceText::CustomizedFieldLabel);
    ImageEdit edit;
    if (m_context.settings.readIPTC) {
        edit = imageEditFromFile(path, label.isEmpty() ? defaultCustomizedLabel() : label, &m_feedback);
    } else if (m_context.catalogue.openOrReport(m_feedback)) {
        edit = imageEditFromCatalogue(m_context.catalogue, m_feedback, row.folder, row.file).value_or(ImageEdit{});
        m_context.catalogue.close();
    }
    setWindowTitle(row.file + u' ' + pack.text(InterfaceText::EditIptcMenuItem).remove(u'&'));
    m_templateLabel->setText(row.file + QStringLiteral("\r\n") + row.folder);
    const TemplateRecord record = recordOf(edit);
    fillCustomizedRows(record);
    fillFromTemplate(record);
    // The Customized text is composed from the slots: it is shown, the slots are edited.
    setFieldText(kCustomizedIndex, edit.fields.values[kCustomizedIndex]);
    static_cast<QPlainTextEdit *>(m_box[kCustomizedIndex])->setReadOnly(true);
    m_readOnly = isReadOnlyForIptc(path);
    m_readOnlyNote->setText(pack.text(InterfaceText::ReadOnlyImageNote));
    m_readOnlyNote->setVisible(m_readOnly);
    updateImageButtons();
}

void frmEditIPTC::clearValues()
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        setFieldText(i, QString());
    for (CustomizedRow &r : m_rows) {
        r.number->clear();
        r.text->clear();
        r.number->setReadOnly(false);
        r.number->setStyleSheet(QString());
    }
    m_status->clear();
    forgetKeptValues();
    allFieldsEnabled();
    m_calendar->hide();
}

// What the label clicks set aside belongs to the image it was taken from: a click on the next
// image must never bring it back there. Every kept value goes, and every label turns grey again.
void frmEditIPTC::forgetKeptValues()
{
    m_kept.fill(QString());
    m_keptKeywords.clear();
    m_labelBlue.fill(false);
    for (CustomizedRow &r : m_rows) {
        r.keptNumber.clear();
        r.keptText.clear();
        r.blue = false;
    }
}

void frmEditIPTC::showImage(int rank)
{
    m_loading = true;
    m_rank = rank;
    clearValues();
    loadImageValues();
    fillLists();
    showDatesForDisplay();
    m_loading = false;
    showPendingDateOrTimeProblem(-1);
    m_savedValues = valuesToSave();
}

bool frmEditIPTC::hasUnsavedChanges() const { return !sameValues(valuesToSave(), m_savedValues); }

void frmEditIPTC::updateImageButtons()
{
    const LanguagePack &pack = m_context.language;
    m_previous->setText(pack.text(InterfaceText::PreviousImageButton));
    m_next->setText(pack.text(InterfaceText::NextImageButton));
    // Right-aligned before OK, each as wide as its caption asks.
    int right = m_ok->x() - 6;
    for (QPushButton *button : {m_next, m_previous}) {
        const int width = std::max(90, button->sizeHint().width());
        button->setGeometry(right - width, m_ok->y(), width, m_ok->height());
        right -= width + 6;
    }
    updateCommandButtons();
}

// The nearest rank in that direction whose row still names a file (a deleted image keeps its
// rank, empty); 0 when there is none.
int frmEditIPTC::neighbourRank(int step) const
{
    for (int rank = m_rank + step; rank >= 1 && rank <= int(m_result.size()); rank += step)
        if (!m_result[std::size_t(rank - 1)].file.isEmpty())
            return rank;
    return 0;
}

void frmEditIPTC::moveToImage(int step)
{
    const int target = editsImage() && !m_fieldsLocked ? neighbourRank(step) : 0;
    if (target == 0)
        return; // also while one control must be corrected first, as the disabled buttons say
    // The values of a read-only file cannot be saved: there is nothing to ask.
    if (!m_readOnly && hasUnsavedChanges()) {
        switch (askAboutUnsavedChanges()) {
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

frmEditIPTC::UnsavedChoice frmEditIPTC::askAboutUnsavedChanges()
{
    if (m_askUnsaved)
        return m_askUnsaved();
    const QString text = m_context.language.message(Message::SaveImageChangesQuestion);
    const auto answer = QMessageBox::question(this, windowTitle(), text,
                                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                              QMessageBox::Save);
    return answer == QMessageBox::Save ? UnsavedChoice::Save
           : answer == QMessageBox::Discard ? UnsavedChoice::Discard : UnsavedChoice::Cancel;
}

bool frmEditIPTC::saveImage()
{
    if (refuseInvalidDateOrTime())
        return false;
    const ResultRow &row = m_result.at(std::size_t(m_rank - 1));
    const AppSettings &s = m_context.settings;
    const ThumbnailStore store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore() : ThumbnailStore(m_thumbnailStoreRoot);
    const StoredThumbnailRenewer renewer(store);
    const bool renew = s.createThumbnails && m_context.namedStreamsAvailable;
    const QString label = m_context.language.text(InterfaceText::CustomizedFieldLabel);
    const TemplateValues values = valuesToSave();
    // Another command rewriting files or rows of this catalogue would race this save: refused.
    CatalogueWriteLock lock(m_context.catalogue.path);
    if (!lock.takeOrRefuse(m_feedback, m_context.language))
        return false;
    // The edit is a run of its own in the undo journal: `undo --run N` can take it back.
    UndoJournal journal(UndoJournal::pathBeside(m_context.catalogue.path));
    if (!journal.startRun(row.file, QStringLiteral("edit"))) {
        m_feedback.showMessage(QStringLiteral("Cannot use the undo journal ") + journal.path() + u'\n' + journal.errorText(),
                               MessageIcon::Critical);
        return false;
    }
    std::optional<std::pair<QString, QString>> revision;
    if (m_context.catalogue.openOrReport(m_feedback)) {
        revision = rowRevision(m_context.catalogue, row.folder, row.file);
        m_context.catalogue.close();
    }
    IptcWriteOptions options = iptcWriteOptionsFrom(s);
    options.recorder = &journal;
    ImageSaveResult saved;
    {
        const BusyCursor busy;
        saved = saveImageIptc(m_context.catalogue, m_feedback, row.folder, row.file,
                              imageEditFrom(values, listEntries(kKeywordsIndex), listEntries(kSupplementalCategoryIndex)),
                              options, label.isEmpty() ? defaultCustomizedLabel() : label,
                              renew ? &renewer : nullptr, QLocale());
    }
    if (saved.saved && revision)
        journal.noteOldRevision(row.folder + row.file, revision->first, revision->second);
    journal.finishRun();
    if (!saved.saved)
        return false;
    m_savedValues = values;
    Q_EMIT imageSaved(m_rank);
    return true;
}

} // namespace zelvarion
