#include "ui/frmFolder.h"

#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace zelvarion {
using namespace controls;

frmFolder::frmFolder(AppContext &context, QWidget *parent) : QDialog(parent), m_context(context)
{
    setObjectName(QStringLiteral("frmFolder"));
    setModal(true);
    m_drives = named(new QComboBox(this), QStringLiteral("drvList"));
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            m_drives->addItem(volume.rootPath());
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    m_folders = named(new QTreeView(this), QStringLiteral("dirList"));
    m_folders->setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        m_folders->hideColumn(column);
    m_folders->header()->hide();
    m_ok = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    m_cancel = named(new QPushButton(context.language.text(InterfaceText::CancelButton), this), QStringLiteral("cmdCancel"));
    // The folder tree takes what the window gains.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(m_drives);
    layout->addWidget(m_folders, 1);
    layout->addLayout(buttonsAtRight({m_ok, m_cancel}, 90, 30));
    resize(460, 420);
    setWindowTitle(context.language.text(InterfaceText::SaveOriginalsOption));
    connect(m_drives, &QComboBox::currentIndexChanged, this, &frmFolder::driveChanged);
    connect(m_ok, &QPushButton::clicked, this, &frmFolder::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    driveChanged(m_drives->currentIndex());
    // A remembered folder that no longer exists is passed over.
    if (!context.settings.saveFolder.isEmpty())
        selectFolder(context.settings.saveFolder);
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmFolder::driveChanged(int position)
{
    const QString root = m_drives->itemText(position);
    // A volume that cannot be read leaves the tree where it was and the list follows the tree.
    if (root.isEmpty() || !QFileInfo(root).isReadable()) {
        const QString current = QStorageInfo(selectedFolder()).rootPath();
        const QSignalBlocker blocker(m_drives);
        m_drives->setCurrentIndex(m_drives->findText(current));
        return;
    }
    m_folders->setRootIndex(m_model->index(root));
}

QString frmFolder::selectedFolder() const
{
    const QModelIndex current = m_folders->currentIndex();
    return current.isValid() ? m_model->filePath(current) : QString();
}

bool frmFolder::selectFolder(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    const QString folder = info.canonicalFilePath();
    const int drive = m_drives->findText(QStorageInfo(folder).rootPath());
    if (drive >= 0 && drive != m_drives->currentIndex())
        m_drives->setCurrentIndex(drive);
    const QModelIndex index = m_model->index(folder);
    m_folders->setCurrentIndex(index);
    m_folders->scrollTo(index);
    return index.isValid();
}

void frmFolder::confirm()
{
    QString folder = selectedFolder();
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    m_context.settings.saveFolder = folder;
    accept();
}

} // namespace zelvarion
