#include "ui/frmFolderBrowser.h"

#include "core/session/LanguagePack.h"
#include "platform/FileNames.h"
#include "ui/Controls.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zelvarion {
using namespace controls;

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kListedRole = Qt::UserRole + 1;

QString pathOf(const QTreeWidgetItem *item) { return item->data(0, kPathRole).toString(); }

QTreeWidgetItem *folderItem(const QString &name, const QString &path)
{
    auto *item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, kPathRole, path);
    // Whether it holds folders is known once it is opened.
    item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    return item;
}

QStringList subfolderNames(const QString &folder)
{
    QStringList names;
    if (const auto entries = filenames::listFolder(folder))
        for (const filenames::FolderEntry &entry : *entries)
            if (entry.kind == filenames::FolderEntry::Kind::Folder && !entry.name.startsWith(u'.'))
                names << entry.name;
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::localeAwareCompare(a, b) < 0; });
    return names;
}

QTreeWidgetItem *childNamed(QTreeWidgetItem *item, const QString &name)
{
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->text(0) == name)
            return item->child(i);
    return nullptr;
}

} // namespace

frmFolderBrowser::frmFolderBrowser(const QString &title, const LanguagePack &language, QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmFolderBrowser"));
    setModal(true);
    setWindowTitle(withoutAccelerator(title));
    dirList = named(new QTreeWidget(this), QStringLiteral("dirList"));
    dirList->header()->hide();
    dirList->addTopLevelItem(folderItem(QDir::rootPath(), QDir::rootPath()));
    connect(dirList, &QTreeWidget::itemExpanded, this, &frmFolderBrowser::listSubfolders);
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton(language.text(InterfaceText::CancelButton), this), QStringLiteral("cmdCancel"));
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        if (!selectedFolder().isEmpty())
            accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(dirList);
    layout->addLayout(buttons);
    resize(460, 420);
    selectFolder(QDir::homePath());
}

void frmFolderBrowser::listSubfolders(QTreeWidgetItem *item)
{
    if (item->data(0, kListedRole).toBool())
        return;
    item->setData(0, kListedRole, true);
    const QString folder = pathOf(item);
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QString &name : subfolderNames(folder))
        item->addChild(folderItem(name, prefix + name));
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

QString frmFolderBrowser::selectedFolder() const
{
    const QTreeWidgetItem *item = dirList->currentItem();
    return item ? pathOf(item) : QString();
}

bool frmFolderBrowser::selectFolder(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return false;
    QTreeWidgetItem *item = dirList->topLevelItem(0);
    for (const QString &name : QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts)) {
        listSubfolders(item);
        item = childNamed(item, name);
        if (!item)
            return false;
    }
    for (QTreeWidgetItem *open = item->parent(); open; open = open->parent())
        open->setExpanded(true);
    dirList->setCurrentItem(item);
    dirList->scrollToItem(item);
    return true;
}

} // namespace zelvarion
