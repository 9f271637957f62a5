#include "ui/frmFolderSelected.h"

#include "core/filecommands/CopyImages.h"
#include "core/session/Feedback.h"
#include "ui/AppContext.h"
#include "ui/BusyPointer.h"
#include "ui/Controls.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace zelvarion {
using namespace controls;

frmFolderSelected::frmFolderSelected(AppContext &context, Feedback &feedback, const ResultList &results,
                                     QWidget *owner)
    : QDialog(owner), m_context(context), m_feedback(feedback), m_results(results)
{
    setObjectName(QStringLiteral("frmFolderSelected"));
    setModal(true);
    createControls();
    applyTexts();
    roundCorners(cmdOK);
    roundCorners(cmdCancel);
    fillDrives();
    const QString stored = context.settings.destinationFolder;
    const QString start = stored.isEmpty() ? QDir::currentPath() : stored;
    selectDriveOf(start);
    setCurrentFolder(start); // a folder that is gone leaves the tree on its drive
    connect(drvList, &QComboBox::currentIndexChanged, this, &frmFolderSelected::driveChosen);
    setWindowFlag(Qt::WindowStaysOnTopHint, context.settings.stayOnTop);
}

void frmFolderSelected::createControls()
{
    lblDestination = named(new QLabel(QStringLiteral("Select destination folder"), this), QStringLiteral("lblDestination"));
    drvList = named(new QComboBox(this), QStringLiteral("drvList"));
    dirList = named(new QTreeView(this), QStringLiteral("dirList"));
    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    m_folders->setRootPath(QDir::rootPath());
    dirList->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        dirList->hideColumn(column);
    dirList->header()->hide();
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("cmdCancel"));
    // The folder tree takes what the window gains.
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(6);
    layout->addWidget(lblDestination);
    layout->addWidget(drvList);
    layout->addWidget(dirList, 1);
    layout->addSpacing(6);
    layout->addLayout(buttonsAtRight({cmdOK, cmdCancel}, 92, 30));
    resize(420, 420);
    connect(cmdOK, &QPushButton::clicked, this, &frmFolderSelected::confirm);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmFolderSelected::applyTexts()
{
    const LanguagePack &pack = m_context.language;
    setWindowTitle(withoutAccelerator(pack.text(InterfaceText::CopyImagesMenuItem)));
    lblDestination->setText(pack.text(InterfaceText::DestinationFolderLabel));
    cmdOK->setText(pack.text(InterfaceText::CopyOkButton));
    cmdCancel->setText(pack.text(InterfaceText::CancelButton));
}

// The platform's "drives": the roots of the mounted file systems that hold folders to write to.
void frmFolderSelected::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    roots.sort();
    drvList->addItems(roots);
}

void frmFolderSelected::selectDriveOf(const QString &folder)
{
    QString existing = folder;
    while (!existing.isEmpty() && !QFileInfo(existing).isDir() && existing != QDir::rootPath())
        existing = QFileInfo(existing).absolutePath();
    const int index = drvList->findText(QStorageInfo(existing).rootPath());
    if (index >= 0) {
        const QSignalBlocker quiet(drvList);
        drvList->setCurrentIndex(index);
    }
}

void frmFolderSelected::driveChosen(int index)
{
    // A drive that cannot be shown puts the list back on the drive of the folder shown.
    if (!setCurrentFolder(drvList->itemText(index)))
        selectDriveOf(currentFolder());
}

QString frmFolderSelected::currentFolder() const
{
    const QModelIndex index = dirList->currentIndex();
    return index.isValid() ? m_folders->filePath(index) : QString();
}

bool frmFolderSelected::setCurrentFolder(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const QModelIndex index = m_folders->index(QFileInfo(folder).absoluteFilePath());
    if (!index.isValid())
        return false;
    dirList->setCurrentIndex(index);
    dirList->scrollTo(index);
    dirList->expand(index);
    return true;
}

void frmFolderSelected::confirm()
{
    const QString chosen = currentFolder();
    if (chosen.isEmpty())
        return;
    const QString destination = destinationFolderOf(chosen);
    m_context.setSetting(&AppSettings::destinationFolder, destination);
    CopyReport report;
    {
        const BusyPointer busy;
        report = copyResultImages(m_results, destination, m_feedback);
    }
    QString summary = copySummary(m_context.language, report);
    constexpr int kFailuresShown = 10;
    if (!report.failures.isEmpty())
        summary += u'\n' + report.failures.mid(0, kFailuresShown).join(u'\n')
                   + (report.failures.size() > kFailuresShown ? QStringLiteral("\n…") : QString());
    m_feedback.showMessage(summary, report.notCopied() > 0 ? MessageIcon::Warning : MessageIcon::Information);
    accept();
}

} // namespace zelvarion
