#include "ui/frmEditCustomizedFieldNames.h"

#include "core/editing/FieldRules.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QApplication>
#include <QEvent>
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
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmEditCustomizedFieldNames::createControls()
{
    setFixedSize(700, 500);
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        Row &row = m_rows[std::size_t(i)];
        const int left = i < 8 ? 12 : 356;
        const int top = 12 + 36 * (i % 8);
        row.numberLabel = named(new QLabel(this), indexed("lblCustomized", i));
        row.numberLabel->setGeometry(left, top, 60, 24);
        row.number = named(new QLineEdit(this), indexed("txtIndexCustomized", i));
        row.number->setGeometry(left + 62, top, 50, 24);
        row.number->installEventFilter(this);
        row.nameLabel = named(new QLabel(this), indexed("lblNameCustomized", i));
        row.nameLabel->setGeometry(left + 118, top, 100, 24);
        row.name = named(new QLineEdit(this), indexed("txtNameCustomized", i));
        row.name->setGeometry(left + 220, top, 110, 24);
        connect(row.number, &QLineEdit::textChanged, this, [this, i] { numberChanged(i); });
    }
    m_status = named(new QLabel(this), QStringLiteral("lblStatus"));
    m_status->setGeometry(12, 310, 676, 130);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setGeometry(500, 456, 90, 30);
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_cancel->setGeometry(598, 456, 90, 30);
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
