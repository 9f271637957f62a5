// The field rows of the edit dialog's tabs: their places, texts, kept values and locking.
#include "ui/EditFieldRows.h"

#include "core/editing/FieldRules.h"
#include "core/session/LanguagePack.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditDialogLayout.h"
#include "ui/EditTabs.h"
#include "ui/Pictures.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <algorithm>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace zelvarion {
using namespace controls;
using namespace editlayout;

namespace {

// The hidden boxes behind the list controls.
bool isHiddenBox(int index) { return isListField(index) || isChoiceField(index); }

// Dates, times, the country code and the choice lists keep their width; other boxes take the row's.
bool isShortBox(int index)
{
    return isShownInUserFormat(index) || isChoiceField(index) || index == iptcIndex("CountryCode");
}

} // namespace

QToolButton *newSpellButton(QWidget *parent, const QString &name)
{
    auto *button = named(new QToolButton(parent), name);
    button->setIcon(pictures::spellCheckIcon());
    button->setEnabled(false);
    return button;
}

EditFieldRows::EditFieldRows(const std::array<QWidget *, 6> &frames)
{
    createDescription(frames[0]);
    createRow(frames[2], iptcIndex("Category"), kRowHeight);
    createDatesAndPlaces(frames[3]);
    createOthers(frames[4]);
}

void EditFieldRows::createRow(QWidget *frame, int index, int height)
{
    m_label[std::size_t(index)] = named(new QLabel(frame), indexed("lblIPTC", index));
    QWidget *box = nullptr;
    if (isMultiLineField(index)) {
        auto *edit = new QPlainTextEdit(frame);
        edit->setTabChangesFocus(true);
        edit->setMinimumSize(kListWidth, height);
        box = edit;
    } else {
        box = new QLineEdit(frame);
        if (isShortBox(index))
            box->setFixedWidth(kShortBoxWidth);
        else
            box->setMinimumWidth(kListWidth);
    }
    m_box[std::size_t(index)] = named(box, indexed("txtIPTC", index));
    m_spell[std::size_t(index)] = newSpellButton(frame, indexed("cmdSpellChecker", index));
    const bool multiLine = isMultiLineField(index);
    QHBoxLayout *line = FrameRows::of(frame).addRow(m_label[std::size_t(index)], multiLine ? height : 0);
    m_line[std::size_t(index)] = line;
    line->addWidget(box, isShortBox(index) ? 0 : 1);
    if (!isListField(index)) // the list's button stands beside the list
        line->addWidget(m_spell[std::size_t(index)], 0, multiLine ? Qt::AlignTop : Qt::Alignment());
    if (isShortBox(index))
        line->addStretch(1);
    if (isHiddenBox(index))
        box->hide();
    connectRow(index);
}

// Relayed as they come: the dialog's rules see a change before the code typing does.
void EditFieldRows::connectRow(int index)
{
    const auto changed = [this, index] { Q_EMIT textChanged(index); };
    if (auto *line = qobject_cast<QLineEdit *>(m_box[std::size_t(index)]))
        connect(line, &QLineEdit::textChanged, this, changed);
    else if (auto *text = qobject_cast<QPlainTextEdit *>(m_box[std::size_t(index)]))
        connect(text, &QPlainTextEdit::textChanged, this, changed);
    connect(m_spell[std::size_t(index)], &QToolButton::clicked, this, [this, index] { Q_EMIT spellRequested(index); });
}

void EditFieldRows::placeSpellButton(int index, QBoxLayout &line, Qt::Alignment alignment)
{
    line.addWidget(m_spell[std::size_t(index)], 0, alignment);
}

void EditFieldRows::addBeside(int index, QWidget *control)
{
    QHBoxLayout *line = m_line[std::size_t(index)];
    line->insertWidget(isShortBox(index) ? line->count() - 1 : line->count(), control);
}

void EditFieldRows::createDescription(QWidget *frame)
{
    for (int index : {iptcIndex("ObjectName"), iptcIndex("EditStatus"), kBylineIndex, iptcIndex("BylineTitle"),
                      kHeadlineIndex, kCopyrightIndex})
        createRow(frame, index, kRowHeight);
    m_copyright = named(new QLabel(QStringLiteral("\u00A9"), frame), QStringLiteral("lblCopyright"));
    m_copyright->setCursor(Qt::PointingHandCursor);
    addBeside(kCopyrightIndex, m_copyright);
    createRow(frame, kCaptionIndex, 130);
    createRow(frame, iptcIndex("LocalCaption"), 90);
    createRow(frame, iptcIndex("CaptionWriter"), kRowHeight);
}

