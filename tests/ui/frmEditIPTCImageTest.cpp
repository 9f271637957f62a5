// Window tests of the edit dialog on images of a scanned catalogue: OK writes the file and its
// row with either read choice, Previous/Next walk the result asking about unsaved changes, and a
// TIFF stays read-only.
#include "CaptioningTestSupport.h"
#include "LayoutCheck.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/catalogue/FolderRegistry.h"
#include "core/catalogue/FolderScan.h"
#include "core/iptc/IptcReader.h"
#include "core/captioning/UndoJournal.h"
#include "core/captioning/UndoTemplateRun.h"
#include "ui/Controls.h"
#include "ui/frmEditIPTC.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::controls;

namespace {

class NoFacts : public ImageExaminer
{
public:
    ImageFacts examine(const QString &, ThumbnailPolicy) const override { return {}; }
};

struct Fixture
{
    CaptioningContext c;
    TempFolder images;
    std::vector<ResultRow> rows;
    std::unique_ptr<frmEditIPTC> dialog;
    std::vector<frmEditIPTC::UnsavedChoice> answers; // given in turn to the unsaved-changes question
    int questions = 0;

    // a.jpg and b.jpg (real captioned files) and scan.tif, scanned into the catalogue.
    Fixture()
    {
        for (const char *name : {"a.jpg", "b.jpg"}) {
            QVERIFY(QFile::copy(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")), images.file(QLatin1String(name))));
            QFile::setPermissions(images.file(QLatin1String(name)), QFile::ReadOwner | QFile::WriteOwner);
        }
        images.write(QStringLiteral("scan.tif"), QByteArray("II*\0", 4) + QByteArray(64, '\0'));
        const QString folder = images.path() + u'/';
        CatalogueDb &db = c.context.catalogue;
        QVERIFY(db.open());
        QVERIFY(registerFolder(db, c.feedback, folder));
        ScanOptions options;
        options.customizedLabel = defaultCustomizedLabel();
        const NoFacts examiner;
        FolderScanner(db, c.feedback, examiner, options).run({{folder, folder}});
        db.close();
        for (const QString &file : {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("scan.tif")})
            rows.push_back({folder, file, {}});
        QCOMPARE(column(QStringLiteral("b.jpg"), QStringLiteral("File")), QStringLiteral("b.jpg"));
    }
    frmEditIPTC &open(int rank)
    {
        dialog = std::make_unique<frmEditIPTC>(c.context, c.feedback, rows, rank);
        dialog->setUnsavedChangesQuestion([this] {
            ++questions;
            return answers.at(std::size_t(questions - 1));
        });
        dialog->show();
        return *dialog;
    }
    template <typename T = QWidget>
    T *get(const QString &name) { return control<T>(*dialog, name); }
    QLineEdit *field(int index) { return get<QLineEdit>(QStringLiteral("txtIPTC_%1").arg(index)); }
    QString column(const QString &file, const QString &name)
    {
        CatalogueDb &db = c.context.catalogue;
        db.open();
        db.execute(QStringLiteral("select %1 from Images where File=%2;").arg(name, sqlText(file)));
        const QString value = db.rowCount() > 0 ? db.cell(0, 1) : QStringLiteral("<no row>");
        db.close();
        return value;
    }
    IptcFieldSet fileFields(const QString &file)
    {
        return readImageIptc(images.file(file), defaultCustomizedLabel()).fields;
    }
};

} // namespace

class frmEditIPTCImageTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void okWritesWhatTheFileHeldWithTheChange()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        const IptcFieldSet before = f.fileFields(QStringLiteral("a.jpg"));
        const QByteArray original = f.images.read(QStringLiteral("a.jpg"));
        QCOMPARE(splitList(before.values[kKeywordsIndex]).size(), 7);
        frmEditIPTC &dialog = f.open(1);
        QCOMPARE(f.get<QListWidget>(QStringLiteral("lstKeywords"))->count(), 7);
        QVERIFY(!dialog.hasUnsavedChanges());
        QSignalSpy saved(&dialog, &frmEditIPTC::imageSaved);
        f.field(kCityIndex)->setText(QStringLiteral("Quimper"));
        QVERIFY(dialog.hasUnsavedChanges());
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();

        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(saved.count(), 1);
        IptcFieldSet expected = before;
        expected.values[kCityIndex] = QStringLiteral("Quimper");
        QCOMPARE(f.fileFields(QStringLiteral("a.jpg")).values, expected.values); // the rest kept
        QCOMPARE(f.column(QStringLiteral("a.jpg"), QStringLiteral("City")), QStringLiteral("Quimper"));
        QCOMPARE(f.column(QStringLiteral("a.jpg"), QStringLiteral("Keywords")), before.values[kKeywordsIndex]);
        QVERIFY(!f.column(QStringLiteral("a.jpg"), QStringLiteral("LastRevisionDate")).isEmpty());
        QVERIFY(!f.column(QStringLiteral("a.jpg"), QStringLiteral("LastRevisionTime")).isEmpty());
        QVERIFY(f.column(QStringLiteral("b.jpg"), QStringLiteral("LastRevisionDate")).isEmpty());

