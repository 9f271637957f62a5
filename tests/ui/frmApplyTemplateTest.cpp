// Window tests of the apply-template dialog: the options and their exclusivity, the template in
// use, a run over real files with its list of images not processed, the count, Stop and closing.
#include "CaptioningTestSupport.h"

#include "core/catalogue/CatalogueWriteLock.h"
#include "core/iptc/IptcReader.h"
#include "core/session/PackText.h"
#include "platform/IniFile.h"
#include "ui/frmApplyTemplate.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTreeWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct Fixture
{
    CaptioningContext c;
    TempFolder images;
    TempFolder thumbnails;
    ResultList results;
    std::unique_ptr<frmApplyTemplate> dialog;

    // Copies of real sample files and a TIFF, each one row of the catalogue and of the result.
    void addImages(int copies = 1)
    {
        const QStringList samples = {QStringLiteral("iptc/pillow/Tests/images/iptc.jpg"),
                                     QStringLiteral("iptc/metadata-extractor-images/jpg/Photoshop (3).jpg")};
        std::vector<ResultRow> rows;
        for (int copy = 0; copy < copies; ++copy) {
            for (int i = 0; i < samples.size(); ++i) {
                const QString name = QStringLiteral("image%1-%2.jpg").arg(copy).arg(i);
                QVERIFY(QFile::copy(testDataFile(samples[i]), images.file(name)));
                QFile::setPermissions(images.file(name), QFile::ReadOwner | QFile::WriteOwner);
                rows.push_back({images.path() + u'/', name, {}});
            }
        }
        images.write(QStringLiteral("scan.tif"), QByteArray("II*\0", 4) + QByteArray(64, '\0'));
        rows.push_back({images.path() + u'/', QStringLiteral("scan.tif"), {}});
        CatalogueDb &db = c.context.catalogue;
        db.open();
        for (const ResultRow &row : rows)
            db.execute(QStringLiteral("insert into Images (Folder, File) values(%1, %2);").arg(sqlText(row.folder), sqlText(row.file)));
        db.close();
        results.assign(rows);
    }
    frmApplyTemplate &open()
    {
        dialog = std::make_unique<frmApplyTemplate>(c.context, c.feedback, results);
        dialog->setThumbnailStoreRoot(thumbnails.path());
        dialog->show();
        return *dialog;
    }
    template <typename T = QWidget>
    T *get(const QString &name) { return control<T>(*dialog, name); }
    QString label(const char *name) { return get<QLabel>(QLatin1String(name))->text(); }
    QStringList notProcessed(int column = 0)
    {
        QStringList texts;
        auto *list = get<QTreeWidget>(QStringLiteral("lstNotProcessed"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }
    void loadLanguage(const QString &language)
    {
        QVERIFY(c.context.language.load(c.folder.file(QStringLiteral("Zelvarion-Language")), language));
    }
    void useTemplate()
    {
        TemplateValues values;
        values.fields[20] = QStringLiteral("Paris");
        values.fields[kKeywordsIndex] = QStringLiteral("desk; run");
        c.addTemplate(QStringLiteral("Shoot"), values, true);
    }
    QString city(const QString &file)
    {
        return readImageIptc(images.file(file), QStringLiteral("Field")).fields.values[20];
    }
};

} // namespace

class frmApplyTemplateTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keywordOptionsExcludeEachOtherAndModeTwoLocksThem();
    void withoutTemplateInUseOkIsDisabled();
    void runWritesTheImagesAndListsTheOthers();
    void stopCountsTheImagesWrittenAndTheOnesLeft();
    void cancellingOrClosingDuringARunStopsItAndGivesTheAccount_data();
    void cancellingOrClosingDuringARunStopsItAndGivesTheAccount();
    void anotherCommandOnTheCatalogueRefusesTheRun();
    void afterARunTheDialogGivesItsAccountAndOffersOnlyClose_data();
    void afterARunTheDialogGivesItsAccountAndOffersOnlyClose();
    void theModeThatEmptiesFieldsIsNeverChosenForTheUser();
};

