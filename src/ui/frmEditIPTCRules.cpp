// The editing rules of the edit dialog: length control, date and time checks, the two lists,
// the customized rows, label clicks, the calendar and the tab keys. Messages go to lblStatus.
#include "ui/frmEditIPTC.h"

#include "core/editing/EditDates.h"
#include "core/editing/FieldRules.h"
#include "core/captioning/TemplateEdits.h"
#include "platform/gui/ShellServices.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

// --- length control and the spell-check buttons ---

void frmEditIPTC::fieldChanged(int index)
{
    updateFieldSpellButton(index);
    if (m_loading)
        return;
    if (isVisible())
        m_status->clear();
    if (!m_context.settings.controlLengthFields || index == kKeywordsIndex || index == kSupplementalCategoryIndex
        || isShownInUserFormat(index))
        return; // dates and times in the user's formats are checked as such when their box is left
    allFieldsEnabled();
    // Counted in the bytes the file will hold: in UTF-8 when any value on show needs it.
    const iptctext::Charset charset = templateWriteCharset(valuesToSave());
    if (const auto excess = editing::exceededLimit(index, fieldText(index), charset)) {
        showStatus(editing::tooLongMessage(m_context.language.message(Message::TextTooLong),
                                           m_context.language.message(Message::ValueTooManyBytes),
                                           m_label[std::size_t(index)]->text(), *excess));
        allFieldsDisabled(index, -1);
        QApplication::beep();
    }
}

void frmEditIPTC::updateFieldSpellButton(int index)
{
    if (index == kKeywordsIndex || index == kSupplementalCategoryIndex)
        return; // the lists' buttons follow their entries
    m_spell[std::size_t(index)]->setEnabled(m_spellingAvailable && !fieldText(index).isEmpty());
}

void frmEditIPTC::allFieldsDisabled(int indexIptc, int indexCustomized)
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        m_box[std::size_t(i)]->setEnabled(i == indexIptc);
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        m_rows[std::size_t(row)].number->setEnabled(row == indexCustomized);
        m_rows[std::size_t(row)].text->setEnabled(row == indexCustomized);
    }
    for (ListControls *list : {&m_keywords, &m_categories}) {
        list->entry->setEnabled(indexIptc == list->fieldIndex);
        list->list->setEnabled(indexIptc == list->fieldIndex);
    }
    m_urgency->setEnabled(false);
    m_cycle->setEnabled(false);
    m_fieldsLocked = true;
    updateCommandButtons();
}

void frmEditIPTC::allFieldsEnabled()
{
    for (QWidget *box : m_box)
        box->setEnabled(true);
    for (CustomizedRow &row : m_rows) {
        row.number->setEnabled(true);
        row.text->setEnabled(true);
    }
    for (ListControls *list : {&m_keywords, &m_categories}) {
        list->entry->setEnabled(true);
        list->list->setEnabled(true);
    }
    m_urgency->setEnabled(true);
    m_cycle->setEnabled(true);
    m_fieldsLocked = false;
    updateCommandButtons();
}

// OK, Previous and Next follow the rules: none of them while every field but one is locked, so a
// value cannot be saved or carried to another image half-corrected, and OK not while a date or
// time does not parse (it would be stored empty). A read-only file is never saved.
void frmEditIPTC::updateCommandButtons()
{
    m_ok->setEnabled(!m_readOnly && !m_fieldsLocked && !invalidDateOrTime());
    if (!editsImage())
        return;
    m_previous->setEnabled(!m_fieldsLocked && neighbourRank(-1) > 0);
    m_next->setEnabled(!m_fieldsLocked && neighbourRank(1) > 0);
}

// --- dates and times ---

namespace {

bool parsesOrIsEmpty(int index, const QString &text, const QLocale &locale)
{
    return text.isEmpty() || (isDateField(index) ? editing::parseDate(text, locale).has_value()
                                                 : editing::parseTime(text, locale).has_value());
}

} // namespace

// The first date or time box whose text is neither empty nor a date or time.
std::optional<int> frmEditIPTC::invalidDateOrTime() const
{
    for (int index = 0; index < kIptcFieldCount; ++index)
        if (isDateOrTimeField(index) && !parsesOrIsEmpty(index, fieldText(index), m_locale))
            return index;
    return std::nullopt;
}

void frmEditIPTC::showDateOrTimeProblem(int index)
{
    const Message message = isDateField(index) ? Message::InvalidDate : Message::InvalidTime;
    showStatus(m_label[std::size_t(index)]->text() + QStringLiteral(": ") + m_context.language.message(message));
}