void EditFieldRows::createDatesAndPlaces(QWidget *frame)
{
    createRow(frame, kUrgencyIndex, kRowHeight);
    m_urgency = named(new QComboBox(frame), QStringLiteral("lstUrgency"));
    m_urgency->setMinimumWidth(240);
    m_line[kUrgencyIndex]->insertWidget(0, m_urgency);
    m_spell[kUrgencyIndex]->hide();
    for (int index : {kReleaseDateTime.date, kReleaseDateTime.time, kCreatedDateTime.date, kCreatedDateTime.time,
                      kCityIndex, iptcIndex("ProvinceState"), iptcIndex("CountryCode"), kCountryIndex, kCreditIndex,
                      iptcIndex("Contact"), iptcIndex("Source")})
        createRow(frame, index, kRowHeight);
}

void EditFieldRows::createOthers(QWidget *frame)
{
    const std::pair<int, int> rows[] = {
        {iptcIndex("FixtureIdentifier"), kRowHeight}, {iptcIndex("SpecialInstructions"), 56},
        {iptcIndex("ReferenceService"), kRowHeight}, {kReferenceDateIndex, kRowHeight},
        {iptcIndex("ReferenceNumber"), kRowHeight}, {iptcIndex("OriginatingProgram"), kRowHeight},
        {iptcIndex("ProgramVersion"), kRowHeight}, {kObjectCycleIndex, kRowHeight},
        {iptcIndex("OriginalTransmissionReference"), kRowHeight}, {iptcIndex("ImageType"), kRowHeight},
        {kCustomizedIndex, 110}};
    for (const auto &[index, height] : rows)
        createRow(frame, index, height);
    m_cycle = named(new QComboBox(frame), QStringLiteral("lstObjectCycle"));
    m_cycle->setMinimumWidth(240);
    m_line[kObjectCycleIndex]->insertWidget(0, m_cycle);
    m_spell[kObjectCycleIndex]->hide();
}

QString EditFieldRows::text(int index) const
{
    const QWidget *box = m_box[std::size_t(index)];
    if (const auto *line = qobject_cast<const QLineEdit *>(box))
        return line->text();
    return static_cast<const QPlainTextEdit *>(box)->toPlainText();
}

void EditFieldRows::setText(int index, const QString &text)
{
    QWidget *box = m_box[std::size_t(index)];
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->setText(text);
    else
        static_cast<QPlainTextEdit *>(box)->setPlainText(text);
}

QString EditFieldRows::labelText(int index) const { return m_label[std::size_t(index)]->text(); }

void EditFieldRows::setLabelColour(int index, const QColor &colour) { setTextColour(m_label[std::size_t(index)], colour); }

void EditFieldRows::setHint(int index, const QString &example, const QString &toolTip)
{
    auto *box = static_cast<QLineEdit *>(m_box[std::size_t(index)]);
    box->setPlaceholderText(example);
    box->setToolTip(toolTip);
}

void EditFieldRows::setRowShown(int index, bool shown)
{
    for (QWidget *control : {m_box[std::size_t(index)], static_cast<QWidget *>(m_label[std::size_t(index)]),
                             static_cast<QWidget *>(m_spell[std::size_t(index)])})
        control->setVisible(shown);
}

void EditFieldRows::setReadOnly(int index, bool readOnly)
{
    if (auto *line = qobject_cast<QLineEdit *>(m_box[std::size_t(index)]))
        line->setReadOnly(readOnly);
    else
        static_cast<QPlainTextEdit *>(m_box[std::size_t(index)])->setReadOnly(readOnly);
}

void EditFieldRows::focusBox(int index, EditTabs &tabs)
{
    tabs.select(tabs.tabHolding(m_box[std::size_t(index)]));
    m_box[std::size_t(index)]->setFocus();
}

void EditFieldRows::watchCodes(EditCodeTyping &codes)
{
    for (int i = 0; i < kIptcFieldCount; ++i) {
        if (isDateOrTimeField(i) || isChoiceField(i) || isListField(i))
            continue;
        if (auto *line = qobject_cast<QLineEdit *>(m_box[std::size_t(i)]))
            codes.watch(line);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(m_box[std::size_t(i)]))
            codes.watch(text);
    }
}

void EditFieldRows::markChecking(int index, bool on)
{
    showBoxBeingChecked(m_box[std::size_t(index)], on);
    markLabelChecking(index, on);
}

void EditFieldRows::markLabelChecking(int index, bool on) { showLabelBeingChecked(m_label[std::size_t(index)], on); }

int EditFieldRows::fieldOfLabel(const QObject *control) const
{
    const auto found = std::find(m_label.begin(), m_label.end(), control);
    return found == m_label.end() ? -1 : int(found - m_label.begin());
}