void frmApplyTemplateTest::keywordOptionsExcludeEachOtherAndModeTwoLocksThem()
{
    Fixture f;
    f.c.context.settings.applyTemplateOption = 7; // no such mode: mode 0
    f.c.context.settings.removeKeywordsOption = true;
    f.open();
    QVERIFY(f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_0"))->isChecked());
    auto *add = f.get<QCheckBox>(QStringLiteral("chkAddKeywords"));
    auto *remove = f.get<QCheckBox>(QStringLiteral("chkRemoveKeywords"));
    QVERIFY(remove->isChecked());
    add->click();
    QVERIFY(!remove->isChecked());
    // A mode's caption is a label of its own: clicking it chooses the mode, with its rules.
    QTest::mouseClick(f.get(QStringLiteral("lblKeepOriginalIPTC_2")), Qt::LeftButton);
    QVERIFY(f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_2"))->isChecked());
    QVERIFY(!add->isChecked() && !add->isEnabled());
    QVERIFY(!remove->isChecked() && !remove->isEnabled());
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    QVERIFY(add->isEnabled() && remove->isEnabled());
}

void frmApplyTemplateTest::withoutTemplateInUseOkIsDisabled()
{
    Fixture f;
    f.c.addTemplate(QStringLiteral("not ticked"));
    f.open();
    QCOMPARE(f.label("lblTemplate"), f.c.text(InterfaceText::NoTemplateInUse));
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isEnabled());
    f.dialog->setTemplatesOpener([&f] { f.c.store().markInUse(QStringLiteral("not ticked"), true); });
    f.get<QPushButton>(QStringLiteral("cmdDefineTemplates"))->click();
    QVERIFY(f.get(QStringLiteral("cmdOK"))->isEnabled());
    QVERIFY(f.label("lblTemplate").startsWith(f.c.text(InterfaceText::TemplateInUse) + QStringLiteral(" not ticked\n")));
}

void frmApplyTemplateTest::runWritesTheImagesAndListsTheOthers()
{
    Fixture f;
    f.addImages();
    f.useTemplate();
    f.c.context.settings.createThumbnails = true;
    f.open();
    QCOMPARE(f.label("lblMax"), QStringLiteral("3"));
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    f.get<QCheckBox>(QStringLiteral("chkAddKeywords"))->click();
    const QByteArray before = f.images.read(QStringLiteral("image0-0.jpg"));
    f.c.feedback.answers = {false, true};
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click(); // No: nothing written, the options kept
    QCOMPARE(f.images.read(QStringLiteral("image0-0.jpg")), before);
    QCOMPARE(f.c.context.settings.applyTemplateOption, 1);
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.c.feedback.questions, QStringList(2, f.c.text(InterfaceText::ConfirmMergeOverwriteNonEmpty)));
    QCOMPARE(f.notProcessed(), QStringList{f.images.file(QStringLiteral("scan.tif"))});
    QCOMPARE(f.label("lblStatus"), QStringLiteral("2 images processed. 1 image not processed (its reason is in the list below)."));
    QCOMPARE(f.city(QStringLiteral("image0-0.jpg")), QStringLiteral("Paris"));
    QCOMPARE(f.city(QStringLiteral("image0-1.jpg")), QStringLiteral("Paris"));
    QVERIFY(!f.get<QLabel>(QStringLiteral("imgDest"))->pixmap().isNull());
    QCOMPARE(f.get<QProgressBar>(QStringLiteral("ProgressBar1"))->value(), 3); // every image came to
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isVisible());
    QVERIFY(!f.get(QStringLiteral("cmdCancelProcess"))->isVisible());
    const IniFile ini(f.c.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ApplyTemplateOption")), QStringLiteral("1"));
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("AddKeywordsOption")), QStringLiteral("1"));
    CatalogueDb &db = f.c.context.catalogue;
    db.open();
    db.execute(QStringLiteral("select City from Images where LastRevisionDate != '' order by File;"));
    QCOMPARE(db.rowCount(), 2);
    QCOMPARE(db.cell(0, 1), QStringLiteral("Paris"));
    db.close();
    QVERIFY(f.c.feedback.messages.empty());
}

