#include "ui/frmTemplates.h"

#include "core/editing/EditDates.h"
#include "core/session/Feedback.h"
#include "core/captioning/TemplateStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "core/session/Twips.h"
#include "ui/frmEditIPTC.h"

#include <QApplication>
#include <algorithm>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kCountColumnTwips = 1500;
constexpr int kSavedColumnTwips = 1800;
constexpr int kNameColumnMinimumTwips = 2400;

} // namespace

frmTemplates::frmTemplates(AppContext &context, Feedback &feedback, QWidget *parent)
    : QDialog(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmTemplates"));
    setModal(true);
    m_openEditor = [this](const QString &name) {
        frmEditIPTC editor(m_context, m_feedback, name, this);
        editor.exec();
    };
    createControls();
    applyTexts();
    updateListTemplates();
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

// The list takes what the window gains; the name row and the bottom line keep their height.
void frmTemplates::createControls()
{
    m_nameLabel = named(new QLabel(this), QStringLiteral("lblTemplate"));
    m_name = named(new QLineEdit(this), QStringLiteral("rtfTemplate"));
    const char *names[] = {"cmdAddTemplate", "cmdReplaceTemplate", "cmdRemoveTemplate"};
    QPushButton **buttons[] = {&m_add, &m_replace, &m_remove};
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    for (int i = 0; i < 3; ++i) {
        *buttons[i] = named(new QPushButton(this), QLatin1String(names[i]));
        (*buttons[i])->setMinimumSize(84, 30);
        nameRow->addWidget(*buttons[i]);
    }
    m_list = named(new QTreeWidget(this), QStringLiteral("lvTemplates"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(4);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_status = named(new QLabel(this), QStringLiteral("lblStatus"));
    m_status->setMinimumHeight(22);
    setTextColour(m_status, kStatusRed);
    m_edit = named(new QPushButton(this), QStringLiteral("cmdEditTemplate"));
    m_edit->setMinimumSize(160, 30);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setMinimumSize(92, 30);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_edit);
    bottom->addStretch(1);
    bottom->addWidget(m_ok);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 10);
    layout->setSpacing(6);
    layout->addWidget(m_nameLabel);
    layout->addLayout(nameRow);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_status);
    layout->addLayout(bottom);
    resize(640, 420);

    connect(m_name, &QLineEdit::returnPressed, this, &frmTemplates::addTemplate);
    connect(m_add, &QPushButton::clicked, this, &frmTemplates::addTemplate);
    connect(m_replace, &QPushButton::clicked, this, &frmTemplates::replaceTemplate);
    connect(m_remove, &QPushButton::clicked, this, &frmTemplates::removeTemplate);
    connect(m_edit, &QPushButton::clicked, this, &frmTemplates::editTemplate);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        m_list->setCurrentItem(item);
        editTemplate();
    });
    connect(m_list, &QTreeWidget::itemChanged, this, &frmTemplates::rowTicked);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    // Enter in the name box adds; it must not also close the dialog.
    for (QPushButton *button : {m_add, m_replace, m_remove, m_edit, m_ok})
        button->setAutoDefault(false);
}

void frmTemplates::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::DefineTemplatesMenuItem)));
    m_nameLabel->setText(pack.text(InterfaceText::TemplateNameLabel));
    m_add->setText(pack.text(InterfaceText::AddButton));
    m_replace->setText(pack.text(InterfaceText::ReplaceButton));
    m_remove->setText(pack.text(InterfaceText::RemoveButton));
    m_edit->setText(pack.text(InterfaceText::EditTemplateButton));
    m_list->setHeaderLabels({pack.text(InterfaceText::TemplateNameLabel), pack.text(InterfaceText::TemplateIptcCountHeader),
                             pack.text(InterfaceText::TemplateCustomizedCountHeader),
                             pack.text(InterfaceText::TemplateSavedHeader)});
    for (int column : {1, 2})
        m_list->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    fitColumns();
}

