#pragma once

#include "core/catalogue/TemplatesTable.h"

#include <QLocale>
#include <QObject>
#include <array>
#include <optional>

class QCalendarWidget;
class QDate;
class QPushButton;
class QToolButton;
class QWidget;

namespace zelvarion {

class EditFieldRows;
class EditStatusLine;
class EditTabs;
class LanguagePack;

// The edit dialog's dates and times: the release and creation shown in the user's formats, the
// calendar (MonthView1) behind cmdDate 0 and 1, cmdNow 0 and 1, and the check that every date and
// time box holds a date or time or nothing. A box is judged when it is left; OK waits for all.
class EditDatesAndTimes : public QObject
{
    Q_OBJECT
public:
    EditDatesAndTimes(QWidget *frame, QWidget *dialog, EditFieldRows &rows, EditTabs &tabs, EditStatusLine &status,
                      const LanguagePack &pack);

    void applyTexts();
    // Stored values (yyyymmdd, hhnnss) in the user's formats, and back.
    void showForDisplay();
    void storeShown(TemplateValues &values) const;

    // The first date or time box whose text is neither empty nor a date or time.
    std::optional<int> invalidField() const;
    void leave(int index);
    // After a change elsewhere has cleared the status, a date or time still refused says so again.
    void showPendingProblem(int changedIndex);
    // OK with a date or time that does not parse: refused with the field named, its tab shown and
    // the cursor in it. True when refused.
    bool refuseInvalid();

    bool calendarShown() const;
    void hideCalendar();

Q_SIGNALS:
    // A date or time may have become valid or invalid: OK, Previous and Next follow.
    void validityChecked();

private:
    void createButtons(QWidget *frame);
    void showProblem(int index);
    // The form a date or time box expects, as the user reads it.
    QString expectedForm(int index) const;
    void toggleCalendar(int button);
    void calendarPicked(const QDate &date);
    void setNow(int button);

    QWidget *m_dialog;
    EditFieldRows &m_rows;
    EditTabs &m_tabs;
    EditStatusLine &m_status;
    const LanguagePack &m_pack;
    QLocale m_locale;
    std::array<QToolButton *, 2> m_dateButton{};
    std::array<QPushButton *, 2> m_now{};
    QCalendarWidget *m_calendar = nullptr;
    int m_calendarField = -1;
};

} // namespace zelvarion
