// The edit dialog's controls, their places on the six tab frames, and the connections of the
// editing rules.
#include "ui/frmEditIPTC.h"

#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QCalendarWidget>
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

namespace {

constexpr int kLabelWidth = 180;
constexpr int kBoxLeft = 192;
constexpr int kRowHeight = 24;
constexpr QRect kFrameRect(12, 86, 796, 462);

// The hidden boxes behind the list controls.
bool isHiddenBox(int index) { return isListField(index) || isChoiceField(index); }

QToolButton *spellButton(QWidget *parent, const QString &name)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(pictures::spellCheckIcon());
    button->setEnabled(false);
    return button;
}

} // namespace

frmEditIPTC::frmEditIPTC(AppContext &context, Feedback &feedback, const QString &templateName, QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback), m_templateName(templateName)
{
    setObjectName(QStringLiteral("frmEditIPTC"));
    setModal(true);
    createControls();
    connectRules();
    qApp->installEventFilter(this); // F1 to F6 and Alt reach the dialog from every control
    load();
}

frmEditIPTC::frmEditIPTC(AppContext &context, Feedback &feedback, std::vector<ResultRow> result, int rank,
                         QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback), m_result(std::move(result)), m_rank(rank)
{
    setObjectName(QStringLiteral("frmEditIPTC"));
    setModal(true);
    createControls();
    createImageControls();
    connectRules();
    qApp->installEventFilter(this);
    load();
}

frmEditIPTC::~frmEditIPTC() { qApp->removeEventFilter(this); }

void frmEditIPTC::createControls()
{
    setFixedSize(820, 640);
    m_templateLabel = named(new QLabel(this), QStringLiteral("lblTemplate"));
    m_templateLabel->setGeometry(12, 6, 600, 44);
    QFont bold = m_templateLabel->font();
    bold.setBold(true);
    m_templateLabel->setFont(bold);
    m_logo = named(new QLabel(this), QStringLiteral("ImageIPTC"));
    m_logo->setGeometry(736, 10, 72, 32);
    m_logo->setPixmap(pictures::iptcLogo());
    m_tabs = named(new QTabBar(this), QStringLiteral("TabStripIPTC"));
    m_tabs->setGeometry(12, 58, 796, 28);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    for (int k = 0; k < 6; ++k) {
        m_tabs->addTab(QString());
        m_frames[std::size_t(k)] = named(new QWidget(this), indexed("FrameIPTC", k));
        m_frames[std::size_t(k)]->setGeometry(kFrameRect); // every frame takes frame 0's place
    }
    createDescriptionFrame();
    createListControls(m_frames[1], m_keywords, 8, "Keyword");
    createField(m_frames[2], iptcIndex("Category"), 8);
    createListControls(m_frames[2], m_categories, 44, "SupplementalCategory");
    createDatesFrame();
    createOtherFrame();
    createCustomizedFrame();
    createBottomControls();
    showTabFrame(1);
}

// One field row: its label, its box and its spell-check button; the box is returned.
QWidget *frmEditIPTC::createField(QWidget *frame, int index, int top, int height, int width)
{
    m_label[std::size_t(index)] = named(new QLabel(frame), indexed("lblIPTC", index));
    m_label[std::size_t(index)]->setGeometry(8, top, kLabelWidth, kRowHeight);
    QWidget *box = nullptr;
    if (isMultiLineField(index)) {
        auto *edit = new QPlainTextEdit(frame);
        edit->setTabChangesFocus(true);
        box = edit;
    } else {
        box = new QLineEdit(frame);
    }
    named(box, indexed("txtIPTC", index))->setGeometry(kBoxLeft, top, width, height);
    m_box[std::size_t(index)] = box;
    m_spell[std::size_t(index)] = spellButton(frame, indexed("cmdSpellChecker", index));
    m_spell[std::size_t(index)]->setGeometry(kBoxLeft + width + 6, top, kRowHeight, kRowHeight);
    if (isHiddenBox(index))
        box->hide();
    return box;
}

void frmEditIPTC::createDescriptionFrame()
{
    QWidget *frame = m_frames[0];
    int top = 8;
    for (int index : {iptcIndex("ObjectName"), iptcIndex("EditStatus"), kBylineIndex, iptcIndex("BylineTitle"),
                      kHeadlineIndex, kCopyrightIndex}) {
        createField(frame, index, top);
        top += 30;
    }
    m_copyright = named(new QLabel(QStringLiteral("\u00A9"), frame), QStringLiteral("lblCopyright"));
    m_copyright->setGeometry(kBoxLeft + 460 + 36, 8 + 5 * 30, 20, kRowHeight);
    m_copyright->setCursor(Qt::PointingHandCursor);
    createField(frame, kCaptionIndex, top, 130);
    createField(frame, iptcIndex("LocalCaption"), top + 138, 90);
    createField(frame, iptcIndex("CaptionWriter"), top + 236);
}