// Stop as the first image is shown done: the progress and lblCurrent count images done, and the
// final status says how many were written and how many were left as they were.
void frmApplyTemplateTest::stopCountsTheImagesWrittenAndTheOnesLeft()
{
    Fixture f;
    f.addImages(10);
    f.useTemplate();
    f.open();
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    auto *progress = f.get<QProgressBar>(QStringLiteral("ProgressBar1"));
    QStringList shown;
    QObject::connect(progress, &QProgressBar::valueChanged, f.dialog.get(), [&](int value) {
        if (value == 0)
            return;
        shown << f.label("lblCurrent");
        if (value == 1)
            f.get<QPushButton>(QStringLiteral("cmdCancelProcess"))->click();
    });
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    int written = 0;
    for (int copy = 0; copy < 10; ++copy)
        for (int i = 0; i < 2; ++i)
            written += f.city(QStringLiteral("image%1-%2.jpg").arg(copy).arg(i)) == QStringLiteral("Paris") ? 1 : 0;
    QVERIFY(written >= 1);
    QCOMPARE(shown.size(), written); // one step per image done; the TIFF was left with the rest
    QCOMPARE(shown.first(), QStringLiteral("1"));
    QCOMPARE(shown.last(), QString::number(written));
    QVERIFY(f.notProcessed().isEmpty());
    QCOMPARE(f.get<QProgressBar>(QStringLiteral("ProgressBar1"))->value(), written); // the share done stays
    QCOMPARE(f.get<QProgressBar>(QStringLiteral("ProgressBar1"))->maximum(), 21);
    const int untouched = 21 - written;
    const LanguagePack &pack = f.c.context.language;
    QCOMPARE(f.label("lblStatus"), countedText(pack, pack.text(InterfaceText::ImagesProcessedStatus), {{u'#', written}}) + u' '
                                       + countedText(pack, pack.text(InterfaceText::ImagesUntouchedStatus), {{u'#', untouched}}));
}

void frmApplyTemplateTest::cancellingOrClosingDuringARunStopsItAndGivesTheAccount_data()
{
    QTest::addColumn<bool>("byWindowClose");
    QTest::newRow("Cancel") << false;
    QTest::newRow("window close") << true;
}

// Cancel or the window's close during a run is Stop: the images written stay written, and the
// dialog stays with the bar where the run got to, the counts and Close.
void frmApplyTemplateTest::cancellingOrClosingDuringARunStopsItAndGivesTheAccount()
{
    QFETCH(bool, byWindowClose);
    Fixture f;
    f.addImages(10);
    f.useTemplate();
    f.open();
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    auto *cancel = f.get<QPushButton>(QStringLiteral("cmdCancel"));
    QObject::connect(f.get<QProgressBar>(QStringLiteral("ProgressBar1")), &QProgressBar::valueChanged, f.dialog.get(),
                     [&](int value) {
                         if (value != 1)
                             return;
                         if (byWindowClose)
                             f.dialog->close();
                         else
                             cancel->click();
                         QVERIFY(f.dialog->isVisible());
                     });
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QVERIFY(f.dialog->isVisible());
    QVERIFY(!f.dialog->isRunning());
    int written = 0;
    for (int copy = 0; copy < 10; ++copy)
        for (int i = 0; i < 2; ++i)
            written += f.city(QStringLiteral("image%1-%2.jpg").arg(copy).arg(i)) == QStringLiteral("Paris") ? 1 : 0;
    QVERIFY(written >= 1 && written < 21);
    QCOMPARE(f.get<QProgressBar>(QStringLiteral("ProgressBar1"))->value(), written);
    const LanguagePack &pack = f.c.context.language;
    QCOMPARE(f.label("lblStatus"), countedText(pack, pack.text(InterfaceText::ImagesProcessedStatus), {{u'#', written}}) + u' '
                                       + countedText(pack, pack.text(InterfaceText::ImagesUntouchedStatus), {{u'#', 21 - written}}));
    QCOMPARE(cancel->text(), f.c.text(InterfaceText::CloseButton));
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isVisible());
    cancel->click();
    QVERIFY(!f.dialog->isVisible());
}

// Another command holds the catalogue (a scan, or a run of the command line): the run is refused
// before any file is touched, with a message that says why.
void frmApplyTemplateTest::anotherCommandOnTheCatalogueRefusesTheRun()
{
    Fixture f;
    f.addImages();
    f.useTemplate();
    f.open();
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    const QByteArray before = f.images.read(QStringLiteral("image0-0.jpg"));
    CatalogueWriteLock other(f.c.context.catalogue.path);
    QVERIFY(other.takeOrRefuse(f.c.feedback, f.c.context.language));
    f.c.feedback.answers = {true};
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.images.read(QStringLiteral("image0-0.jpg")), before);
    QCOMPARE(f.c.feedback.texts(), QStringList{f.c.context.language.message(Message::CatalogueBusyRefused)
                                                   .replace(u'#', f.c.context.catalogue.path)});
    QVERIFY(f.get(QStringLiteral("cmdOK"))->isVisible());
    other.release();
    f.c.feedback.answers = {true};
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.city(QStringLiteral("image0-0.jpg")), QStringLiteral("Paris"));
}

