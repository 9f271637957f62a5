#include "ui/frmSQLQuery.h"

#include "core/catalogue/CatalogueCommand.h"
#include "core/search/SearchQueryBuilder.h"
#include "core/session/AppInfo.h"
#include "ui/AppContext.h"
#include "ui/BusyPointer.h"
#include "ui/Controls.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace zelvarion {
using namespace controls;

namespace {

constexpr QSize kDesignSize(820, 520);
constexpr int kButtonWidth = 98;
constexpr int kButtonHeight = 30;
constexpr int kLineHeight = 20;

} // namespace

// The console's result as the table shows it; it reads the rows in place, so tens of thousands
// of rows cost no widgets.
class ConsoleTableModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const ConsoleResult *result)
    {
        beginResetModel();
        m_result = result;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() || !m_result ? 0 : int(m_result->rows.size());
    }
    int columnCount(const QModelIndex &parent) const override
    {
        return parent.isValid() || !m_result ? 0 : int(m_result->columns.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!m_result || role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_result->rows[std::size_t(index.row())].value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (!m_result || role != Qt::DisplayRole)
            return {};
        return orientation == Qt::Horizontal ? QVariant(m_result->columns.value(section)) : QVariant(section + 1);
    }

private:
    const ConsoleResult *m_result = nullptr;
};

frmSQLQuery::frmSQLQuery(AppContext &context, Feedback &feedback, QWidget *owner)
    : QDialog(owner), m_context(context), m_feedback(feedback)
{
    setObjectName(QStringLiteral("frmSQLQuery"));
    setModal(false);
    createControls();
    layOut();
    applyTexts();
    roundCorners(cmdExecute);
    roundCorners(cmdCancel);
    resize(kDesignSize.expandedTo(minimumSizeHint()));
    lstTxtSQL->addItems(readConsoleHistory(context.ini));
    lstTxtSQL->setCurrentText(QString());
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

// The table lets go of the result first: a console destroyed while shown is hidden by the base
// class, after the result is gone, and its header would read the rows once more.
frmSQLQuery::~frmSQLQuery() { m_model->show(nullptr); }

void frmSQLQuery::createControls()
{
    lblSQLQuery = named(new QLabel(this), QStringLiteral("lblSQLQuery"));
    lstTxtSQL = named(new QComboBox(this), QStringLiteral("lstTxtSQL"));
    lstTxtSQL->setEditable(true);
    lstTxtSQL->setInsertPolicy(QComboBox::NoInsert); // the history keeps its own order
    cmdExecute = named(new QPushButton(this), QStringLiteral("cmdExecute"));
    cmdCancel = named(new QPushButton(this), QStringLiteral("cmdCancel"));
    // Enter in the statement box runs it once, through the box: a default button would take the
    // same key as it leaves the box (after a message it showed was closed) and run it again.
    cmdExecute->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    lvSQLOutput = named(new QTableView(this), QStringLiteral("lvSQLOutput"));
    lvSQLOutput->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvSQLOutput->setSelectionMode(QAbstractItemView::SingleSelection);
    lvSQLOutput->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvSQLOutput->verticalHeader()->setDefaultSectionSize(20);
    m_model = new ConsoleTableModel(this);
    lvSQLOutput->setModel(m_model);
    lblStatus = named(new QLabel(this), QStringLiteral("lblStatus"));

    connect(cmdExecute, &QPushButton::clicked, this, &frmSQLQuery::execute);
    connect(lstTxtSQL->lineEdit(), &QLineEdit::returnPressed, this, &frmSQLQuery::execute);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::close);
    connect(lvSQLOutput, &QTableView::clicked, this, [this](const QModelIndex &index) { clickRow(index.row()); });
}

// The statement box and the table take the room the window is given; the buttons keep theirs.
void frmSQLQuery::layOut()
{
    lblSQLQuery->setMinimumHeight(kLineHeight);
    lstTxtSQL->setMinimumHeight(26);
    lblStatus->setMinimumHeight(22);
    auto *statement = new QHBoxLayout;
    statement->setSpacing(8);
    statement->addStrut(kButtonHeight); // the row of the design's 30-pixel buttons
    statement->addWidget(lstTxtSQL, 1);
    statement->addSpacing(4);
    statement->addWidget(cmdExecute);
    statement->addWidget(cmdCancel);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(12, 10, 12, 10);
    column->setSpacing(0);
    column->addWidget(lblSQLQuery);
    column->addLayout(statement);
    column->addSpacing(10);
    column->addWidget(lvSQLOutput, 1);
    column->addSpacing(8);
    column->addWidget(lblStatus);
}

void frmSQLQuery::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(applicationTitle());
    lblSQLQuery->setText(withoutAccelerator(pack.text(InterfaceText::SqlQueryMenuItem)));
    cmdExecute->setText(pack.text(InterfaceText::ExecuteButton));
    cmdCancel->setText(pack.text(InterfaceText::CancelButton));
    fitRoundedButton(cmdExecute, kButtonWidth);
    fitRoundedButton(cmdCancel, kButtonWidth);
}

void frmSQLQuery::execute()
{
    const QString statement = lstTxtSQL->currentText();
    m_model->show(nullptr);
    m_result = {};
    lblStatus->clear();
    {
        const BusyPointer busy;
        m_result = runConsoleStatement({m_context.catalogue, m_feedback, m_context.language}, statement);
    }
    m_model->show(&m_result);
    fitColumns();
    if (m_result.status == ConsoleResult::Status::Ran)
        rememberStatement(statement);
    if (m_result.status == ConsoleResult::Status::Ran || m_result.status == ConsoleResult::Status::Failed)
        showStatus();
}

// Each column as wide as the texts of its first rows need, within reason.
void frmSQLQuery::fitColumns()
{
    constexpr int kRowsMeasured = 200;
    constexpr int kWidest = 320;
    lvSQLOutput->horizontalHeader()->setResizeContentsPrecision(kRowsMeasured);
    lvSQLOutput->resizeColumnsToContents();
    for (int column = 0; column < m_model->columnCount({}); ++column)
        lvSQLOutput->setColumnWidth(column, std::min(lvSQLOutput->columnWidth(column), kWidest));
}

void frmSQLQuery::rememberStatement(const QString &statement)
{
    const QStringList updated = searchHistoryAfter(history(), statement, kConsoleHistoryEntries);
    lstTxtSQL->clear();
    lstTxtSQL->addItems(updated);
    lstTxtSQL->setCurrentText(statement);
}

void frmSQLQuery::showStatus()
{
    const bool clickable = m_result.showsImages();
    lblStatus->setText(m_context.language.text(clickable ? InterfaceText::ClickRowHint
                                                         : InterfaceText::MissingPathColumnsWarning));
    lblStatus->setStyleSheet(textColourStyle(clickable ? kLabelBlue : kStatusRed));
}

void frmSQLQuery::clickRow(int row)
{
    const ConsoleImage image = consoleRowImage(m_result, row);
    if (!image.folder.isEmpty() || !image.file.isEmpty())
        Q_EMIT showImageRequested(image.folder, image.file);
}

QStringList frmSQLQuery::history() const
{
    QStringList items;
    for (int i = 0; i < lstTxtSQL->count(); ++i)
        items << lstTxtSQL->itemText(i);
    return items;
}

void frmSQLQuery::reject()
{
    writeConsoleHistory(m_context.ini, history());
    QDialog::reject();
}

} // namespace zelvarion
