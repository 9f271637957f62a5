// The dates and times of the edit dialog: display forms, the calendar, Now, and their checks.
#include "ui/EditDatesAndTimes.h"

#include "core/editing/EditDates.h"
#include "core/session/LanguagePack.h"
#include "core/session/PackText.h"
#include "ui/Controls.h"
#include "ui/EditFieldRows.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

namespace {

// The date and time that cmdDate i and cmdNow i set: 0 the creation, 1 the release.
constexpr DateTimeFields kDateTimeOfButton[] = {kCreatedDateTime, kReleaseDateTime};

bool parsesOrIsEmpty(int index, const QString &text, const QLocale &locale)
{
    return text.isEmpty() || (isDateField(index) ? editing::parseDate(text, locale).has_value()
                                                 : editing::parseTime(text, locale).has_value());
}

} // namespace

EditDatesAndTimes::EditDatesAndTimes(QWidget *frame, QWidget *dialog, EditFieldRows &rows, EditTabs &tabs,
                                     EditStatusLine &status, const LanguagePack &pack)
    : QObject(dialog), m_dialog(dialog), m_rows(rows), m_tabs(tabs), m_status(status), m_pack(pack)
{
    createButtons(frame);
    for (int button = 0; button < 2; ++button) {
        connect(m_dateButton[std::size_t(button)], &QToolButton::clicked, this, [this, button] { toggleCalendar(button); });
        connect(m_now[std::size_t(button)], &QPushButton::clicked, this, [this, button] { setNow(button); });
    }
    connect(m_calendar, &QCalendarWidget::clicked, this, &EditDatesAndTimes::calendarPicked);
    connect(m_calendar, &QCalendarWidget::activated, this, &EditDatesAndTimes::calendarPicked);
}

// The calendar's button stands beside its date, each Now beside its time.
void EditDatesAndTimes::createButtons(QWidget *frame)
{
    for (int button = 0; button < 2; ++button) {
        QToolButton *date = named(new QToolButton(frame), indexed("cmdDate", button));
        date->setIcon(pictures::calendarIcon());
        m_rows.addBeside(kDateTimeOfButton[button].date, date);
        m_dateButton[std::size_t(button)] = date;
    }
    for (int button = 0; button < 2; ++button) {
        QPushButton *now = named(new QPushButton(frame), indexed("cmdNow", button));
        now->setMinimumWidth(90);
        now->setAutoDefault(false);
        m_rows.addBeside(kDateTimeOfButton[button].time, now);
        m_now[std::size_t(button)] = now;
    }
    m_calendar = named(new QCalendarWidget(m_dialog), QStringLiteral("MonthView1"));
    // It stands over the dialog beside the button that opened it, outside any layout.
    m_calendar->resize(m_calendar->sizeHint().expandedTo(QSize(280, 190)));
    m_calendar->hide();
}

void EditDatesAndTimes::applyTexts()
{
    for (QPushButton *now : m_now)
        now->setText(m_pack.text(InterfaceText::NowButton));
    // An example whose day cannot be read as a month shows which comes first.
    const QDate exampleDate(QDate::currentDate().year(), 6, 21);
    const QTime exampleTime(14, 30, 0);
    for (int index = 0; index < kIptcFieldCount; ++index) {
        if (!isShownInUserFormat(index))
            continue;
        const bool date = isDateField(index);
        const QString form = expectedForm(index);
        m_rows.setHint(index, form,
                       m_pack.text(date ? InterfaceText::DateFieldHint : InterfaceText::TimeFieldHint)
                           .replace(u'#', form)
                           .replace(u'%', date ? editing::dateText(exampleDate, m_locale)
                                               : editing::timeText(exampleTime, m_locale)));
    }
}

QString EditDatesAndTimes::expectedForm(int index) const
{
    return isDateField(index) ? editing::shownDateForm(m_locale, m_pack.text(InterfaceText::DateFormLetters))
                              : editing::shownTimeForm(m_locale);
}