void frmApplyTemplateTest::afterARunTheDialogGivesItsAccountAndOffersOnlyClose_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
}

// The list names each image not processed with its reason in a column of its own; the counts,
// the full bar and Close in place of OK say the run is over, so Enter cannot start a second one.
void frmApplyTemplateTest::afterARunTheDialogGivesItsAccountAndOffersOnlyClose()
{
    QFETCH(QString, language);
    Fixture f;
    f.loadLanguage(language);
    f.addImages();
    f.useTemplate();
    f.open();
    auto *list = f.get<QTreeWidget>(QStringLiteral("lstNotProcessed"));
    QCOMPARE(list->headerItem()->text(0), f.c.text(InterfaceText::NotProcessedImageHeader));
    QCOMPARE(list->headerItem()->text(1), f.c.text(InterfaceText::NotProcessedReasonHeader));
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();

    QCOMPARE(f.notProcessed(0), QStringList{f.images.file(QStringLiteral("scan.tif"))});
    const QString reason = f.notProcessed(1).value(0);
    QVERIFY(!reason.isEmpty());
    QVERIFY(!f.c.feedback.texts().contains(reason)); // said in the list, not in a box
    const LanguagePack &pack = f.c.context.language;
    QVERIFY(f.label("lblStatus").contains(countedText(pack, pack.text(InterfaceText::ImagesNotProcessedStatus), {{u'#', 1}})));
    auto *close = f.get<QPushButton>(QStringLiteral("cmdCancel"));
    QCOMPARE(close->text(), f.c.text(InterfaceText::CloseButton));
    QVERIFY(close->isDefault());
    QVERIFY(!f.get(QStringLiteral("cmdOK"))->isVisible());
    for (const char *option : {"optKeepOriginalIPTC_0", "optKeepOriginalIPTC_2", "chkAddKeywords", "cmdDefineTemplates"})
        QVERIFY2(!f.get(QLatin1String(option))->isEnabled(), option);

    // Enter now closes the dialog; the images keep the one run's values.
    const QByteArray written = f.images.read(QStringLiteral("image0-0.jpg"));
    QTest::keyClick(f.dialog.get(), Qt::Key_Return);
    QVERIFY(!f.dialog->isVisible());
    QCOMPARE(f.c.feedback.questions.size(), 1);
    QCOMPARE(f.images.read(QStringLiteral("image0-0.jpg")), written);
}

// A run that emptied fields is remembered, but the next opening offers the last mode that empties
// none; choosing the clearing mode again takes a click and still asks before the run.
void frmApplyTemplateTest::theModeThatEmptiesFieldsIsNeverChosenForTheUser()
{
    Fixture f;
    f.useTemplate();
    f.open();
    f.c.feedback.answers = {false, false};
    f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->click();
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QTest::mouseClick(f.get(QStringLiteral("lblKeepOriginalIPTC_2")), Qt::LeftButton);
    f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
    QCOMPARE(f.c.feedback.questions.last(), f.c.text(InterfaceText::ConfirmMergeOverwriteAll));
    const IniFile ini(f.c.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("Configuration"), QStringLiteral("ApplyTemplateOption")), QStringLiteral("2"));

    f.open();
    QVERIFY(f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_1"))->isChecked());
    QVERIFY(!f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_2"))->isChecked());
    QVERIFY(f.get(QStringLiteral("chkAddKeywords"))->isEnabled());

    // Nothing remembered but the clearing mode: the dialog opens on the mode that keeps most.
    f.c.context.settings.applyTemplateNonClearingOption = 0;
    f.c.context.settings.applyTemplateOption = 2;
    f.open();
    QVERIFY(f.get<QRadioButton>(QStringLiteral("optKeepOriginalIPTC_0"))->isChecked());
}

QTEST_MAIN(frmApplyTemplateTest)
#include "frmApplyTemplateTest.moc"
