// The destination dialog of "Copy images" on its own: the stored folder, OK and Cancel.
#include "DialogTestSupport.h"

#include "core/search/ResultList.h"
#include "platform/IniFile.h"
#include "ui/frmFolderSelected.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTreeView>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

} // namespace

class frmFolderSelectedTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DialogFixture> f;
    ResultList results;
    QString photos;

private Q_SLOTS:
    void init()
    {
        f = std::make_unique<DialogFixture>();
        photos = f->folder.file(u8("l'été")) + u'/';
        f->folder.write(u8("l'été/a.jpg"), "a");
        f->folder.write(u8("l'été/b.jpg"), "b");
        QDir().mkpath(f->folder.file(u8("out")));
        results.assign({{photos, u8("a.jpg"), {}}, {photos, u8("b.jpg"), {}}});
    }
    void cleanup() { f.reset(); }

    void cancelCopiesNothing()
    {
        frmFolderSelected w(f->context, f->feedback, results, nullptr);
        QVERIFY(find<QComboBox>(&w, "drvList")->count() >= 1);
        QVERIFY(w.setCurrentFolder(f->folder.file(u8("out"))));
        find<QPushButton>(&w, "cmdCancel")->click();
        QVERIFY(QDir(f->folder.file(u8("out"))).entryList(QDir::Files).isEmpty());
        QVERIFY(!f->context.ini.read(u8("Configuration"), u8("DestinationFolder")));
        QVERIFY(f->feedback.messages.empty());
    }

    void opensOnTheStoredFolderAndCopyingIntoTheImagesOwnFolderReplacesNothing()
    {
        f->context.settings.destinationFolder = photos;
        frmFolderSelected w(f->context, f->feedback, results, nullptr);
        QCOMPARE(w.currentFolder() + u'/', photos);
        w.confirm();
        QFile a(photos + u8("a.jpg"));
        QVERIFY(a.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), QByteArray("a"));
        QCOMPARE(f->feedback.messages.at(0).icon, MessageIcon::Warning);
        QVERIFY(f->feedback.texts()[0].startsWith(u8("0 images copied. 2 not copied")));
    }

    // Each count takes the form of its number in the pack's language: French counts 0 as one.
    void theSummaryCountsInThePacksLanguage()
    {
        QVERIFY(f->context.language.load(f->folder.file(u8("Zelvarion-Language")), u8("French")));
        f->context.settings.destinationFolder = photos;
        results.assign({{photos, u8("a.jpg"), {}}});
        frmFolderSelected w(f->context, f->feedback, results, nullptr);
        w.confirm();
        const QString summary = f->feedback.texts()[0];
        QVERIFY2(summary.startsWith(u8("0 image copiée. 1 non copiée\u00A0: ")), qPrintable(summary));
        QVERIFY2(summary.contains(u8(". 0 n'a pas pu être copiée.")), qPrintable(summary));
    }
};

QTEST_MAIN(frmFolderSelectedTest)
#include "frmFolderSelectedTest.moc"
