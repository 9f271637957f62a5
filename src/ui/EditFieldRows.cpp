// The field rows of the edit dialog's tabs: their places, texts, kept values and locking.
#include "ui/EditFieldRows.h"

#include "core/editing/FieldRules.h"
#include "core/session/LanguagePack.h"
#include "ui/Controls.h"
#include "ui/EditDialogLayout.h"
#include "ui/Pictures.h"

#include <QComboBox>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace zelvarion {
using namespace controls;
using namespace editlayout;

namespace {

// The hidden boxes behind the list controls.
bool isHiddenBox(int index) { return isListField(index) || isChoiceField(index); }

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
    createRow(frames[2], iptcIndex("Category"), 8, kRowHeight, kBoxWidth);
    createDatesAndPlaces(frames[3]);
    createOthers(frames[4]);
}

QWidget *EditFieldRows::createRow(QWidget *frame, int index, int top, int height, int width)
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
    m_spell[std::size_t(index)] = newSpellButton(frame, indexed("cmdSpellChecker", index));
    m_spell[std::size_t(index)]->setGeometry(kBoxLeft + width + 6, top, kRowHeight, kRowHeight);
    if (isHiddenBox(index))
        box->hide();
    return box;
}

void EditFieldRows::createDescription(QWidget *frame)
{
    int top = 8;
    for (int index : {iptcIndex("ObjectName"), iptcIndex("EditStatus"), kBylineIndex, iptcIndex("BylineTitle"),
                      kHeadlineIndex, kCopyrightIndex}) {
        createRow(frame, index, top, kRowHeight, kBoxWidth);
        top += 30;
    }
    m_copyright = named(new QLabel(QStringLiteral("\u00A9"), frame), QStringLiteral("lblCopyright"));
    m_copyright->setGeometry(kBoxLeft + kBoxWidth + 36, 8 + 5 * 30, 20, kRowHeight);
    m_copyright->setCursor(Qt::PointingHandCursor);
    createRow(frame, kCaptionIndex, top, 130, kBoxWidth);
    createRow(frame, iptcIndex("LocalCaption"), top + 138, 90, kBoxWidth);
    createRow(frame, iptcIndex("CaptionWriter"), top + 236, kRowHeight, kBoxWidth);
}

void EditFieldRows::createDatesAndPlaces(QWidget *frame)
{
    createRow(frame, kUrgencyIndex, 8, kRowHeight, kBoxWidth);
    m_urgency = named(new QComboBox(frame), QStringLiteral("lstUrgency"));
    m_urgency->setGeometry(kBoxLeft, 8, 240, kRowHeight);
    m_spell[kUrgencyIndex]->hide();
    int top = 38;
    for (int index : {kReleaseDateTime.date, kReleaseDateTime.time, kCreatedDateTime.date, kCreatedDateTime.time,
                      kCityIndex, iptcIndex("ProvinceState"), iptcIndex("CountryCode"), kCountryIndex, kCreditIndex,
                      iptcIndex("Contact"), iptcIndex("Source")}) {
        const bool shortBox = isShownInUserFormat(index) || index == iptcIndex("CountryCode");
        createRow(frame, index, top, kRowHeight, shortBox ? 160 : kBoxWidth);
        top += 30;
    }
}

void EditFieldRows::createOthers(QWidget *frame)
{
    const std::pair<int, int> rows[] = {
        {iptcIndex("FixtureIdentifier"), 24}, {iptcIndex("SpecialInstructions"), 56}, {iptcIndex("ReferenceService"), 24},
        {kReferenceDateIndex, 24}, {iptcIndex("ReferenceNumber"), 24}, {iptcIndex("OriginatingProgram"), 24},
        {iptcIndex("ProgramVersion"), 24}, {kObjectCycleIndex, 24}, {iptcIndex("OriginalTransmissionReference"), 24},
        {iptcIndex("ImageType"), 24}, {kCustomizedIndex, 110}};
    int top = 8;
    for (const auto &[index, height] : rows) {
        createRow(frame, index, top, height, kBoxWidth);
        top += height + 6;
    }
    m_cycle = named(new QComboBox(frame), QStringLiteral("lstObjectCycle"));
    m_cycle->setGeometry(m_box[kObjectCycleIndex]->geometry().adjusted(0, 0, -220, 0));
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

} // namespace zelvarion
