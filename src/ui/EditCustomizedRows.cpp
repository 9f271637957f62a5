// The customized rows of the edit dialog: numbers, configured names and kept values.
#include "ui/EditCustomizedRows.h"

#include "core/editing/FieldRules.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditFieldRows.h"
#include "ui/EditStatusLine.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kRowsPerHalf = 8;
constexpr int kColumns = 4; // label, number, text, spell button
// A number with a configured name cannot be mistaken for a free one.
void markConfigured(QLineEdit *number, bool configured)
{
    const QColor &c = kConfiguredNumberGrey;
    number->setStyleSheet(configured ? QStringLiteral("background-color: rgb(%1, %2, %3);").arg(c.red()).arg(c.green()).arg(c.blue())
                                     : QString());
}

} // namespace

EditCustomizedRows::EditCustomizedRows(QWidget *frame, const AppContext &context, EditStatusLine &status)
    : QObject(frame), m_context(context), m_status(status)
{
    create(frame);
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        connectRow(row);
}

// Two columns of eight rows; the text boxes share the width the frame grows, and the rows stay
// together at the top.
void EditCustomizedRows::create(QWidget *frame)
{
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(20);
    grid->setColumnMinimumWidth(kColumns, 12); // between the two halves
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        Row &r = m_rows[std::size_t(row)];
        const int column = row < kRowsPerHalf ? 0 : kColumns + 1;
        const int line = row % kRowsPerHalf;
        r.label = named(new QLabel(frame), indexed("lblCustomized", row));
        r.label->setMinimumWidth(96);
        grid->addWidget(r.label, line, column);
        r.number = named(new QLineEdit(frame), indexed("txtIndexCustomized", row));
        r.number->setFixedWidth(48);
        grid->addWidget(r.number, line, column + 1);
        r.text = named(new QLineEdit(frame), indexed("txtCustomized", row));
        r.text->setMinimumWidth(160);
        grid->addWidget(r.text, line, column + 2);
        r.spell = newSpellButton(frame, indexed("cmdSpellCheckerCustomized", row));
        grid->addWidget(r.spell, line, column + 3);
    }
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(kColumns + 3, 1);
    grid->setRowStretch(kRowsPerHalf, 1);
}

void EditCustomizedRows::connectRow(int row)
{
    const Row &r = m_rows[std::size_t(row)];
    connect(r.number, &QLineEdit::textChanged, this, [this, row] { numberChanged(row); });
    connect(r.text, &QLineEdit::textChanged, this, [this, row] { updateSpellButton(row); });
    connect(r.spell, &QToolButton::clicked, this, [this, row] { Q_EMIT spellRequested(row); });
}

void EditCustomizedRows::fill(const TemplateRecord &record)
{
    const QString field = m_context.language.text(InterfaceText::CustomizedFieldLabel);
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        Row &r = m_rows[std::size_t(row)];
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
            markConfigured(r.number, true);
        }
    }
}

void EditCustomizedRows::showLabelsGrey()
{
    for (Row &r : m_rows)
        setTextColour(r.label, kLabelGrey);
}

void EditCustomizedRows::clear()
{
    for (Row &r : m_rows) {
        r.number->clear();
        r.text->clear();
        r.number->setReadOnly(false);
        markConfigured(r.number, false);
    }
}

void EditCustomizedRows::forgetKept()
{
    for (Row &r : m_rows) {
        r.keptNumber.clear();
        r.keptText.clear();
        r.blue = false;
    }
}

void EditCustomizedRows::watchCodes(EditCodeTyping &codes)
{
    for (const Row &r : m_rows)
        codes.watch(r.text);
}

void EditCustomizedRows::markChecking(int row, bool on)
{
    showBoxBeingChecked(m_rows[std::size_t(row)].text, on);
    showLabelBeingChecked(m_rows[std::size_t(row)].label, on);
}

QString EditCustomizedRows::text(int row) const { return m_rows[std::size_t(row)].text->text(); }

void EditCustomizedRows::setText(int row, const QString &text) { m_rows[std::size_t(row)].text->setText(text); }

std::array<CustomizedCell, kTemplateCustomizedCount> EditCustomizedRows::cells() const
{
    std::array<CustomizedCell, kTemplateCustomizedCount> cells;
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        cells[std::size_t(row)] = {m_rows[std::size_t(row)].number->text(), text(row)};
    return cells;
}

int EditCustomizedRows::rowOfLabel(const QObject *control) const
{
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        if (control == m_rows[std::size_t(row)].label)
            return row;
    return -1;
}

int EditCustomizedRows::rowOfNumber(const QObject *control) const
{
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        if (control == m_rows[std::size_t(row)].number)
            return row;
    return -1;
}

void EditCustomizedRows::labelClicked(int row)
{
    Row &r = m_rows[std::size_t(row)];
    const QString number = r.number->text(), text = r.text->text();
    r.number->setText(r.keptNumber);
    r.text->setText(r.keptText);
    r.keptNumber = number;
    r.keptText = text;
    r.blue = !r.blue;
    setTextColour(r.label, r.blue ? kLabelBlue : kLabelGrey);
}

void EditCustomizedRows::leaveNumber(int row)
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
        Q_EMIT numberAccepted();
        return;
    }
    const Message message = verdict == editing::NumberVerdict::Invalid ? Message::InvalidDatasetNumber
                                                                        : Message::DatasetNumberUsed;
    m_status.show(m_context.language.message(message) + u' ' + number);
    Q_EMIT numberRefused(row);
    QApplication::beep();
}

void EditCustomizedRows::setLocked(bool locked, int exceptRow)
{
    for (int row = 0; row < kTemplateCustomizedCount; ++row) {
        const bool enabled = !locked || row == exceptRow;
        m_rows[std::size_t(row)].number->setEnabled(enabled);
        m_rows[std::size_t(row)].text->setEnabled(enabled);
    }
}

void EditCustomizedRows::setSpellingAvailable(bool available)
{
    m_spellingAvailable = available;
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        updateSpellButton(row);
}

void EditCustomizedRows::numberChanged(int row)
{
    Row &r = m_rows[std::size_t(row)];
    if (m_loading)
        return;
    r.label->setText(m_context.language.text(InterfaceText::CustomizedFieldLabel));
    markConfigured(r.number, false);
    if (r.number->text().isEmpty()) {
        m_status.show(m_context.language.message(Message::DatasetNumberMissing));
        return;
    }
    m_status.clearWhenShown();
    if (const QString name = configuredName(r.number->text()); !name.isEmpty()) {
        r.label->setText(name);
        markConfigured(r.number, true);
    }
}

void EditCustomizedRows::updateSpellButton(int row)
{
    m_rows[std::size_t(row)].spell->setEnabled(m_spellingAvailable && !text(row).isEmpty());
}

QString EditCustomizedRows::configuredName(const QString &number) const
{
    if (number.trimmed().isEmpty())
        return {};
    for (const CustomizedFieldName &configured : m_context.settings.customizedFieldNames)
        if (!configured.index.isEmpty() && configured.index.trimmed() == number.trimmed())
            return configured.name;
    return {};
}

} // namespace zelvarion