void frmEditIPTC::leaveDateOrTime(int index)
{
    updateCommandButtons();
    if (parsesOrIsEmpty(index, fieldText(index), m_locale)) {
        m_status->clear();
        showPendingDateOrTimeProblem(index);
        return;
    }
    showDateOrTimeProblem(index);
    QApplication::beep();
}

// After a change elsewhere has cleared the status, a date or time still refused says so again:
// OK stays disabled for it. The box being typed in is judged when it is left.
void frmEditIPTC::showPendingDateOrTimeProblem(int changedIndex)
{
    if (m_loading)
        return;
    updateCommandButtons();
    const std::optional<int> invalid = invalidDateOrTime();
    if (invalid && *invalid != changedIndex && m_status->text().isEmpty())
        showDateOrTimeProblem(*invalid);
}

// OK (or Save before moving to another image) with a date or time that does not parse: refused
// with the field named, its tab shown and the cursor in it, so nothing is stored without it.
bool frmEditIPTC::refuseInvalidDateOrTime()
{
    const std::optional<int> invalid = invalidDateOrTime();
    if (!invalid)
        return false;
    showDateOrTimeProblem(*invalid);
    selectTab(*invalid == kReferenceDateIndex ? 5 : 4);
    m_box[std::size_t(*invalid)]->setFocus();
    QApplication::beep();
    return true;
}

void frmEditIPTC::toggleCalendar(int button)
{
    const int field = kDateTimeOfButton[button].date;
    if (m_calendar->isVisible() && m_calendarField == field) {
        m_calendar->hide();
        return;
    }
    m_calendarField = field;
    m_calendar->setSelectedDate(editing::parseDate(fieldText(field), m_locale).value_or(QDate::currentDate()));
    const QPoint level = m_dateButton[std::size_t(button)]->mapTo(this, QPoint(m_dateButton[std::size_t(button)]->width() + 4, 0));
    m_calendar->move(std::min(level.x(), width() - m_calendar->width()), std::min(level.y(), height() - m_calendar->height()));
    m_calendar->show();
    m_calendar->raise();
}

void frmEditIPTC::calendarPicked(const QDate &date)
{
    if (m_calendarField < 0)
        return;
    setFieldText(m_calendarField, editing::dateText(date, m_locale));
    m_calendar->hide();
    leaveDateOrTime(m_calendarField);
}

// cmdNow 0 the creation date and time, 1 the release date and time; no other box changes.
void frmEditIPTC::setNow(int button)
{
    const QDateTime now = QDateTime::currentDateTime();
    const DateTimeFields fields = kDateTimeOfButton[button];
    setFieldText(fields.date, editing::dateText(now.date(), m_locale));
    setFieldText(fields.time, editing::timeText(now.time(), m_locale));
    m_status->clear();
    showPendingDateOrTimeProblem(-1);
}

// --- the keyword and supplemental-category lists ---

void frmEditIPTC::entryChanged(ListControls &list)
{
    if (isVisible())
        m_status->clear();
    list.add->setEnabled(true);
    if (!m_context.settings.controlLengthFields)
        return;
    allFieldsEnabled();
    const iptctext::Charset charset = templateWriteCharset(valuesToSave());
    if (const auto excess = editing::entryExceedsLimit(list.fieldIndex, list.entry->text(), charset)) {
        showStatus(editing::tooLongMessage(m_context.language.message(Message::TextTooLong),
                                           m_context.language.message(Message::ValueTooManyBytes),
                                           list.entryLabel->text(), *excess));
        allFieldsDisabled(list.fieldIndex, -1);
        list.add->setEnabled(false);
        QApplication::beep();
    }
}

// A refusal of the lists: a beep and the message in the status line.
void frmEditIPTC::refuse(Message message)
{
    QApplication::beep();
    showStatus(m_context.language.message(message));
}

// The selected entry, or nothing (message 14).
QListWidgetItem *frmEditIPTC::selectedEntry(ListControls &list)
{
    QListWidgetItem *selected = list.list->currentItem();
    if (selected && selected->isSelected())
        return selected;
    refuse(Message::NoEntrySelected);
    return nullptr;
}

void frmEditIPTC::addEntry(ListControls &list)
{
    m_status->clear();
    if (!list.add->isEnabled())
        return; // Enter while the entry is too long
    const QString text = trimBlanks(list.entry->text());
    list.entry->setText(text);
    if (text.isEmpty())
        return;
    if (editing::hasEntryIgnoringCase(listEntries(list.fieldIndex), text)) {
        refuse(Message::AlreadyInList);
        return;
    }
    list.list->addItem(text);
    list.entry->clear();
    updateListSpellButton(list);
}

