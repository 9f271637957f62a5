// Loading the edit dialog from the template's row, in a fixed order, and the values OK stores.
#include "ui/frmEditIPTC.h"

#include "core/editing/EditDates.h"
#include "core/editing/FieldRules.h"
#include "core/session/Feedback.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateStore.h"
#include "core/captioning/TemplateVariables.h"
#include "core/search/KeywordVocabulary.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditLengthControl.h"
#include "ui/EditListPanel.h"
#include "ui/EditSpellCheck.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <memory>

namespace zelvarion {
using namespace controls;

void frmEditIPTC::load()
{
    const BusyCursor busy;
    m_spelling->setAvailable(m_context.spelling.available());
    applyTexts();
    if (editsImage()) {
        loadImageValues();
    } else {
        const QString edited = m_context.language.text(InterfaceText::EditTemplateButton);
        setWindowTitle(m_templateName + u' ' + edited);
        m_templateLabel->setText(m_templateName + QStringLiteral("\r\n") + edited);
        TemplateStore store(m_context.catalogue, m_feedback);
        fill(store.load(m_templateName).value_or(TemplateRecord{}));
    }
    const bool rows = m_context.settings.editCustomizedFields;
    m_fields->setRowShown(kCustomizedIndex, !rows);
    if (!rows)
        m_tabs->removeCustomizedTab();
    fillLists();
    m_dates->showForDisplay();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
    setLoading(false);
    showFirstProblem();
    m_codes->load(m_context.settings);
    m_savedValues = valuesToSave();
    offerCatalogueEntries();
}

// The entry boxes offer what the catalogue's images hold now. Where the kept vocabulary reads the
// words beginning with a prefix by its index, each keystroke reads them (entries saved a moment
// ago included) and opening reads none; otherwise the whole vocabulary is read here, with each
// image. Without a catalogue the boxes simply offer nothing.
void frmEditIPTC::offerCatalogueEntries()
{
    CatalogueDb &db = m_context.catalogue;
    const bool opened = !db.isOpen();
    if (opened && (!checkCatalogueFile(db.path).isCatalogue() || !db.open()))
        return;
    vocabulary::update(db); // a catalogue that takes no writes is read with its queue
    const bool byPrefix = vocabulary::readsByPrefix(db);
    for (EditListPanel *list : {m_keywords, m_categories}) {
        const int field = list->fieldIndex();
        if (byPrefix) {
            list->offerEntries([&db, field](QStringView prefix, std::size_t limit) {
                return vocabulary::offers(db, field, prefix, limit);
            });
        } else if (std::optional<KeywordVocabulary> words = vocabulary::read(db, field)) {
            list->offerEntries([words = std::make_shared<const KeywordVocabulary>(std::move(*words))](
                                   QStringView prefix, std::size_t limit) { return words->complete(prefix, limit); });
        }
    }
    if (opened)
        db.close();
}

// A template saved while length control was off shows its first offending field at once; so does
// a date or time that does not parse: OK stays disabled until it is mended.
void frmEditIPTC::showFirstProblem()
{
    for (int i = 0; i < kTemplateFieldCount; ++i) {
        // Choice fields are shown through their lists; dates and times are checked as such.
        if (!isChoiceField(i) && !isShownInUserFormat(i) && editing::exceededLimit(i, m_length->measuredText(fieldText(i)))) {
            fieldChanged(i);
            break;
        }
    }
    m_dates->showPendingProblem(-1);
}

void frmEditIPTC::setLoading(bool loading)
{
    m_loading = loading;
    m_customized->setLoading(loading);
    m_codes->setActive(!loading);
}

void frmEditIPTC::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    m_tabs->applyTexts(pack);
    m_keywords->applyTexts();
    m_categories->applyTexts();
    m_dates->applyTexts();
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    m_spelling->applyTexts();
    m_fields->applyToolTips();
}

// The customized rows first: their numbers name the labels.
void frmEditIPTC::fill(const TemplateRecord &record)
{
    m_customized->fill(record);
    m_fields->showLabels(m_context.language);
    for (int i = 0; i < kTemplateFieldCount; ++i)
        if (!record.fields[std::size_t(i)].isEmpty())
            setFieldText(i, record.fields[std::size_t(i)]);
    m_keywords->setEntryLabelColour(kLabelGrey);
    m_customized->showLabelsGrey();
}

void frmEditIPTC::fillLists()
{
    m_keywords->rebuild(fieldText(kKeywordsIndex));
    m_categories->rebuild(fieldText(kSupplementalCategoryIndex));
    m_fields->fillChoices(m_context.language);
}

TemplateValues frmEditIPTC::valuesToSave() const
{
    TemplateValues values;
    for (int i = 0; i < kTemplateFieldCount; ++i)
        values.fields[std::size_t(i)] = fieldText(i);
    for (int i = 0; i < kTemplateFieldCount; ++i)
        if (isChoiceField(i))
            values.fields[std::size_t(i)] = m_fields->choiceValue(i);
    values.fields[kSupplementalCategoryIndex] = editing::joinedEntries(listEntries(kSupplementalCategoryIndex));
    values.fields[kKeywordsIndex] = editing::joinedEntries(listEntries(kKeywordsIndex));
    m_dates->storeShown(values);
    values.customized = m_customized->cells();
    return values;
}

void frmEditIPTC::save()
{
    if (m_dates->refuseInvalid())
        return;
    if (editsImage()) {
        if (!readOnly() && saveImage())
            accept(); // a file that could not be written keeps the dialog and its values open
        return;
    }
    const TemplateValues values = valuesToSave();
    if (refuseVariableProblem(values))
        return;
    // A value the file could not hold is never stored to be cut later: the dialog stays open.
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(values, ValueLimits::Write)) {
        const QString name = over->fieldIndex == kCustomizedIndex
                                 ? customizedLine(m_context.language.text(InterfaceText::CustomizedFieldLabel), over->dataset, {}).chopped(2)
                                 : m_fields->labelText(over->fieldIndex);
        m_status->show(overLimitMessage(m_context.language.message(Message::ValueTooManyBytes), name, *over));
        QApplication::beep();
        return;
    }
    saveTemplate(values);
    accept();
}

// A variable a run could not expand is named in the status line; the dialog stays open.
bool frmEditIPTC::refuseVariableProblem(const TemplateValues &values)
{
    const std::optional<TemplateTextProblem> problem = firstTemplateTextProblem(values);
    if (!problem)
        return false;
    const QString customizedLabel = m_context.language.text(InterfaceText::CustomizedFieldLabel);
    const QString name =
        problem->customizedRow >= 0
            ? customizedLine(customizedLabel, values.customized[std::size_t(problem->customizedRow)].number.toInt(), {}).chopped(2)
            : m_fields->labelText(problem->fieldIndex);
    m_status->show(templateTextProblemText(*problem, name, &m_context.language));
    QApplication::beep();
    return true;
}

// Stored whether or not the update succeeds (a failure is reported); nothing is clicked meanwhile.
void frmEditIPTC::saveTemplate(const TemplateValues &values)
{
    m_tabs->setFramesEnabled(false);
    m_ok->setEnabled(false);
    m_cancel->setEnabled(false);
    {
        const BusyCursor busy;
        TemplateStore store(m_context.catalogue, m_feedback);
        store.save(m_templateName, values, editing::revisionStamp(QDateTime::currentDateTime(), m_locale));
    }
    m_tabs->setFramesEnabled(true);
    m_cancel->setEnabled(true);
    updateCommandButtons();
}

} // namespace zelvarion
