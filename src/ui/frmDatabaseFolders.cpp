// The folder commands and the scan of the database dialog: Add folder, Remove folder, the check
// boxes, Scan and Stop.
#include "ui/frmDatabase.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/catalogue/ScanThumbnails.h"
#include "core/catalogue/ThumbnailSizing.h"
#include "core/iptc/IptcField.h"
#include "core/session/Feedback.h"
#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"
#include "ui/AppContext.h"
#include "ui/Controls.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

namespace zelvarion {

// The scan's feedback: reports go to the dialog's feedback, progress lines to the log, and the
// Stop button sets the flag the scan checks.
class frmDatabase::ScanProgress : public Feedback
{
public:
    explicit ScanProgress(frmDatabase &dialog) : m_dialog(dialog) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title) override
    {
        m_dialog.m_feedback.showMessage(text, icon, title);
    }
    bool askYesNo(const QString &text, MessageIcon icon) override { return m_dialog.m_feedback.askYesNo(text, icon); }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool stopRequested() const override { return m_dialog.m_stopRequested; }
    void progress(const QString &line) override
    {
        QListWidget *log = m_dialog.sqlOutPut;
        log->insertItem(0, line);
        while (log->count() > kLogLines)
            delete log->takeItem(log->count() - 1);
    }

    static constexpr int kLogLines = 100;

private:
    frmDatabase &m_dialog;
};

bool frmDatabase::catalogueFileMissing()
{
    CatalogueDb &catalogue = m_context.catalogue;
    if (!catalogue.path.isEmpty() && (catalogue.isServer() || QFileInfo(catalogue.path).isFile()))
        return false;
    reportMissingCatalogue();
    catalogue.path.clear();
    showPath(QString());
    return true;
}

// Add folder needs a catalogue to register the folder in; without one, opening would fail with
// the engine's words ("no database file name given") or create an empty file.
bool frmDatabase::catalogueChosen()
{
    if (!m_context.catalogue.path.isEmpty())
        return !catalogueFileMissing();
    m_feedback.showMessage(m_context.language.message(Message::NoCatalogueChosen), MessageIcon::Information);
    return false;
}

void frmDatabase::updateScanButton()
{
    bool anyChecked = false;
    for (int i = 0; i < lvFolders->topLevelItemCount() && !anyChecked; ++i)
        anyChecked = lvFolders->topLevelItem(i)->checkState(0) == Qt::Checked;
    cmdScan->setEnabled(anyChecked);
}

