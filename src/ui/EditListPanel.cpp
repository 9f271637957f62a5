// The keyword and supplemental-category lists of the edit dialog and their rules.
#include "ui/EditListPanel.h"

#include "core/editing/FieldRules.h"
#include "core/session/LanguagePack.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditDialogLayout.h"
#include "ui/EditFieldRows.h"
#include "ui/EditStatusLine.h"
#include "ui/EntrySuggestions.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

namespace zelvarion {
using namespace controls;
using namespace editlayout;

EditListPanel::EditListPanel(Kind kind, QWidget *frame, EditFieldRows &rows, EditStatusLine &status,
                             const LanguagePack &pack)
    : QObject(frame), m_rows(rows), m_status(status), m_pack(pack),
      m_field(kind == Kind::Keywords ? kKeywordsIndex : kSupplementalCategoryIndex)
{
    create(frame, kind == Kind::Keywords ? QStringLiteral("Keyword") : QStringLiteral("SupplementalCategory"));
    connectControls();
}

// The keywords have an entry label under the field's; the categories' entry stands beside the
// field's label. The list under the entry takes the frame's growth.
void EditListPanel::create(QWidget *frame, const QString &suffix)
{
    const bool keywords = m_field == kKeywordsIndex;
    m_rows.createRow(frame, m_field, kRowHeight);
    if (keywords)
        m_keywordLabel = named(new QLabel(frame), QStringLiteral("lblKeyword"));
    QHBoxLayout *entryLine = keywords ? FrameRows::of(frame).addRow(m_keywordLabel) : m_rows.line(m_field);
    m_entry = named(new QLineEdit(frame), QStringLiteral("rtf") + suffix);
    m_entry->setMinimumWidth(kListWidth);
    entryLine->addWidget(m_entry, 1);
    m_suggestions = new EntrySuggestions(m_entry, suffix);
    QPushButton **buttons[] = {&m_add, &m_replace, &m_remove};
    const char *verbs[] = {"cmdAdd", "cmdReplace", "cmdRemove"};
    for (int i = 0; i < 3; ++i) {
        *buttons[i] = named(new QPushButton(frame), QLatin1String(verbs[i]) + suffix);
        (*buttons[i])->setMinimumWidth(86);
        (*buttons[i])->setAutoDefault(false);
        entryLine->addWidget(*buttons[i]);
    }
    m_list = named(new QListWidget(frame),
                   keywords ? QStringLiteral("lstKeywords") : QStringLiteral("lstSupplementalCategories"));
    m_list->setMinimumSize(kListWidth, 120);
    QHBoxLayout *listLine = FrameRows::of(frame).addRow(nullptr, 1);
    listLine->addWidget(m_list, 1);
    // The button of the list field sits beside the list.
    m_rows.placeSpellButton(m_field, *listLine, Qt::AlignTop);
}

void EditListPanel::connectControls()
{
    connect(m_entry, &QLineEdit::textChanged, this, &EditListPanel::entryChanged);
    connect(m_entry, &QLineEdit::returnPressed, this, &EditListPanel::add);
    connect(m_add, &QPushButton::clicked, this, &EditListPanel::add);
    connect(m_replace, &QPushButton::clicked, this, &EditListPanel::replace);
    connect(m_remove, &QPushButton::clicked, this, &EditListPanel::remove);
    connect(m_list, &QListWidget::itemClicked, this, &EditListPanel::entryClicked);
    m_list->installEventFilter(this); // Delete removes the selected entry
}

QString EditListPanel::entryText() const { return m_entry->text(); }

QString EditListPanel::entryLabelText() const
{
    return m_keywordLabel ? m_keywordLabel->text() : m_rows.labelText(m_field);
}

void EditListPanel::setEntryLabelColour(const QColor &colour)
{
    if (m_keywordLabel)
        setTextColour(m_keywordLabel, colour);
    else
        m_rows.setLabelColour(m_field, colour);
}

void EditListPanel::watchCodes(EditCodeTyping &codes) { codes.watch(m_entry); }

void EditListPanel::markChecking(bool on)
{
    showBoxBeingChecked(m_entry, on);
    if (m_keywordLabel)
        showLabelBeingChecked(m_keywordLabel, on);
    else
        m_rows.markLabelChecking(m_field, on);
}

QStringList EditListPanel::entries() const
{
    QStringList entries;
    for (int row = 0; row < m_list->count(); ++row)
        entries << m_list->item(row)->text();
    return entries;
}

void EditListPanel::setEntry(int row, const QString &text)
{
    if (row >= 0 && row < m_list->count())
        m_list->item(row)->setText(text);
}

void EditListPanel::rebuild(const QString &joined)
{
    m_list->clear();
    m_list->addItems(splitList(joined));
    updateSpellButton();
}

void EditListPanel::offerEntries(EntrySuggestions::Source words) { m_suggestions->setSource(std::move(words)); }

void EditListPanel::applyTexts()
{
    m_suggestions->applyTexts(m_pack);
    if (m_keywordLabel) {
        m_keywordLabel->setText(m_pack.text(InterfaceText::KeywordLabel));
        m_keywordLabel->setToolTip(QStringLiteral("#IPTC %1").arg(iptcField(m_field).dataset));
    }
    m_add->setText(m_pack.text(InterfaceText::AddButton));
    m_replace->setText(m_pack.text(InterfaceText::ReplaceButton));
    m_remove->setText(m_pack.text(InterfaceText::RemoveButton));
}

void EditListPanel::setLocked(bool locked)
{
    m_entry->setEnabled(!locked);
    m_list->setEnabled(!locked);
}

void EditListPanel::refuseLongEntry() { m_add->setEnabled(false); }

void EditListPanel::setSpellingAvailable(bool available)
{
    m_spellingAvailable = available;
    updateSpellButton();
}

bool EditListPanel::ownsLabel(const QObject *control) const
{
    return (m_keywordLabel && control == m_keywordLabel) || m_rows.fieldOfLabel(control) == m_field;
}

// The joined value the dialog loaded changes places with the kept one; list edits made since
// loading are lost.
void EditListPanel::labelClicked()
{
    setEntryLabelColour(m_rows.swapKept(m_field) ? kLabelBlue : kLabelGrey);
    rebuild(m_rows.text(m_field));
}

bool EditListPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete)
        remove();
    return false;
}

