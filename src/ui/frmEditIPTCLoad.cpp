// Loading the edit dialog from the template's row, in a fixed order, and the values OK stores.
#include "ui/frmEditIPTC.h"

#include "core/editing/EditDates.h"
#include "core/editing/FieldRules.h"
#include "core/session/Feedback.h"
#include "core/captioning/TemplateEdits.h"
#include "core/captioning/TemplateStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

void frmEditIPTC::load()
{
    const BusyCursor busy;
    setSpellCheckingAvailable(m_context.spelling.available());
    applyTexts();
    if (editsImage()) {
        loadImageValues();
    } else {
        const QString edited = m_context.language.text(InterfaceText::EditTemplateButton);
        setWindowTitle(m_templateName + u' ' + edited);
        m_templateLabel->setText(m_templateName + QStringLiteral("\r\n") + edited);
        TemplateStore store(m_context.catalogue, m_feedback);
        const TemplateRecord record = store.load(m_templateName).value_or(TemplateRecord{});
        fillCustomizedRows(record);
        fillFromTemplate(record);
    }
    const bool rows = m_context.settings.editCustomizedFields;
    m_box[kCustomizedIndex]->setVisible(!rows);
    m_label[kCustomizedIndex]->setVisible(!rows);
    m_spell[kCustomizedIndex]->setVisible(!rows);
    if (!rows)
        m_tabs->removeTab(5);
    fillLists();
    showDatesForDisplay();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_context.settings.stayOnTop);
    m_loading = false;
    // A template saved while length control was off shows its first offending field at once.
    for (int i = 0; i < kTemplateFieldCount; ++i) {
        // Choice fields are shown through their lists; dates and times are checked as such.
        if (!isChoiceField(i) && !isShownInUserFormat(i) && editing::exceededLimit(i, fieldText(i))) {
            fieldChanged(i);
            break;
        }
    }
    // So is a date or time that does not parse: OK stays disabled until it is mended.
    showPendingDateOrTimeProblem(-1);
    m_savedValues = valuesToSave();
}

void frmEditIPTC::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    const InterfaceText tabs[] = {InterfaceText::DescriptionTab, InterfaceText::FieldLabelKeywords,
                                  InterfaceText::CategoriesTab, InterfaceText::DatesPlacesTab,
                                  InterfaceText::OtherFieldsTab, InterfaceText::CustomizedTab};
    for (int k = 0; k < 6; ++k)
        m_tabs->setTabText(k, pack.text(tabs[k]));
    m_keywords.entryLabel->setText(pack.text(InterfaceText::KeywordLabel));
    for (ListControls *list : {&m_keywords, &m_categories}) {
        list->add->setText(pack.text(InterfaceText::AddButton));
        list->replace->setText(pack.text(InterfaceText::ReplaceButton));
        list->remove->setText(pack.text(InterfaceText::RemoveButton));
    }
    for (QPushButton *now : m_now)
        now->setText(pack.text(InterfaceText::NowButton));
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    m_spellAllLabel->setText(pack.text(InterfaceText::SpellCheckAllLabel));
    m_spellAll->setToolTip(pack.text(InterfaceText::SpellCheckAllLabel));
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (iptcField(i).dataset >= 0)
            m_label[std::size_t(i)]->setToolTip(QStringLiteral("#IPTC %1").arg(iptcField(i).dataset));
    m_keywords.entryLabel->setToolTip(QStringLiteral("#IPTC 25"));
}

void frmEditIPTC::fillCustomizedRows(const TemplateRecord &record)
{
    const QString field = m_context.language.text(InterfaceText::CustomizedFieldLabel);
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        CustomizedRow &r = m_rows[std::size_t(row)];
        const QString cell = record.customized[std::size_t(row)];
        if (const std::optional<CustomizedCell> split = cell.isEmpty() ? std::nullopt : splitCustomizedCell(cell)) {
            r.number->setText(split->number);
            r.text->setText(split->value);
        }
        r.label->setText(field);
        const QString name = configuredName(r.number->text());
        if (!r.text->text().isEmpty() && !name.isEmpty()) {
            r.label->setText(name);
            r.number->setReadOnly(true);
            r.number->setStyleSheet(QStringLiteral("background-color: rgb(192, 192, 192);"));
        }
    }
}

void frmEditIPTC::fillFromTemplate(const TemplateRecord &record)
{
    const LanguagePack &pack = m_context.language;
    for (int i = 0; i < kIptcFieldCount; ++i) {
        QLabel *label = m_label[std::size_t(i)];
        label->setText(pack.text(fieldLabel(i)));
        setTextColour(label, kLabelGrey);
        m_spell[std::size_t(i)]->setToolTip(pack.text(InterfaceText::SpellCheckTip) + QStringLiteral(" (")
                                            + label->text() + u')');
        if (i < kTemplateFieldCount && !record.fields[std::size_t(i)].isEmpty())
            setFieldText(i, record.fields[std::size_t(i)]);
    }
    setTextColour(m_keywords.entryLabel, kLabelGrey);
    for (CustomizedRow &r : m_rows)
        setTextColour(r.label, kLabelGrey);
}