bool frmDatabase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvFolders && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete) {
        removeFolder();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmDatabase::addSubfolderRow(const QString &folder, int parentRow)
{
    const bool exists = filenames::fileFacts(folder).isFolder; // by the name's own bytes
    const QString state = exists ? QStringLiteral("OK") : m_context.language.message(Message::FolderMissing);
    auto *item = new QTreeWidgetItem(lvFolders, {folder, state});
    item->setCheckState(0, Qt::Unchecked);
    item->setTextAlignment(1, Qt::AlignCenter);
    item->setData(0, Qt::UserRole, parentRow + 1); // the tag: the 1-based row of the registered folder
    for (int c = 0; c < 4; ++c)
        item->setForeground(c, controls::kLabelBlue);
    lblSubFolder->show();
    FrameHelp->hide();
}

void frmDatabase::addFolder()
{
    if (m_scanning)
        return;
    sqlOutPut->clear();
    if (!catalogueChosen())
        return;
    const QString chosen = m_chooseFolder(cmdAddFolder->text());
    if (chosen.isEmpty())
        return;
    QStringList listed;
    for (int i = 0; i < lvFolders->topLevelItemCount(); ++i)
        listed << lvFolders->topLevelItem(i)->text(0);
    const AddFolderCheck check = checkNewFolder(chosen, listed);
    const LanguagePack &pack = m_context.language;
    switch (check.verdict) {
    case AddFolderCheck::Verdict::Refused:
        m_feedback.showMessage(pack.message(Message::FolderRefused) + u'\n' + QDir::cleanPath(chosen),
                               MessageIcon::Critical);
        return;
    case AddFolderCheck::Verdict::Overlaps:
        m_feedback.showMessage(pack.message(Message::FolderOverlaps) + u'\n' + listed[check.row], MessageIcon::Critical);
        return;
    case AddFolderCheck::Verdict::Subfolder:
        addSubfolderRow(check.folder, check.row);
        return;
    case AddFolderCheck::Verdict::Register:
        break;
    }
    CatalogueDb &catalogue = m_context.catalogue;
    if (catalogue.openOrReport(m_feedback)) {
        registerFolder(catalogue, m_feedback, check.folder);
        catalogue.close();
    }
    cmdScan->setEnabled(false);
    refreshFolderList();
}

void frmDatabase::removeFolder()
{
    if (m_scanning)
        return;
    sqlOutPut->clear();
    const QList<QTreeWidgetItem *> selected = lvFolders->selectedItems();
    if (selected.isEmpty()) {
        m_feedback.showMessage(m_context.language.message(Message::NoFolderSelected), MessageIcon::Information);
        return;
    }
    const QString folder = selected.front()->text(0);
    if (!m_feedback.askYesNo(m_context.language.message(Message::RemoveFolderQuestion) + u'\n' + folder))
        return;
    const bool registered = !selected.front()->data(0, Qt::UserRole).isValid();
    CatalogueDb &catalogue = m_context.catalogue;
    if (registered && catalogue.openOrReport(m_feedback)) {
        zelvarion::removeFolder(catalogue, m_feedback, folder);
        catalogue.close();
    }
    cmdScan->setEnabled(false);
    refreshFolderList();
}

void frmDatabase::setScanning(bool on)
{
    m_scanning = on;
    cmdCancel->setVisible(on);
    cmdScan->setVisible(!on);
    for (QPushButton *command : {cmdSelect, cmdCreate, cmdCompact, cmdAddFolder, cmdRemoveFolder, cmdOK})
        command->setEnabled(!on);
}

void frmDatabase::setRowBold(QTreeWidgetItem *item, bool bold)
{
    QFont font = item->font(0);
    font.setBold(bold);
    for (int c = 0; c < 4; ++c)
        item->setFont(c, font);
    lvFolders->repaint();
}

// StretchImageThumb: the picture at its natural size when it fits in 1800 by 1200 twips, else
// brought down to that box.
void frmDatabase::showThumbnail(const QByteArray &jpeg)
{
    QPixmap picture;
    if (!picture.loadFromData(jpeg))
        return;
    using namespace thumbnailSizing;
    const QSize twips = fitBoxTwips(picture.size() * kTwipsPerPixel);
    imgDest->setPixmap(picture.scaled(twips / kTwipsPerPixel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void frmDatabase::scanCheckedFolders()
{
    QElapsedTimer elapsed; // monotonic: a scan across midnight reports its true duration
    elapsed.start();
    sqlOutPut->clear();
    m_stopRequested = false;
    setScanning(true);
    lblStatus->clear();
    imgDest->clear();
    CatalogueWriteLock lock(m_context.catalogue.path); // one command at a time rewrites the rows
    if (!catalogueFileMissing() && lock.takeOrRefuse(m_feedback, m_context.language)
        && m_context.catalogue.openOrReport(m_feedback)) {
        runScan();
        m_context.catalogue.close();
        refreshFolderList();
        cmdScan->setEnabled(false);
        lblStatus->setText(
            elapsedTimeText(m_context.language.message(Message::ElapsedTime), elapsed.elapsed() / 1000));
    }
    setScanning(false);
    if (m_doneAfterScan)
        QDialog::done(*std::exchange(m_doneAfterScan, std::nullopt));
}

void frmDatabase::runScan()
{
    std::vector<ScanTarget> targets;
    std::vector<QTreeWidgetItem *> rows;
    for (int i = 0; i < lvFolders->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvFolders->topLevelItem(i);
        if (item->checkState(0) != Qt::Checked)
            continue;
        const QVariant parent = item->data(0, Qt::UserRole);
        QTreeWidgetItem *counted = parent.isValid() ? lvFolders->topLevelItem(parent.toInt() - 1) : item;
        targets.push_back({item->text(0), counted ? counted->text(0) : item->text(0)});
        rows.push_back(item);
    }
    const AppSettings &settings = m_context.settings;
    ScanOptions options;
    options.customizedLabel = m_context.customizedLabel();
    options.language = &m_context.language;
    if (settings.createThumbnails && m_context.namedStreamsAvailable)
        options.thumbnails = settings.reCreateThumbnails ? ThumbnailPolicy::Recreate : ThumbnailPolicy::KeepExisting;
    const ThumbnailStore store = m_thumbnailStoreRoot.isEmpty() ? ThumbnailStore() : ThumbnailStore(m_thumbnailStoreRoot);
    const StoredThumbnailExaminer examiner(store);
    ScanProgress progress(*this);
    FolderScanner scanner(m_context.catalogue, progress, examiner, options);
    scanner.observer.targetStarted = [&](int i) { setRowBold(rows[std::size_t(i)], true); };
    scanner.observer.targetFinished = [&](int i) { setRowBold(rows[std::size_t(i)], false); };
    scanner.observer.thumbnailMade = [this](const QString &, const QByteArray &jpeg) { showThumbnail(jpeg); };
    // "n of N" beside the log: the files are counted before the first is read.
    long long total = 0;
    scanner.observer.filesToScan = [&total](long long files) { total = files; };
    scanner.observer.fileWritten = [this, &total](long long visited) {
        lblStatus->setText(m_context.language.text(InterfaceText::ScanFileProgress)
                               .replace(u'#', QString::number(visited))
                               .replace(u'%', QString::number(std::max(total, visited))));
    };
    scanner.run(targets);
}

void frmDatabase::done(int result)
{
    if (m_scanning) {
        m_stopRequested = true;
        m_doneAfterScan = result;
        return;
    }
    QDialog::done(result);
}

} // namespace zelvarion
