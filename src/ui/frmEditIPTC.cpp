// The edit dialog's panels in the order they are made (the order Tab follows), the header and
// the bottom line, and the connections of the rules that span the panels.
#include "ui/frmEditIPTC.h"

#include "core/captioning/TemplateEdits.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"
#include "ui/EditCodeTyping.h"
#include "ui/EditCustomizedRows.h"
#include "ui/EditDatesAndTimes.h"
#include "ui/EditFieldRows.h"
#include "ui/EditLengthControl.h"
#include "ui/EditListPanel.h"
#include "ui/EditSpellCheck.h"
#include "ui/EditStatusLine.h"
#include "ui/EditTabs.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>

namespace zelvarion {
using namespace controls;

namespace {

constexpr QSize kDesignSize(820, 640);

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
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
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
    std::array<QWidget *, EditTabs::kCount> frames{};
    for (int k = 0; k < EditTabs::kCount; ++k)
        frames[std::size_t(k)] = named(new QWidget(this), indexed("FrameIPTC", k));
    m_tabs = new EditTabs(this, frames);
    m_status = std::make_unique<EditStatusLine>(this);
    m_fields = std::make_unique<EditFieldRows>(frames);
    const LanguagePack &pack = m_context.language;
    m_keywords = new EditListPanel(EditListPanel::Kind::Keywords, frames[1], *m_fields, *m_status, pack);
    m_categories = new EditListPanel(EditListPanel::Kind::SupplementalCategories, frames[2], *m_fields, *m_status, pack);
    m_dates = new EditDatesAndTimes(frames[3], this, *m_fields, *m_tabs, *m_status, pack);
    m_customized = new EditCustomizedRows(frames[5], m_context, *m_status);
    m_spelling = new EditSpellCheck(this, m_context,
                                    {*m_fields, {m_keywords, m_categories}, *m_customized, *m_tabs, *m_status});
    m_codes = new EditCodeTyping(this, *m_status, pack);
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_ok->setAutoDefault(false);
    m_cancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    placeControls(header);
}

// The header, the tab strip over the frame on show, which takes what the dialog grows, the status
// line, and the bottom line with the spell check of every field at the left and the buttons at the
// right. The dialog opens at its design size, or larger when its texts need more.
void frmEditIPTC::placeControls(QWidget *header)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 12, 8);
    layout->setSpacing(0);
    layout->addWidget(header);
    layout->addSpacing(4);
    layout->addWidget(findChild<QTabBar *>(QStringLiteral("TabStripIPTC")));
    layout->addLayout(m_tabs->frameStack(), 1);
    layout->addSpacing(6);
    layout->addWidget(findChild<QLabel *>(QStringLiteral("lblStatus")));
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
    resize(kDesignSize.expandedTo(minimumSizeHint()));
}

// Every box's change runs length control; a date or time still refused elsewhere says so again.
void frmEditIPTC::connectRules()
{
    m_length = new EditLengthControl(this, m_context, {*m_fields, *m_keywords, *m_categories, *m_customized, *m_status},
                                     [this] { return templateWriteCharset(valuesToSave()); }, !editsImage());
    connect(m_length, &EditLengthControl::lockChanged, this, &frmEditIPTC::updateCommandButtons);
    connect(m_fields.get(), &EditFieldRows::textChanged, this, [this](int index) {
        fieldChanged(index);
        if (!m_loading)
            m_dates->showPendingProblem(index);
    });
    connect(m_fields.get(), &EditFieldRows::spellRequested, m_spelling, &EditSpellCheck::checkField);
    for (EditListPanel *list : {m_keywords, m_categories})
        connect(list, &EditListPanel::entryEdited, m_length, [this, list] { m_length->checkEntry(*list); });
    connect(m_customized, &EditCustomizedRows::spellRequested, m_spelling, &EditSpellCheck::checkCustomizedRow);
    connect(m_customized, &EditCustomizedRows::numberAccepted, m_length, &EditLengthControl::unlockAll);
    connect(m_customized, &EditCustomizedRows::numberRefused, m_length, [this](int row) { m_length->lockAllBut(-1, row); });
    connect(m_dates, &EditDatesAndTimes::validityChecked, this, &frmEditIPTC::updateCommandButtons);
    connect(m_ok, &QPushButton::clicked, this, &frmEditIPTC::save);
    connect(m_cancel, &QPushButton::clicked, this, &frmEditIPTC::reject);
    watchCodeTyping();
}

// After the rules: a code the status line names stays named once the rules have looked at the box.
void frmEditIPTC::watchCodeTyping()
{
    m_fields->watchCodes(*m_codes);
    for (EditListPanel *list : {m_keywords, m_categories})
        list->watchCodes(*m_codes);
    m_customized->watchCodes(*m_codes);
}

} // namespace zelvarion
