// Files and folders whose names are not UTF-8 (old archives hold Latin-1 names) reach the windows
// by their real bytes: the grid's thumbnail, open, properties, the image window and the folder
// browser of Add folder.
#include "DialogTestSupport.h"

#include "platform/FileNames.h"
#include "platform/ThumbnailStore.h"
#include "platform/gui/ShellServices.h"
#include "ui/ResultThumbnails.h"
#include "ui/frmDisplayImage.h"
#include "ui/frmFolderBrowser.h"
#include "ui/frmProperties.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

const QString kSample = QStringLiteral("iptc/pillow/Tests/images/hopper.jpg"); // 128 x 128

QByteArray sampleBytes()
{
    QFile file(testDataFile(kSample));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a file under its raw name; true when it was made.
bool writeRaw(const QByteArray &path, const QByteArray &content)
{
    QFile out;
    return out.open(::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644), QIODevice::WriteOnly,
                    QFileDevice::AutoCloseHandle)
           && out.write(content) == content.size();
}

// The bytes a file:// address names.
QByteArray pathBytesOf(const QUrl &url)
{
    return url.scheme() == u"file" ? QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1())
                                   : QByteArray();
}

} // namespace

// Takes the addresses the desktop would be asked to open.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url; }
};

class NamesNotInUtf8Test : public QObject
{
    Q_OBJECT

    std::unique_ptr<DialogFixture> f;
    QByteArray folderBytes; // the raw folder and file of the row
    QByteArray fileBytes;
    QString folder;         // and their texts, as the catalogue holds them
    QString image;

    void table()
    {
        QTest::addColumn<QByteArray>("folderName");
        QTest::addColumn<QByteArray>("fileName");
        QTest::newRow("Latin-1 file") << QByteArray("photos") << QByteArray("caf\xE9.jpg");
        QTest::newRow("Latin-1 folder and file") << QByteArray("\xE9t\xE9") << QByteArray("\xE0 la caf\xE9 #1.jpg");
        QTest::newRow("the invisible mark really in the name")
            << QByteArray("a\xCD\x8F" "b") << QByteArray("c\xCD\x8F.jpg");
        QTest::newRow("Windows-1252 letters and bytes it leaves unassigned")
            << QByteArray("\x80\x81 \x9D") << QByteArray("\x8F\xFF.jpg");
        QTest::newRow("UTF-8") << QByteArray("\xC3\xA9t\xC3\xA9") << QByteArray("caf\xC3\xA9.jpg");
    }

    // Lays the sample JPEG under the row's raw names.
    void layOutRow()
    {
        QFETCH(QByteArray, folderName);
        QFETCH(QByteArray, fileName);
        folderBytes = QFile::encodeName(f->folder.path()) + '/' + folderName;
        fileBytes = folderBytes + '/' + fileName;
        QCOMPARE(::mkdir(folderBytes.constData(), 0755), 0);
        QVERIFY(writeRaw(fileBytes, sampleBytes()));
        folder = filenames::decode(folderBytes);
        image = filenames::decode(fileBytes);
        QCOMPARE(filenames::encode(image), fileBytes);
    }

private Q_SLOTS:
    void init() { f = std::make_unique<DialogFixture>(); }
    // The temporary folder's own removal goes by Qt's decoding of names and cannot reach these.
    void cleanup()
    {
        if (!fileBytes.isEmpty()) {
            ::unlink(fileBytes.constData());
            ::rmdir(folderBytes.constData());
        }
        fileBytes.clear();
        folderBytes.clear();
        f.reset();
    }

    void theGridMakesTheThumbnail_data() { table(); }
    void theGridMakesTheThumbnail()
    {
        layOutRow();
        const ThumbnailStore emptyStore(f->folder.file(QStringLiteral("thumbs")));
        for (const bool useStored : {false, true}) {
            const QImage thumbnail = resultThumbnail(image, useStored, emptyStore);
            QVERIFY2(!thumbnail.isNull(), useStored ? "stored thumbnails on" : "stored thumbnails off");
            QCOMPARE(thumbnail.size(), QSize(128, 128));
        }
    }

    void openAndPropertiesGetTheRealBytes_data() { table(); }
    void openAndPropertiesGetTheRealBytes()
    {
        layOutRow();
        QCOMPARE(pathBytesOf(filenames::fileUrl(image)), fileBytes);
        QCOMPARE(pathBytesOf(QUrl::fromEncoded(filenames::fileUrl(image).toEncoded())), fileBytes);

        OpenedUrls opened;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        shell::openWithDefaultProgram(image);
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(pathBytesOf(opened.urls.front()), fileBytes);

        // The dialog shown where no file manager answers gives the facts of a plain-named twin.
        const QString twin = f->folder.write(QStringLiteral("twin.jpg"), sampleBytes());
        QFile::setPermissions(twin, filenames::fileOwnership(image)->permissions);
        const QStringList facts = filePropertiesText(image, f->context.language).split(u'\n');
        const QStringList twinFacts = filePropertiesText(twin, f->context.language).split(u'\n');
        QCOMPARE(facts.size(), twinFacts.size());
        const QString pathLabel = f->context.language.text(InterfaceText::DetailPathLabel);
        QCOMPARE(facts.front(), pathLabel + QStringLiteral(": ") + image);
        for (const int line : {1, 4, 5, 6}) // size, width, height, permissions
            QCOMPARE(facts[line], twinFacts[line]);
    }

    void theImageWindowShowsThePicture_data() { table(); }
    void theImageWindowShowsThePicture()
    {
        layOutRow();
        auto *window = new frmDisplayImage(f->context.ini, nullptr); // deletes itself on close
        window->showImage(image, QStringLiteral("caption"));
        QVERIFY(window->isVisible());
        QVERIFY(!find<QLabel>(window, "DisplayedImage")->pixmap().isNull());
        QCOMPARE(window->windowTitle(), QStringLiteral("caption"));
        window->close();
    }

    void theFolderBrowserListsAndChoosesTheFolder_data() { table(); }
    void theFolderBrowserListsAndChoosesTheFolder()
    {
        layOutRow();
        frmFolderBrowser browser(QStringLiteral("Add folder"), f->context.language, nullptr);
        QVERIFY(browser.selectFolder(f->folder.path()));
        auto *tree = find<QTreeWidget>(&browser, "dirList");
        QTreeWidgetItem *parent = tree->currentItem();
        parent->setExpanded(true);
        const QString shownName = filenames::decode(folderBytes.mid(folderBytes.lastIndexOf('/') + 1));
        QTreeWidgetItem *listed = nullptr;
        for (int i = 0; i < parent->childCount(); ++i)
            if (parent->child(i)->text(0) == shownName)
                listed = parent->child(i);
        QVERIFY2(listed, qPrintable(shownName));
        tree->setCurrentItem(listed);
        find<QPushButton>(&browser, "cmdOK")->click();
        QCOMPARE(browser.result(), int(QDialog::Accepted));
        QCOMPARE(browser.selectedFolder(), folder);
        QCOMPARE(filenames::encode(browser.selectedFolder()), folderBytes);
        QVERIFY(filenames::fileFacts(browser.selectedFolder()).isFolder);
    }
};

QTEST_MAIN(NamesNotInUtf8Test)
#include "NamesNotInUtf8Test.moc"
