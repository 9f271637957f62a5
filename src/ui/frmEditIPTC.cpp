// The edit dialog's panels in the order they are made (the order Tab follows), the header and
// the bottom line, and the connections of the rules that span the panels.
#include "ui/frmEditIPTC.h"

#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditListPanel.h"
#include "ui/EditSpellCheck.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

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
    : QDialog(parent), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmEditIPTC"));
    setModal(true);
    createControls();
    m_image = new EditImageSteps(this, m_templateLabel, std::move(result), rank);
    m_image->placeButtons(*m_bottomRow, m_bottomRow->indexOf(m_ok));
    connect(m_image, &EditImageSteps::stepRequested, this, &frmEditIPTC::moveToImage);
    connectRules();
    qApp->installEventFilter(this);
    load();
}

frmEditIPTC::~frmEditIPTC()
{
    qApp->removeEventFilter(this);
    // The field rows and the status line are members, gone before QWidget deletes the controls;
    // a control that signals while it goes must still find them, so the controls go first.
    qDeleteAll(findChildren<QObject *>(Qt::FindDirectChildrenOnly));
}

// In the order Tab follows: the header, the tabs and their panels, the bottom line.
void frmEditIPTC::createControls()
{
    setFixedSize(820, 640);
    // The header: the title takes the width the read-only note and the logo leave it.
    auto *header = named(new QWidget(this), QStringLiteral("fraHeader"));
    header->setFixedHeight(48);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerRow->setSpacing(6);
    m_templateLabel = named(new QLabel(header), QStringLiteral("lblTemplate"));
    m_templateLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont bold = m_templateLabel->font();
    bold.setBold(true);
    m_templateLabel->setFont(bold);
    headerRow->addWidget(m_templateLabel, 1);
    m_logo = named(new QLabel(header), QStringLiteral("ImageIPTC"));
    m_logo->setFixedSize(72, 32);
    m_logo->setPixmap(pictures::iptcLogo());
    headerRow->addWidget(m_logo, 0, Qt::AlignTop);
    m_tabs = new EditTabs(this);
    m_status = std::make_unique<EditStatusLine>(this);
    m_fields = std::make_unique<EditFieldRows>(m_tabs->frames());
    const LanguagePack &pack = m_context.language;
    m_keywords = new EditListPanel(EditListPanel::Kind::Keywords, m_tabs->frame(1), 8, *m_fields, *m_status, pack);
    m_categories = new EditListPanel(EditListPanel::Kind::SupplementalCategories, m_tabs->frame(2), 44, *m_fields,
                                     *m_status, pack);
    m_dates = new EditDatesAndTimes(m_tabs->frame(3), this, *m_fields, *m_tabs, *m_status, pack);
    m_customized = new EditCustomizedRows(m_tabs->frame(5), m_context, *m_status);
    m_spelling = new EditSpellCheck(this, m_context,
                                    {*m_fields, {m_keywords, m_categories}, *m_customized, *m_tabs, *m_status});
    m_codes = new EditCodeTyping(this, *m_status, pack);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setAutoDefault(false);
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    placeControls(header);
}

// Fixed by design: the header, the tab strip over the frame on show, the status line, and the
// bottom line with the spell check of every field at the left and the buttons at the right.
void frmEditIPTC::placeControls(QWidget *header)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 8);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addSpacing(4);
    layout->addWidget(findChild<QTabBar *>(QStringLiteral("TabStripIPTC")));
    auto *frames = new QGridLayout; // one cell: the frame on show is the only one visible
    for (QWidget *frame : m_tabs->frames())
        frames->addWidget(frame, 0, 0);
    layout->addLayout(frames);
    layout->addSpacing(6);
    layout->addWidget(findChild<QLabel *>(QStringLiteral("lblStatus")));
    layout->addStretch(1);
    m_bottomRow = new QHBoxLayout;
    m_bottomRow->setSpacing(6);
    m_bottomRow->addWidget(findChild<QToolButton *>(QStringLiteral("cmdSpellCheckerAll")));
    m_bottomRow->addWidget(findChild<QLabel *>(QStringLiteral("lblSpellCheckerAll")));
    m_bottomRow->addStretch(1);
    for (QPushButton *button : {m_ok, m_cancel}) {
        button->setMinimumSize(90, 30);
        m_bottomRow->addWidget(button);
    }
    layout->addLayout(m_bottomRow);
}

// Every box's change runs length control; a date or time still refused elsewhere says so again.
void frmEditIPTC::connectRules()
{
    for (int i = 0; i < kIptcFieldCount; ++i) {
        const auto changed = [this, i] {
            fieldChanged(i);
            if (!m_loading)
                m_dates->showPendingProblem(i);
        };
        if (auto *line = qobject_cast<QLineEdit *>(m_fields->box(i)))
            connect(line, &QLineEdit::textChanged, this, changed);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(m_fields->box(i)))
            connect(text, &QPlainTextEdit::textChanged, this, changed);
        connect(m_fields->spellButton(i), &QToolButton::clicked, this, [this, i] { m_spelling->checkField(i); });
    }
    for (EditListPanel *list : {m_keywords, m_categories})
        connect(list, &EditListPanel::entryEdited, this, [this, list] { entryChanged(*list); });
    connect(m_customized, &EditCustomizedRows::spellRequested, m_spelling, &EditSpellCheck::checkCustomizedRow);
    connect(m_customized, &EditCustomizedRows::numberAccepted, this, &frmEditIPTC::unlockAll);
    connect(m_customized, &EditCustomizedRows::numberRefused, this, [this](int row) { lockAllBut(-1, row); });
    connect(m_dates, &EditDatesAndTimes::validityChecked, this, &frmEditIPTC::updateCommandButtons);
    connect(m_ok, &QPushButton::clicked, this, &frmEditIPTC::save);
    connect(m_cancel, &QPushButton::clicked, this, &frmEditIPTC::reject);
    watchCodeTyping();
}

// After the rules: a code the status line names stays named once the rules have looked at the box.
void frmEditIPTC::watchCodeTyping()
{
    for (int i = 0; i < kIptcFieldCount; ++i) {
        if (isDateOrTimeField(i) || isChoiceField(i) || isListField(i))
            continue;
        if (auto *line = qobject_cast<QLineEdit *>(m_fields->box(i)))
            m_codes->watch(line);
        else if (auto *text = qobject_cast<QPlainTextEdit *>(m_fields->box(i)))
            m_codes->watch(text);
    }
    for (EditListPanel *list : {m_keywords, m_categories})
        m_codes->watch(list->entryBox());
    for (int row = 0; row < kTemplateCustomizedCount; ++row)
        m_codes->watch(m_customized->textBox(row));
}

} // namespace zelvarion
