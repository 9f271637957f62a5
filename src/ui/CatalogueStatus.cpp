#include "ui/CatalogueStatus.h"

#include "core/session/LanguagePack.h"
#include "ui/Controls.h"
#include "ui/SearchPanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kDatabaseButtonWidth = 109;

} // namespace

CatalogueStatus::CatalogueStatus(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CatalogueStatus"));
    cmdDatabase = named(new QPushButton(QStringLiteral("Database"), this), QStringLiteral("cmdDatabase"));
    roundCorners(cmdDatabase);
    lbllblCount = named(new QLabel(QStringLiteral("#Images:"), this), QStringLiteral("lbllblCount"));
    lblCount = named(new QLabel(this), QStringLiteral("lblCount"));
    lblCount->setMinimumWidth(SearchPanel::countWidth(lblCount));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(6);
    grid->addWidget(cmdDatabase, 0, 0, 1, 2);
    grid->addWidget(lbllblCount, 1, 0);
    grid->addWidget(lblCount, 1, 1);
    grid->setRowStretch(2, 1);
    lblDB = named(new QLabel(this), QStringLiteral("lblDB"));
    lblDB->hide();
    connect(cmdDatabase, &QPushButton::clicked, this, &CatalogueStatus::databaseRequested);
}

void CatalogueStatus::applyLanguage(const LanguagePack &pack)
{
    cmdDatabase->setText(pack.text(InterfaceText::DatabaseButton));
    fitRoundedButton(cmdDatabase, kDatabaseButtonWidth);
    lbllblCount->setText(pack.text(InterfaceText::ImageCountLabel));
}

void CatalogueStatus::showCount(long long total)
{
    lblCount->setText(QString::number(total));
}

void CatalogueStatus::showPath(const QString &path)
{
    lblDB->setText(path);
}

} // namespace zelvarion
