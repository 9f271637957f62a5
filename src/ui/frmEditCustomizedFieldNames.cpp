#include "ui/frmEditCustomizedFieldNames.h"

#include "core/editing/FieldRules.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QBoxLayout>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

frmEditCustomizedFieldNames::frmEditCustomizedFieldNames(AppContext &context, QWidget *parent)
    : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmEditCustomizedFieldNames"));
    setModal(true);
    createControls();
    const LanguagePack &pack = context.language;
    setWindowTitle(pack.text(InterfaceText::EditCustomizedNamesButton));
    m_cancel->setText(pack.text(InterfaceText::CancelButton));
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        Row &row = m_rows[std::size_t(i)];
        row.numberLabel->setText(pack.text(InterfaceText::CustomizedFieldLabel));
        row.nameLabel->setText(pack.text(InterfaceText::CustomizedNameLabel));
        const CustomizedFieldName &configured = context.settings.customizedFieldNames[std::size_t(i)];
        if (!configured.index.isEmpty() && !configured.name.isEmpty()) {
            row.number->setText(configured.index);
            row.name->setText(configured.name);
        }
        numberChanged(i);
    }
    showHint();
    setFixedSize(QSize(700, 500).expandedTo(sizeHint()));
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

// Two columns of eight rows (label, number, label, name), the hint under them and the buttons at the
// bottom right; fixed by design, as large as the pack's captions ask.
void frmEditCustomizedFieldNames::createControls()
{
    auto *rows = new QGridLayout;
    rows->setHorizontalSpacing(4);
    rows->setVerticalSpacing(12);
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        Row &row = m_rows[std::size_t(i)];
        const int column = i < 8 ? 0 : 5;
        const int line = i % 8;
        row.numberLabel = named(new QLabel(this), indexed("lblCustomized", i));
        row.numberLabel->setMinimumWidth(60);
        row.number = named(new QLineEdit(this), indexed("txtIndexCustomized", i));
        row.number->setFixedWidth(50);
        row.number->installEventFilter(this);
        row.nameLabel = named(new QLabel(this), indexed("lblNameCustomized", i));
        row.nameLabel->setMinimumWidth(100);
        row.name = named(new QLineEdit(this), indexed("txtNameCustomized", i));
        row.name->setMinimumWidth(110);
        QWidget *const cells[] = {row.numberLabel, row.number, row.nameLabel, row.name};
        for (int cell = 0; cell < 4; ++cell)
            rows->addWidget(cells[cell], line, column + cell);
        connect(row.number, &QLineEdit::textChanged, this, [this, i] { numberChanged(i); });
    }
    rows->setColumnMinimumWidth(4, 22); // between the two columns of rows
    rows->setColumnStretch(3, 1);
    rows->setColumnStretch(8, 1);
    m_status = named(new QLabel(this), QStringLiteral("lblStatus"));
    m_status->setMinimumHeight(130);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 14);
    layout->addLayout(rows);
    layout->addSpacing(8);
    layout->addWidget(m_status, 1);
    layout->addLayout(buttonsAtRight({m_ok, m_cancel}, 90, 30));
    connect(m_ok, &QPushButton::clicked, this, &frmEditCustomizedFieldNames::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmEditCustomizedFieldNames::showHint()
{
    m_status->setText(withLineBreaks(m_context.language.text(InterfaceText::CustomizedNamesHint)));
}

void frmEditCustomizedFieldNames::numberChanged(int row)
{
    const bool filled = !m_rows[std::size_t(row)].number->text().isEmpty();
    m_rows[std::size_t(row)].numberLabel->setEnabled(filled);
    m_rows[std::size_t(row)].nameLabel->setEnabled(filled);
}

void frmEditCustomizedFieldNames::leaveNumber(int row)
{
    const QString number = m_rows[std::size_t(row)].number->text();
    if (number.isEmpty())
        return;
    QStringList others;
    for (int other = 0; other < kCustomizedSlotCount; ++other)
        if (other != row)
            others << m_rows[std::size_t(other)].number->text();
    const editing::NumberVerdict verdict = editing::checkNamedNumber(number, others);
    if (verdict == editing::NumberVerdict::Valid) {
        m_status->clear();
        m_ok->setEnabled(true);
        return;
    }
    const Message message = verdict == editing::NumberVerdict::Invalid ? Message::InvalidDatasetNumber
                                                                        : Message::DatasetNumberUsed;
    m_status->setText(number + u' ' + m_context.language.message(message));
    setTextColour(m_status, kStatusRed);
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    m_ok->setEnabled(false);
    QApplication::beep();
}

bool frmEditCustomizedFieldNames::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut)
        for (int row = 0; row < kCustomizedSlotCount; ++row)
            if (watched == m_rows[std::size_t(row)].number)
                leaveNumber(row);
    return QDialog::eventFilter(watched, event);
}

void frmEditCustomizedFieldNames::confirm()
{
    std::array<CustomizedFieldName, 16> names;
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        const Row &row = m_rows[std::size_t(i)];
        const bool kept = !row.name->text().isEmpty()
                          && editing::checkNamedNumber(row.number->text(), {}) == editing::NumberVerdict::Valid;
        names[std::size_t(i)] = kept ? CustomizedFieldName{row.number->text(), row.name->text()} : CustomizedFieldName{};
    }
    m_context.setCustomizedFieldNames(names);
    accept();
}

} // namespace zelvarion