void frmEditIPTC::createListControls(QWidget *frame, ListControls &list, int top, const char *suffix)
{
    const bool keywords = frame == m_frames[1];
    list.fieldIndex = keywords ? kKeywordsIndex : kSupplementalCategoryIndex;
    createField(frame, list.fieldIndex, top, kRowHeight, 300);
    list.entryLabel = keywords ? named(new QLabel(frame), QStringLiteral("lblKeyword")) : m_label[std::size_t(list.fieldIndex)];
    if (keywords) {
        list.entryLabel->setGeometry(8, top + 32, kLabelWidth, kRowHeight);
    }
    const QString name = QLatin1String(suffix);
    list.entry = named(new QLineEdit(frame), QStringLiteral("rtf") + name);
    list.entry->setGeometry(kBoxLeft, keywords ? top + 32 : top, 300, kRowHeight);
    QPushButton **buttons[] = {&list.add, &list.replace, &list.remove};
    const char *verbs[] = {"cmdAdd", "cmdReplace", "cmdRemove"};
    for (int i = 0; i < 3; ++i) {
        *buttons[i] = named(new QPushButton(frame), QLatin1String(verbs[i]) + name);
        (*buttons[i])->setGeometry(kBoxLeft + 320 + 92 * i, list.entry->y() - 2, 86, 28);
        (*buttons[i])->setAutoDefault(false);
    }
    list.list = named(new QListWidget(frame),
                      keywords ? QStringLiteral("lstKeywords") : QStringLiteral("lstSupplementalCategories"));
    list.list->setGeometry(kBoxLeft, list.entry->y() + 34, 300, 440 - list.entry->y() - 34);
    // The button of the list field sits beside the list.
    m_spell[std::size_t(list.fieldIndex)]->move(kBoxLeft + 306, list.list->y());
}

void frmEditIPTC::createDatesFrame()
{
    QWidget *frame = m_frames[3];
    createField(frame, kUrgencyIndex, 8);
    m_urgency = named(new QComboBox(frame), QStringLiteral("lstUrgency"));
    m_urgency->setGeometry(kBoxLeft, 8, 240, kRowHeight);
    m_spell[kUrgencyIndex]->hide();
    int top = 38;
    for (int index : {kReleaseDateTime.date, kReleaseDateTime.time, kCreatedDateTime.date, kCreatedDateTime.time,
                      kCityIndex, iptcIndex("ProvinceState"), iptcIndex("CountryCode"), kCountryIndex, kCreditIndex,
                      iptcIndex("Contact"), iptcIndex("Source")}) {
        const bool shortBox = isShownInUserFormat(index) || index == iptcIndex("CountryCode");
        createField(frame, index, top, kRowHeight, shortBox ? 160 : 460);
        top += 30;
    }
    createDateButtons(frame);
}

void frmEditIPTC::createDateButtons(QWidget *frame)
{
    // cmdDate 0 opens the calendar for CreatedDate, 1 for ReleaseDate.
    for (int button = 0; button < 2; ++button) {
        QWidget *box = m_box[std::size_t(kDateTimeOfButton[button].date)];
        m_dateButton[std::size_t(button)] = named(new QToolButton(frame), indexed("cmdDate", button));
        m_dateButton[std::size_t(button)]->setIcon(pictures::calendarIcon());
        m_dateButton[std::size_t(button)]->setGeometry(box->x() + box->width() + 36, box->y(), kRowHeight, kRowHeight);
    }
    // cmdNow 0 sets the creation date and time, 1 the release date and time: each beside its time.
    for (int button = 0; button < 2; ++button) {
        QWidget *time = m_box[std::size_t(kDateTimeOfButton[button].time)];
        m_now[std::size_t(button)] = named(new QPushButton(frame), indexed("cmdNow", button));
        m_now[std::size_t(button)]->setGeometry(time->x() + time->width() + 36, time->y() - 2, 90, 28);
        m_now[std::size_t(button)]->setAutoDefault(false);
    }
    m_calendar = named(new QCalendarWidget(this), QStringLiteral("MonthView1"));
    m_calendar->setGeometry(0, 0, 280, 190);
    m_calendar->hide();
}

void frmEditIPTC::createOtherFrame()
{
    QWidget *frame = m_frames[4];
    const std::pair<int, int> rows[] = {
        {iptcIndex("FixtureIdentifier"), 24}, {iptcIndex("SpecialInstructions"), 56}, {iptcIndex("ReferenceService"), 24},
        {kReferenceDateIndex, 24}, {iptcIndex("ReferenceNumber"), 24}, {iptcIndex("OriginatingProgram"), 24},
        {iptcIndex("ProgramVersion"), 24}, {kObjectCycleIndex, 24}, {iptcIndex("OriginalTransmissionReference"), 24},
        {iptcIndex("ImageType"), 24}, {kCustomizedIndex, 110}};
    int top = 8;
    for (const auto &[index, height] : rows) {
        createField(frame, index, top, height);
        top += height + 6;
    }
    m_cycle = named(new QComboBox(frame), QStringLiteral("lstObjectCycle"));
    m_cycle->setGeometry(m_box[kObjectCycleIndex]->geometry().adjusted(0, 0, -220, 0));
    m_spell[kObjectCycleIndex]->hide();
}