// The count and date columns keep their usual widths unless their headers or the dates they show
// ask for more; the name column takes what is left.
void frmTemplates::fitColumns()
{
    const int countWidth = pixels(kCountColumnTwips), savedWidth = pixels(kSavedColumnTwips);
    for (const auto &[column, width] : {std::pair{1, countWidth}, {2, countWidth}, {3, savedWidth}}) {
        const int content = column == 3 ? widestDate() : 0; // as wide as the locale writes them
        m_list->setColumnWidth(column, std::max({width, m_list->header()->sectionSizeHint(column), content}));
    }
    // The window cannot be made so narrow that the name column would push the others out of sight.
    const int others = m_list->columnWidth(1) + m_list->columnWidth(2) + m_list->columnWidth(3);
    m_list->setMinimumWidth(others + pixels(kNameColumnMinimumTwips) + 2 * m_list->frameWidth()
                            + m_list->verticalScrollBar()->sizeHint().width());
}

int frmTemplates::widestDate() const
{
    // The item's text margin on either side, as the view draws it.
    const int margins = 2 * (m_list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_list) + 1);
    int widest = 0;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        widest = std::max(widest, m_list->fontMetrics().horizontalAdvance(m_list->topLevelItem(i)->text(3)) + margins);
    return widest;
}

void frmTemplates::updateListTemplates()
{
    m_filling = true;
    m_list->clear();
    TemplateStore store(m_context.catalogue, m_feedback);
    for (const TemplateRecord &record : store.list().value_or(std::vector<TemplateRecord>{})) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setText(0, record.name);
        item->setCheckState(0, record.ticked() ? Qt::Checked : Qt::Unchecked);
        item->setText(1, QString::number(record.fieldCount()));
        item->setText(2, QString::number(record.customizedCount()));
        item->setText(3, record.lastRevisionDate);
        for (int column : {1, 2})
            item->setTextAlignment(column, Qt::AlignCenter);
    }
    m_filling = false;
    fitColumns();
}

QString frmTemplates::selectedName() const
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text(0);
}

void frmTemplates::showTaken()
{
    QApplication::beep();
    m_status->setText(m_context.language.message(Message::AlreadyInList));
}

void frmTemplates::addTemplate()
{
    m_status->clear();
    TemplateStore store(m_context.catalogue, m_feedback);
    const QString now = editing::revisionStamp(QDateTime::currentDateTime(), QLocale());
    const TemplateStore::NameOutcome outcome = store.add(m_name->text(), now);
    if (outcome == TemplateStore::NameOutcome::Taken)
        showTaken();
    if (outcome != TemplateStore::NameOutcome::Empty && !store.openFailed())
        updateListTemplates();
}

void frmTemplates::replaceTemplate()
{
    m_status->clear();
    TemplateStore store(m_context.catalogue, m_feedback);
    const TemplateStore::NameOutcome outcome = store.rename(selectedName(), m_name->text());
    if (outcome == TemplateStore::NameOutcome::Taken)
        showTaken();
    if (outcome != TemplateStore::NameOutcome::Empty && !store.openFailed())
        updateListTemplates();
}

void frmTemplates::removeTemplate()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    const QString question = m_context.language.text(InterfaceText::RemoveTemplateQuestion) + u'\n' + name;
    if (!m_feedback.askYesNo(question, MessageIcon::Question))
        return;
    TemplateStore store(m_context.catalogue, m_feedback);
    store.remove(name);
    if (!store.openFailed())
        updateListTemplates();
}

void frmTemplates::editTemplate()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    m_openEditor(name);
    updateListTemplates();
}

void frmTemplates::rowTicked(QTreeWidgetItem *item, int column)
{
    if (m_filling || column != 0)
        return;
    TemplateStore store(m_context.catalogue, m_feedback);
    store.markInUse(item->text(0), item->checkState(0) == Qt::Checked);
    // Refilled later: the list may not be cleared inside its own change signal. A catalogue that
    // could not be opened leaves the tick as the user set it, as the list was not read again.
    if (!store.openFailed())
        QMetaObject::invokeMethod(this, &frmTemplates::updateListTemplates, Qt::QueuedConnection);
}

} // namespace zelvarion