void frmEditIPTC::fillLists()
{
    rebuildList(m_keywords, fieldText(kKeywordsIndex));
    rebuildList(m_categories, fieldText(kSupplementalCategoryIndex));
    const LanguagePack &pack = m_context.language;
    m_urgency->clear();
    for (int value = 1; value <= 9; ++value) {
        const InterfaceText note = value == 1 ? InterfaceText::Urgency1Note
                                   : value == 5 ? InterfaceText::Urgency5Note
                                                : InterfaceText::Urgency9Note;
        const bool noted = value == 1 || value == 5 || value == 9;
        m_urgency->addItem(noted ? QStringLiteral("%1 [%2]").arg(value).arg(pack.text(note)) : QString::number(value));
    }
    m_urgency->addItem(pack.text(InterfaceText::NoUrgency));
    m_urgency->setCurrentIndex(editing::urgencyEntry(fieldText(kUrgencyIndex)));
    m_cycle->clear();
    m_cycle->addItems({pack.text(InterfaceText::ObjectCycleMorning), pack.text(InterfaceText::ObjectCycleEvening),
                       pack.text(InterfaceText::ObjectCycleBoth), pack.text(InterfaceText::NoObjectCycle)});
    m_cycle->setCurrentIndex(editing::cycleEntry(fieldText(kObjectCycleIndex)));
}

void frmEditIPTC::rebuildList(ListControls &list, const QString &joined)
{
    list.list->clear();
    list.list->addItems(splitList(joined));
    updateListSpellButton(list);
}

void frmEditIPTC::showDatesForDisplay()
{
    for (int index = 0; index < kIptcFieldCount; ++index) {
        if (!isShownInUserFormat(index))
            continue;
        const QString stored = fieldText(index);
        setFieldText(index, isDateField(index) ? editing::dateForDisplay(stored, m_locale)
                                               : editing::timeForDisplay(stored, m_locale));
    }
}

TemplateValues frmEditIPTC::valuesToSave() const
{
    TemplateValues values;
    for (int i = 0; i < kTemplateFieldCount; ++i)
        values.fields[std::size_t(i)] = fieldText(i);
    values.fields[kUrgencyIndex] = editing::urgencyValue(m_urgency->currentIndex());
    values.fields[kSupplementalCategoryIndex] = editing::joinedEntries(listEntries(kSupplementalCategoryIndex));
    values.fields[kKeywordsIndex] = editing::joinedEntries(listEntries(kKeywordsIndex));
    for (int index = 0; index < kTemplateFieldCount; ++index)
        if (isShownInUserFormat(index))
            values.fields[std::size_t(index)] = isDateField(index) ? editing::storedDate(fieldText(index), m_locale)
                                                                   : editing::storedTime(fieldText(index), m_locale);
    values.fields[kObjectCycleIndex] = editing::cycleValue(m_cycle->currentIndex());
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        values.customized[std::size_t(row)] = {m_rows[std::size_t(row)].number->text(), customizedText(row)};
    return values;
}

void frmEditIPTC::save()
{
    if (refuseInvalidDateOrTime())
        return;
    if (editsImage()) {
        if (!m_readOnly && saveImage())
            accept(); // a file that could not be written keeps the dialog and its values open
        return;
    }
    const TemplateValues values = valuesToSave();
    // A value the file could not hold is never stored to be cut later: the dialog stays open.
    if (const std::optional<ValueOverLimit> over = templateValueOverLimit(values, ValueLimits::Write)) {
        const QString name = over->fieldIndex == kCustomizedIndex
                                 ? customizedLine(m_context.language.text(InterfaceText::CustomizedFieldLabel), over->dataset, {}).chopped(2)
                                 : m_label[std::size_t(over->fieldIndex)]->text();
        showStatus(overLimitMessage(m_context.language.message(Message::ValueTooManyBytes), name, *over));
        QApplication::beep();
        return;
    }
    for (QWidget *w : m_frames)
        w->setEnabled(false);
    m_ok->setEnabled(false);
    m_cancel->setEnabled(false);
    {
        const BusyCursor busy;
        TemplateStore store(m_context.catalogue, m_feedback);
        store.save(m_templateName, values, editing::revisionStamp(QDateTime::currentDateTime(), m_locale));
    }
    for (QWidget *w : m_frames)
        w->setEnabled(true);
    m_cancel->setEnabled(true);
    updateCommandButtons();
    accept();
}

// --- the texts the spell-check commands reach ---

QString frmEditIPTC::fieldText(int index) const
{
    const QWidget *box = m_box[std::size_t(index)];
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    return static_cast<const QPlainTextEdit *>(box)->toPlainText();
}

void frmEditIPTC::setFieldText(int index, const QString &text)
{
    QWidget *box = m_box[std::size_t(index)];
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

QStringList frmEditIPTC::listEntries(int index) const
{
    const QListWidget *list = index == kKeywordsIndex ? m_keywords.list : m_categories.list;
    QStringList entries;
    for (int row = 0; row < list->count(); ++row)
        entries << list->item(row)->text();
    return entries;
}

void frmEditIPTC::setListEntry(int index, int row, const QString &text)
{
    QListWidget *list = index == kKeywordsIndex ? m_keywords.list : m_categories.list;
    if (row >= 0 && row < list->count())
        list->item(row)->setText(text);
}

QString frmEditIPTC::customizedText(int row) const { return m_rows[std::size_t(row)].text->text(); }

void frmEditIPTC::setCustomizedText(int row, const QString &text) { m_rows[std::size_t(row)].text->setText(text); }

void frmEditIPTC::showStatus(const QString &text) { m_status->setText(text); }

} // namespace zelvarion