void EditDatesAndTimes::showForDisplay()
{
    for (int index = 0; index < kIptcFieldCount; ++index) {
        if (!isShownInUserFormat(index))
            continue;
        const QString stored = m_rows.text(index);
        m_rows.setText(index, isDateField(index) ? editing::dateForDisplay(stored, m_locale)
                                                 : editing::timeForDisplay(stored, m_locale));
    }
}

void EditDatesAndTimes::storeShown(TemplateValues &values) const
{
    for (int index = 0; index < kTemplateFieldCount; ++index)
        if (isShownInUserFormat(index))
            values.fields[std::size_t(index)] = isDateField(index) ? editing::storedDate(m_rows.text(index), m_locale)
                                                                   : editing::storedTime(m_rows.text(index), m_locale);
}

std::optional<int> EditDatesAndTimes::invalidField() const
{
    for (int index = 0; index < kIptcFieldCount; ++index)
        if (isDateOrTimeField(index) && !parsesOrIsEmpty(index, m_rows.text(index), m_locale))
            return index;
    return std::nullopt;
}

void EditDatesAndTimes::showProblem(int index)
{
    const Message message = isDateField(index) ? Message::InvalidDate : Message::InvalidTime;
    m_status.show(withColon(m_pack, m_rows.labelText(index)) + m_pack.message(message) + u' '
                  + m_pack.message(Message::ExpectedForm).replace(u'#', expectedForm(index)));
}

void EditDatesAndTimes::leave(int index)
{
    Q_EMIT validityChecked();
    if (parsesOrIsEmpty(index, m_rows.text(index), m_locale)) {
        m_status.clear();
        showPendingProblem(index);
        return;
    }
    showProblem(index);
    QApplication::beep();
}

// The box being typed in is judged when it is left; OK stays disabled for any other.
void EditDatesAndTimes::showPendingProblem(int changedIndex)
{
    Q_EMIT validityChecked();
    const std::optional<int> invalid = invalidField();
    if (invalid && *invalid != changedIndex && m_status.isEmpty())
        showProblem(*invalid);
}

bool EditDatesAndTimes::refuseInvalid()
{
    const std::optional<int> invalid = invalidField();
    if (!invalid)
        return false;
    showProblem(*invalid);
    m_rows.focusBox(*invalid, m_tabs);
    QApplication::beep();
    return true;
}

bool EditDatesAndTimes::calendarShown() const { return m_calendar->isVisible(); }

void EditDatesAndTimes::hideCalendar() { m_calendar->hide(); }

void EditDatesAndTimes::toggleCalendar(int button)
{
    const int field = kDateTimeOfButton[button].date;
    if (m_calendar->isVisible() && m_calendarField == field) {
        m_calendar->hide();
        return;
    }
    m_calendarField = field;
    m_calendar->setSelectedDate(editing::parseDate(m_rows.text(field), m_locale).value_or(QDate::currentDate()));
    QToolButton *opener = m_dateButton[std::size_t(button)];
    const QPoint level = opener->mapTo(m_dialog, QPoint(opener->width() + 4, 0));
    m_calendar->move(std::min(level.x(), m_dialog->width() - m_calendar->width()),
                     std::min(level.y(), m_dialog->height() - m_calendar->height()));
    m_calendar->show();
    m_calendar->raise();
}

void EditDatesAndTimes::calendarPicked(const QDate &date)
{
    if (m_calendarField < 0)
        return;
    m_rows.setText(m_calendarField, editing::dateText(date, m_locale));
    m_calendar->hide();
    leave(m_calendarField);
}

// cmdNow 0 the creation date and time, 1 the release date and time; no other box changes.
void EditDatesAndTimes::setNow(int button)
{
    const QDateTime now = QDateTime::currentDateTime();
    const DateTimeFields fields = kDateTimeOfButton[button];
    m_rows.setText(fields.date, editing::dateText(now.date(), m_locale));
    m_rows.setText(fields.time, editing::timeText(now.time(), m_locale));
    m_status.clear();
    showPendingProblem(-1);
}

} // namespace zelvarion