void EditListPanel::entryChanged()
{
    m_status.clearWhenShown();
    m_add->setEnabled(true);
    Q_EMIT entryEdited();
}

void EditListPanel::refuse(Message message) { m_status.refuse(m_pack.message(message)); }

// The selected entry, or nothing (message 14).
QListWidgetItem *EditListPanel::selectedEntry()
{
    QListWidgetItem *selected = m_list->currentItem();
    if (selected && selected->isSelected())
        return selected;
    refuse(Message::NoEntrySelected);
    return nullptr;
}

void EditListPanel::add()
{
    m_status.clear();
    if (!m_add->isEnabled())
        return; // Enter while the entry is too long
    const QString text = trimBlanks(m_entry->text());
    m_entry->setText(text);
    if (text.isEmpty())
        return;
    if (editing::hasEntryIgnoringCase(entries(), text)) {
        refuse(Message::AlreadyInList);
        return;
    }
    m_list->addItem(text);
    m_entry->clear();
    updateSpellButton();
}

void EditListPanel::replace()
{
    m_status.clear();
    QListWidgetItem *selected = selectedEntry();
    if (!selected)
        return;
    const QString text = m_entry->text();
    if (editing::hasEntryIgnoringCase(entries(), text)) {
        refuse(Message::AlreadyInList);
        return;
    }
    const QString replaced = selected->text();
    selected->setText(text);
    m_entry->setText(replaced);
    updateSpellButton();
}

void EditListPanel::remove()
{
    m_status.clear();
    QListWidgetItem *selected = selectedEntry();
    if (!selected)
        return;
    const int row = m_list->row(selected);
    delete m_list->takeItem(row);
    if (m_list->count() > 0)
        m_list->setCurrentRow(std::min(row, m_list->count() - 1));
    updateSpellButton();
}

void EditListPanel::entryClicked()
{
    if (QListWidgetItem *item = m_list->currentItem())
        m_entry->setText(item->text());
    m_replace->setEnabled(true);
    m_remove->setEnabled(true);
    if (m_field == kSupplementalCategoryIndex)
        m_status.clear();
}

void EditListPanel::updateSpellButton()
{
    m_rows.setSpellButtonEnabled(m_field, m_spellingAvailable && m_list->count() > 0);
}

} // namespace zelvarion