        // The edit is a journal run of its own: not the default of an undo, yet undone by number.
        UndoJournal journal(UndoJournal::pathBeside(f.c.context.catalogue.path));
        const std::vector<JournalRun> runs = journal.runs().value_or(std::vector<JournalRun>{});
        QCOMPARE(int(runs.size()), 1);
        QCOMPARE(runs.front().kind, QStringLiteral("edit"));
        QCOMPARE(runs.front().files, 1);
        QVERIFY(!runToUndo(runs, std::nullopt));
        const UndoSummary undone = undoTemplateRun(journal, runs.front().number, f.c.context.catalogue, f.c.feedback, {});
        QCOMPARE(undone.restored, 1);
        QCOMPARE(f.images.read(QStringLiteral("a.jpg")), original);
        QCOMPARE(f.column(QStringLiteral("a.jpg"), QStringLiteral("City")), before.values[kCityIndex]);
        QVERIFY(f.column(QStringLiteral("a.jpg"), QStringLiteral("LastRevisionDate")).isEmpty());
    }

    void anotherCommandOnTheCatalogueKeepsOkFromWriting()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        const QByteArray original = f.images.read(QStringLiteral("a.jpg"));
        frmEditIPTC &dialog = f.open(1);
        CatalogueWriteLock other(f.c.context.catalogue.path);
        QVERIFY(other.takeOrRefuse(f.c.feedback, f.c.context.language));
        f.field(kCityIndex)->setText(QStringLiteral("Quimper"));
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(f.images.read(QStringLiteral("a.jpg")), original);
        QCOMPARE(f.c.feedback.texts(), QStringList{f.c.context.language.message(Message::CatalogueBusyRefused)
                                                       .replace(u'#', f.c.context.catalogue.path)});
        QVERIFY(dialog.isVisible() && dialog.hasUnsavedChanges()); // the text typed is still there
        other.release();
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(f.fileFields(QStringLiteral("a.jpg")).values[kCityIndex], QStringLiteral("Quimper"));
    }

    void readingTheRowShowsAndWritesTheCatalogueValues()
    {
        Fixture f;
        f.c.context.settings.readIPTC = false;
        CatalogueDb &db = f.c.context.catalogue;
        db.open();
        db.execute(QStringLiteral("update Images set City='Brest' where File='a.jpg';"));
        db.close();
        f.open(1);
        QCOMPARE(f.field(kCityIndex)->text(), QStringLiteral("Brest")); // not what the file holds
        f.field(kHeadlineIndex)->setText(QStringLiteral("Harbour at dawn"));
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        const IptcFieldSet now = f.fileFields(QStringLiteral("a.jpg"));
        QCOMPARE(now.values[kCityIndex], QStringLiteral("Brest"));
        QCOMPARE(now.values[kHeadlineIndex], QStringLiteral("Harbour at dawn"));
        QCOMPARE(f.column(QStringLiteral("a.jpg"), QStringLiteral("Headline")), QStringLiteral("Harbour at dawn"));
    }

    void previousAndNextAskOnlyAboutUnsavedChanges()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        const QByteArray originalB = f.images.read(QStringLiteral("b.jpg"));
        frmEditIPTC &dialog = f.open(1);
        auto *previous = f.get<QPushButton>(QStringLiteral("cmdPrevious"));
        auto *next = f.get<QPushButton>(QStringLiteral("cmdNext"));
        QVERIFY(!previous->isEnabled() && next->isEnabled());
        next->click(); // nothing changed: no question
        QCOMPARE(dialog.imageRank(), 2);
        QCOMPARE(f.questions, 0);
        QVERIFY(previous->isEnabled());

        f.answers = {frmEditIPTC::UnsavedChoice::Cancel, frmEditIPTC::UnsavedChoice::Discard,
                     frmEditIPTC::UnsavedChoice::Save};
        f.field(kCityIndex)->setText(QStringLiteral("Lost"));
        next->click(); // cancelled: the image and its change stay
        QCOMPARE(dialog.imageRank(), 2);
        QCOMPARE(f.field(kCityIndex)->text(), QStringLiteral("Lost"));
        next->click(); // discarded
        QCOMPARE(dialog.imageRank(), 3);
        QCOMPARE(f.images.read(QStringLiteral("b.jpg")), originalB);
        QVERIFY(!next->isEnabled());
        QVERIFY(dialog.isVisible());

        previous->click(); // the read-only TIFF had nothing to save
        QCOMPARE(f.questions, 2);
        QCOMPARE(f.field(kCityIndex)->text(), f.fileFields(QStringLiteral("b.jpg")).values[kCityIndex]);
        f.field(kCityIndex)->setText(QStringLiteral("Kept"));
        previous->click(); // saved before moving
        QCOMPARE(f.questions, 3);
        QCOMPARE(dialog.imageRank(), 1);
        QCOMPARE(f.fileFields(QStringLiteral("b.jpg")).values[kCityIndex], QStringLiteral("Kept"));
        QCOMPARE(f.column(QStringLiteral("b.jpg"), QStringLiteral("City")), QStringLiteral("Kept"));
        QVERIFY(f.field(kCityIndex)->text() != QStringLiteral("Kept")); // a.jpg's own values
    }

    void aLabelClickNeverCarriesOneImagesTextIntoAnother()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        frmEditIPTC &dialog = f.open(1);
        dialog.selectTab(4);
        auto *city = f.get<QLabel>(QStringLiteral("lblIPTC_20"));
        f.field(kCityIndex)->setText(QStringLiteral("Rennes"));
        QTest::mouseClick(city, Qt::LeftButton); // "Rennes" is set aside, the label turns blue
        QVERIFY(f.field(kCityIndex)->text().isEmpty());
        dialog.selectTab(6);
        f.get<QLineEdit>(QStringLiteral("txtIndexCustomized_3"))->setText(QStringLiteral("200"));
        f.get<QLineEdit>(QStringLiteral("txtCustomized_3"))->setText(QStringLiteral("Box A"));
        QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblCustomized_3")), Qt::LeftButton);

        f.answers = {frmEditIPTC::UnsavedChoice::Discard};
        f.get<QPushButton>(QStringLiteral("cmdNext"))->click();
        QCOMPARE(dialog.imageRank(), 2);
        QCOMPARE(city->palette().color(QPalette::WindowText), kLabelGrey);
        const QString cityOfB = f.field(kCityIndex)->text();
        dialog.selectTab(4);
        QTest::mouseClick(city, Qt::LeftButton); // sets b.jpg's own city aside, brings nothing back
        QVERIFY(f.field(kCityIndex)->text().isEmpty());
        QCOMPARE(city->palette().color(QPalette::WindowText), kLabelBlue);
        dialog.selectTab(6);
        QTest::mouseClick(f.get<QLabel>(QStringLiteral("lblCustomized_3")), Qt::LeftButton);
        QVERIFY(f.get<QLineEdit>(QStringLiteral("txtCustomized_3"))->text().isEmpty());
        dialog.selectTab(4);
        QTest::mouseClick(city, Qt::LeftButton);
        QCOMPARE(f.field(kCityIndex)->text(), cityOfB);
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        QCOMPARE(f.fileFields(QStringLiteral("b.jpg")).values[kCityIndex], cityOfB);
        for (const CustomizedDataset &slot : f.fileFields(QStringLiteral("b.jpg")).slots)
            QVERIFY(slot.value != QStringLiteral("Box A"));
    }

    void previousAndNextWaitWhileOneFieldMustBeCorrected()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        f.c.context.settings.controlLengthFields = true;
        frmEditIPTC &dialog = f.open(2);
        auto *previous = f.get<QPushButton>(QStringLiteral("cmdPrevious"));
        auto *next = f.get<QPushButton>(QStringLiteral("cmdNext"));
        auto *ok = f.get<QPushButton>(QStringLiteral("cmdOK"));
        f.field(0)->setText(QString(65, u'o'));
        QVERIFY(!ok->isEnabled() && !previous->isEnabled() && !next->isEnabled());
        dialog.moveToImage(1);
        QCOMPARE(dialog.imageRank(), 2);
        QCOMPARE(f.questions, 0);
        f.field(0)->setText(QStringLiteral("short"));
        QVERIFY(ok->isEnabled() && previous->isEnabled() && next->isEnabled());
    }

    void aTiffOpensReadOnlyAndIsNeverWritten()
    {
        Fixture f;
        f.c.context.settings.readIPTC = true;
        const QByteArray original = f.images.read(QStringLiteral("scan.tif"));
        frmEditIPTC &dialog = f.open(3);
        QVERIFY(dialog.readOnly());
        QVERIFY(!f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
        auto *note = f.get<QLabel>(QStringLiteral("lblReadOnly"));
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), f.c.text(InterfaceText::ReadOnlyImageNote));
        f.field(kCityIndex)->setText(QStringLiteral("Nowhere"));
        dialog.save();
        QVERIFY(dialog.isVisible());
        QCOMPARE(f.images.read(QStringLiteral("scan.tif")), original);
        QVERIFY(f.column(QStringLiteral("scan.tif"), QStringLiteral("LastRevisionDate")).isEmpty());
    }

    // A long folder is shortened in the middle to the header's room, its start and end kept and
    // the whole path in the tip; a writable image's title reaches the logo, a read-only one's the note.
    void aLongPathIsShortenedToTheHeaderNotCut()
    {
        Fixture f;
        const QString folder = QStringLiteral("/photos/archives/2024/Bretagne/Brest, the harbour at dawn/"
                                              "fishing boats coming back/selected for the exhibition/");
        f.rows = {{folder, QStringLiteral("harbour.jpg"), {}}, {folder, QStringLiteral("harbour scan.tif"), {}}};
        int writableWidth = 0;
        for (int rank : {1, 2}) {
            f.open(rank);
            QVERIFY(QTest::qWaitForWindowExposed(f.dialog.get()));
            auto *title = f.get<QLabel>(QStringLiteral("lblTemplate"));
            const QStringList lines = title->text().split(QStringLiteral("\r\n"));
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines[0], f.rows[std::size_t(rank - 1)].file);
            QVERIFY(lines[1].startsWith(QStringLiteral("/photos/")) && lines[1].endsWith(QStringLiteral("exhibition/")));
            QVERIFY(lines[1].size() < folder.size());
            QVERIFY(title->fontMetrics().horizontalAdvance(lines[1]) <= title->width());
            QCOMPARE(title->toolTip(), folder + f.rows[std::size_t(rank - 1)].file);
            const QRect logo = f.get<QLabel>(QStringLiteral("ImageIPTC"))->geometry();
            const QRect note = f.get<QLabel>(QStringLiteral("lblReadOnly"))->geometry();
            const int reach = title->geometry().right();
            if (rank == 1) {
                QVERIFY(reach < logo.left() && reach > logo.left() - 20);
                writableWidth = title->width();
            } else {
                QVERIFY(reach < note.left() && reach > note.left() - 20);
                QVERIFY(title->width() < writableWidth);
            }
            QVERIFY(layoutFaults(f.dialog.get()).isEmpty());
        }
    }
};

QTEST_MAIN(frmEditIPTCImageTest)
#include "frmEditIPTCImageTest.moc"