int EditFieldRows::fieldOfBox(const QObject *control) const
{
    const auto found = std::find(m_box.begin(), m_box.end(), control);
    return found == m_box.end() ? -1 : int(found - m_box.begin());
}

bool EditFieldRows::isCopyrightSign(const QObject *control) const { return control == m_copyright; }

void EditFieldRows::applyToolTips()
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        if (iptcField(i).dataset >= 0)
            m_label[std::size_t(i)]->setToolTip(QStringLiteral("#IPTC %1").arg(iptcField(i).dataset));
}

void EditFieldRows::showLabels(const LanguagePack &pack)
{
    for (int i = 0; i < kIptcFieldCount; ++i) {
        QLabel *label = m_label[std::size_t(i)];
        label->setText(pack.text(fieldLabel(i)));
        setTextColour(label, kLabelGrey);
        m_spell[std::size_t(i)]->setToolTip(pack.text(InterfaceText::SpellCheckTip) + QStringLiteral(" (")
                                            + label->text() + u')');
    }
}

void EditFieldRows::fillChoices(const LanguagePack &pack)
{
    m_urgency->clear();
    for (int value = 1; value <= 9; ++value) {
        const InterfaceText note = value == 1 ? InterfaceText::Urgency1Note
                                   : value == 5 ? InterfaceText::Urgency5Note
                                                : InterfaceText::Urgency9Note;
        const bool noted = value == 1 || value == 5 || value == 9;
        m_urgency->addItem(noted ? QStringLiteral("%1 [%2]").arg(value).arg(pack.text(note)) : QString::number(value));
    }
    m_urgency->addItem(pack.text(InterfaceText::NoUrgency));
    m_urgency->setCurrentIndex(editing::urgencyEntry(text(kUrgencyIndex)));
    m_cycle->clear();
    m_cycle->addItems({pack.text(InterfaceText::ObjectCycleMorning), pack.text(InterfaceText::ObjectCycleEvening),
                       pack.text(InterfaceText::ObjectCycleBoth), pack.text(InterfaceText::NoObjectCycle)});
    m_cycle->setCurrentIndex(editing::cycleEntry(text(kObjectCycleIndex)));
}

QString EditFieldRows::choiceValue(int index) const
{
    return index == kUrgencyIndex ? editing::urgencyValue(m_urgency->currentIndex())
                                  : editing::cycleValue(m_cycle->currentIndex());
}

bool EditFieldRows::swapKept(int index)
{
    const QString shown = text(index);
    setText(index, m_kept[std::size_t(index)]);
    m_kept[std::size_t(index)] = shown;
    m_blue[std::size_t(index)] = !m_blue[std::size_t(index)];
    if (index == kUrgencyIndex)
        m_urgency->setCurrentIndex(editing::urgencyEntry(text(kUrgencyIndex)));
    else if (index == kObjectCycleIndex)
        m_cycle->setCurrentIndex(editing::cycleEntry(text(kObjectCycleIndex)));
    return m_blue[std::size_t(index)];
}

void EditFieldRows::labelClicked(int index)
{
    setTextColour(m_label[std::size_t(index)], swapKept(index) ? kLabelBlue : kLabelGrey);
}

// What the label clicks set aside belongs to the image it was taken from.
void EditFieldRows::forgetKept()
{
    m_kept.fill(QString());
    m_blue.fill(false);
}

void EditFieldRows::addCopyrightSign()
{
    auto *box = static_cast<QLineEdit *>(m_box[kCopyrightIndex]);
    box->setText(editing::withCopyrightSign(box->text()));
    box->setFocus();
    box->end(false);
}

void EditFieldRows::lockAllBut(int index)
{
    for (int i = 0; i < kIptcFieldCount; ++i)
        m_box[std::size_t(i)]->setEnabled(i == index);
    m_urgency->setEnabled(false);
    m_cycle->setEnabled(false);
}

void EditFieldRows::unlockAll()
{
    for (QWidget *box : m_box)
        box->setEnabled(true);
    m_urgency->setEnabled(true);
    m_cycle->setEnabled(true);
}

void EditFieldRows::setSpellingAvailable(bool available)
{
    m_spellingAvailable = available;
    for (int i = 0; i < kIptcFieldCount; ++i)
        updateSpellButton(i);
}

void EditFieldRows::updateSpellButton(int index)
{
    if (isListField(index))
        return; // the lists' buttons follow their entries
    m_spell[std::size_t(index)]->setEnabled(m_spellingAvailable && !text(index).isEmpty());
}

void EditFieldRows::setSpellButtonEnabled(int index, bool enabled) { m_spell[std::size_t(index)]->setEnabled(enabled); }

} // namespace zelvarion