void frmEditIPTC::replaceEntry(ListControls &list)
{
    m_status->clear();
    QListWidgetItem *selected = selectedEntry(list);
    if (!selected)
        return;
    const QString text = list.entry->text();
    if (editing::hasEntryIgnoringCase(listEntries(list.fieldIndex), text)) {
        refuse(Message::AlreadyInList);
        return;
    }
    const QString replaced = selected->text();
    selected->setText(text);
    list.entry->setText(replaced);
    updateListSpellButton(list);
}

void frmEditIPTC::removeEntry(ListControls &list)
{
    m_status->clear();
    QListWidgetItem *selected = selectedEntry(list);
    if (!selected)
        return;
    const int row = list.list->row(selected);
    delete list.list->takeItem(row);
    if (list.list->count() > 0)
        list.list->setCurrentRow(std::min(row, list.list->count() - 1));
    updateListSpellButton(list);
}

void frmEditIPTC::entryClicked(ListControls &list)
{
    if (QListWidgetItem *item = list.list->currentItem())
        list.entry->setText(item->text());
    list.replace->setEnabled(true);
    list.remove->setEnabled(true);
    if (list.fieldIndex == kSupplementalCategoryIndex)
        m_status->clear();
}

void frmEditIPTC::updateListSpellButton(ListControls &list)
{
    m_spell[std::size_t(list.fieldIndex)]->setEnabled(m_spellingAvailable && list.list->count() > 0);
}

// --- customized rows ---

QString frmEditIPTC::configuredName(const QString &number) const
{
    if (number.trimmed().isEmpty())
        return {};
    for (const CustomizedFieldName &configured : m_context.settings.customizedFieldNames)
        if (!configured.index.isEmpty() && configured.index.trimmed() == number.trimmed())
            return configured.name;
    return {};
}

void frmEditIPTC::customizedNumberChanged(int row)
{
    CustomizedRow &r = m_rows[std::size_t(row)];
    if (m_loading)
        return;
    r.label->setText(m_context.language.text(InterfaceText::CustomizedFieldLabel));
    r.number->setStyleSheet(QString());
    if (r.number->text().isEmpty()) {
        showStatus(m_context.language.message(Message::DatasetNumberMissing));
        return;
    }
    if (isVisible())
        m_status->clear();
    if (const QString name = configuredName(r.number->text()); !name.isEmpty()) {
        r.label->setText(name);
        r.number->setStyleSheet(QStringLiteral("background-color: rgb(192, 192, 192);"));
    }
}

void frmEditIPTC::leaveCustomizedNumber(int row)
{
    const QString number = m_rows[std::size_t(row)].number->text();
    if (number.isEmpty())
        return;
    QStringList others;
    for (int other = 0; other < kTemplateCustomizedCount; ++other)
        if (other != row)
            others << m_rows[std::size_t(other)].number->text();
    const editing::NumberVerdict verdict = editing::checkCustomizedNumber(number, others);
    if (verdict == editing::NumberVerdict::Valid) {
        allFieldsEnabled();
        return;
    }
    const Message message = verdict == editing::NumberVerdict::Invalid ? Message::InvalidDatasetNumber
                                                                        : Message::DatasetNumberUsed;
    showStatus(m_context.language.message(message) + u' ' + number);
    allFieldsDisabled(-1, row);
    QApplication::beep();
}

// --- label clicks: a field's text is set aside and brought back ---

void frmEditIPTC::setLabelBlue(QLabel *label, bool blue) { setTextColour(label, blue ? kLabelBlue : kLabelGrey); }

void frmEditIPTC::labelClicked(int index)
{
    const QString shown = fieldText(index);
    setFieldText(index, m_kept[std::size_t(index)]);
    m_kept[std::size_t(index)] = shown;
    m_labelBlue[std::size_t(index)] = !m_labelBlue[std::size_t(index)];
    setLabelBlue(m_label[std::size_t(index)], m_labelBlue[std::size_t(index)]);
    if (index == kUrgencyIndex)
        m_urgency->setCurrentIndex(editing::urgencyEntry(fieldText(kUrgencyIndex)));
    else if (index == kObjectCycleIndex)
        m_cycle->setCurrentIndex(editing::cycleEntry(fieldText(kObjectCycleIndex)));
    else if (index == kSupplementalCategoryIndex)
        rebuildList(m_categories, fieldText(index));
}