void frmEditIPTC::createCustomizedFrame()
{
    QWidget *frame = m_frames[5];
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        CustomizedRow &r = m_rows[std::size_t(row)];
        const int left = row < 8 ? 8 : 404;
        const int top = 8 + 44 * (row % 8);
        r.label = named(new QLabel(frame), indexed("lblCustomized", row));
        r.label->setGeometry(left, top, 96, kRowHeight);
        r.number = named(new QLineEdit(frame), indexed("txtIndexCustomized", row));
        r.number->setGeometry(left + 100, top, 48, kRowHeight);
        r.text = named(new QLineEdit(frame), indexed("txtCustomized", row));
        r.text->setGeometry(left + 152, top, 200, kRowHeight);
        r.spell = spellButton(frame, indexed("cmdSpellCheckerCustomized", row));
        r.spell->setGeometry(left + 356, top, kRowHeight, kRowHeight);
    }
}

void frmEditIPTC::createBottomControls()
{
    m_status = named(new QLabel(this), QStringLiteral("lblStatus"));
    m_status->setGeometry(12, 554, 560, 40);
    m_status->setWordWrap(true);
    setTextColour(m_status, kStatusRed);
    m_spellAll = spellButton(this, QStringLiteral("cmdSpellCheckerAll"));
    m_spellAll->setGeometry(12, 604, 28, 28);
    m_spellAllLabel = named(new QLabel(this), QStringLiteral("lblSpellCheckerAll"));
    m_spellAllLabel->setGeometry(46, 606, 300, 24);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setGeometry(620, 602, 90, 30);
    m_ok->setAutoDefault(false);
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_cancel->setGeometry(718, 602, 90, 30);
    m_cancel->setAutoDefault(false);
}

void frmEditIPTC::connectRules()
{
    for (int i = 0; i < kIptcFieldCount; ++i) {
        if (auto *line = qobject_cast<QLineEdit *>(m_box[std::size_t(i)]))
            connect(line, &QLineEdit::textChanged, this, [this, i] {
                fieldChanged(i);
                showPendingDateOrTimeProblem(i);
            });
        else if (auto *text = qobject_cast<QPlainTextEdit *>(m_box[std::size_t(i)]))
            connect(text, &QPlainTextEdit::textChanged, this, [this, i] {
                fieldChanged(i);
                showPendingDateOrTimeProblem(i);
            });
        connect(m_spell[std::size_t(i)], &QToolButton::clicked, this, [this, i] { spellCheckField(i); });
    }
    for (ListControls *list : {&m_keywords, &m_categories}) {
        connect(list->entry, &QLineEdit::textChanged, this, [this, list] { entryChanged(*list); });
        connect(list->entry, &QLineEdit::returnPressed, this, [this, list] { addEntry(*list); });
        connect(list->add, &QPushButton::clicked, this, [this, list] { addEntry(*list); });
        connect(list->replace, &QPushButton::clicked, this, [this, list] { replaceEntry(*list); });
        connect(list->remove, &QPushButton::clicked, this, [this, list] { removeEntry(*list); });
        connect(list->list, &QListWidget::itemClicked, this, [this, list] { entryClicked(*list); });
    }
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        CustomizedRow &r = m_rows[std::size_t(row)];
        connect(r.number, &QLineEdit::textChanged, this, [this, row] { customizedNumberChanged(row); });
        connect(r.text, &QLineEdit::textChanged, this, [this, row] {
            m_rows[std::size_t(row)].spell->setEnabled(m_spellingAvailable && !customizedText(row).isEmpty());
        });
        connect(r.spell, &QToolButton::clicked, this, [this, row] { spellCheckCustomizedRow(row); });
    }
    for (int button = 0; button < 2; ++button)
        connect(m_dateButton[std::size_t(button)], &QToolButton::clicked, this, [this, button] { toggleCalendar(button); });
    connect(m_calendar, &QCalendarWidget::clicked, this, &frmEditIPTC::calendarPicked);
    connect(m_calendar, &QCalendarWidget::activated, this, &frmEditIPTC::calendarPicked);
    for (int button = 0; button < 2; ++button)
        connect(m_now[std::size_t(button)], &QPushButton::clicked, this, [this, button] { setNow(button); });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int position) { showTabFrame(position + 1); });
    connect(m_spellAll, &QToolButton::clicked, this, &frmEditIPTC::spellCheckAll);
    connect(m_ok, &QPushButton::clicked, this, &frmEditIPTC::save);
    connect(m_cancel, &QPushButton::clicked, this, &frmEditIPTC::reject);
}

} // namespace zelvarion