// The joined keywords the dialog loaded change places with the kept value; list edits made
// since loading are lost.
void frmEditIPTC::keywordLabelClicked()
{
    const QString shown = fieldText(kKeywordsIndex);
    setFieldText(kKeywordsIndex, m_keptKeywords);
    m_keptKeywords = shown;
    m_labelBlue[kKeywordsIndex] = !m_labelBlue[kKeywordsIndex];
    setLabelBlue(m_keywords.entryLabel, m_labelBlue[kKeywordsIndex]);
    rebuildList(m_keywords, fieldText(kKeywordsIndex));
}

void frmEditIPTC::customizedLabelClicked(int row)
{
    CustomizedRow &r = m_rows[std::size_t(row)];
    const QString number = r.number->text(), text = r.text->text();
    r.number->setText(r.keptNumber);
    r.text->setText(r.keptText);
    r.keptNumber = number;
    r.keptText = text;
    r.blue = !r.blue;
    setLabelBlue(r.label, r.blue);
}

void frmEditIPTC::copyrightClicked()
{
    auto *box = static_cast<QLineEdit *>(m_box[kCopyrightIndex]);
    box->setText(editing::withCopyrightSign(box->text()));
    box->setFocus();
    box->end(false);
}

// --- tabs, keys and the calendar's way out ---

void frmEditIPTC::showTabFrame(int tab)
{
    for (int k = 0; k < 6; ++k)
        m_frames[std::size_t(k)]->setVisible(k == tab - 1);
}

void frmEditIPTC::selectTab(int tab)
{
    if (tab >= 1 && tab <= m_tabs->count())
        m_tabs->setCurrentIndex(tab - 1);
}

// F1 to F6 select a tab; Alt pressed and released alone selects the next one.
bool frmEditIPTC::handleTabKeys(QEvent *event)
{
    auto *key = static_cast<QKeyEvent *>(event);
    if (event->type() == QEvent::KeyPress) {
        m_altAlone = key->key() == Qt::Key_Alt && !key->isAutoRepeat();
        if (key->key() >= Qt::Key_F1 && key->key() <= Qt::Key_F6) {
            selectTab(key->key() - Qt::Key_F1 + 1);
            return true;
        }
        return false;
    }
    if (key->key() == Qt::Key_Alt && m_altAlone) {
        m_altAlone = false;
        selectTab(m_tabs->currentIndex() + 1 == m_tabs->count() ? 1 : m_tabs->currentIndex() + 2);
        return true;
    }
    return false;
}

// Clicks on labels, leaving boxes and keys, for every control of the dialog (the filter sits on
// the application, so keys reach it whichever control has the focus).
bool frmEditIPTC::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
            if (watched == m_keywords.list)
                removeEntry(m_keywords);
            else if (watched == m_categories.list)
                removeEntry(m_categories);
        }
        return handleTabKeys(event);
    case QEvent::KeyRelease:
        return handleTabKeys(event);
    case QEvent::MouseButtonPress:
        return labelPressed(watched);
    case QEvent::MouseButtonDblClick:
        if (watched == m_logo)
            shell::openWithDefaultProgram(QStringLiteral("https://iptc.org/standards/iim/"));
        return false;
    case QEvent::FocusOut:
        controlLeft(watched);
        return false;
    default:
        return false;
    }
}

bool frmEditIPTC::labelPressed(QObject *watched)
{
    if (watched == m_copyright) {
        copyrightClicked();
        return true;
    }
    if (watched == m_keywords.entryLabel || watched == m_label[kKeywordsIndex]) {
        keywordLabelClicked();
        return true;
    }
    for (int i = 0; i < kIptcFieldCount; ++i) {
        if (watched == m_label[std::size_t(i)]) {
            labelClicked(i);
            return true;
        }
    }
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        if (watched == m_rows[std::size_t(row)].label) {
            customizedLabelClicked(row);
            return true;
        }
    }
    return false;
}

void frmEditIPTC::controlLeft(QObject *watched)
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (isDateOrTimeField(i) && watched == m_box[std::size_t(i)])
            leaveDateOrTime(i);
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        if (watched == m_rows[std::size_t(row)].number)
            leaveCustomizedNumber(row);
}

void frmEditIPTC::reject()
{
    if (m_calendar->isVisible()) {
        m_calendar->hide(); // Esc and closing only put the calendar away
        return;
    }
    QDialog::reject();
}

void frmEditIPTC::closeEvent(QCloseEvent *event)
{
    if (m_calendar->isVisible()) {
        m_calendar->hide();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zelvarion
