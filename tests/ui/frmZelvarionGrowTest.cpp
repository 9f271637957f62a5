// The main window at its designed size and larger: the cells keep their places at the designed
// size, grow with the window, sharpen from the file, and the detail panel takes the room; an image
// opened with the program is shown; the detail panel gives every date in one form.
#include "LayoutCheck.h"
#include "WindowTestSupport.h"

#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/SqlText.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

// One catalogue row: folder and file, the file name also as the caption (so a search finds it),
// then columns by number.
QString imageRow(const QString &folder, const QString &file, const std::vector<std::pair<int, QString>> &columns = {})
{
    QStringList values(48, QString());
    values[0] = folder;
    values[1] = file;
    values[34] = file;
    for (const auto &[column, value] : columns)
        values[column] = value;
    QStringList quoted;
    for (const QString &value : values)
        quoted << sqlText(value);
    return QStringLiteral("insert into Images values(%1);").arg(quoted.join(u','));
}

struct GrowFixture
{
    ProgramFolderFixture folder;
    StartedWindow started;
    frmZelvarion *w = nullptr;

    GrowFixture()
    {
        started.start();
        w = started.window.get();
    }
    void execute(const QStringList &statements) const
    {
        CatalogueDb db;
        db.path = folder.file(QStringLiteral("Images.db"));
        QVERIFY(db.open());
        for (const QString &statement : statements)
            QCOMPARE(db.execute(statement), 0);
        db.close();
    }
    void search(const QString &text) const
    {
        find<QComboBox>(w, "lstTxtSearch")->setCurrentText(text);
        find<QPushButton>(w, "cmdSearch")->click();
    }
    QRect inWindow(const QWidget *control) const { return QRect(control->mapTo(w, QPoint()), control->size()); }
    QRect thumb(int cell) const { return find<QLabel>(w, "ImageThumb", cell)->geometry(); }
    QRect name(int cell) const { return find<QLabel>(w, "lblImage", cell)->geometry(); }
    QString detail() const { return find<QTextEdit>(w, "rtfIPTC")->toPlainText(); }
};

// The cells' designed places, in twips from the frame: lefts of the five columns, tops of the
// name labels of the two rows (the thumbnail box of 1800 by 1200 lies above each).
constexpr int kLefts[] = {120, 2160, 4200, 6240, 8280};
constexpr int kTops[] = {1620, 3420};

} // namespace

class frmZelvarionGrowTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void designedSizeKeepsTheCellsAtTheirTwipsPositions();
    void aLargerWindowGrowsTheCellsAndGivesTheDetailPanelTheRoom();
    void maximiseIsOfferedAndTheNormalPlaceIsRemembered();
    void aCellLargerThanItsPictureIsRedrawnFromTheFile();
    void anOpenedImageInTheCatalogueIsShownWithItsDetail();
    void anOpenedImageOutsideTheCatalogueIsSaidSo();
    void theDetailPanelGivesEveryDateInTheLocaleShortForm();
};

void frmZelvarionGrowTest::designedSizeKeepsTheCellsAtTheirTwipsPositions()
{
    GrowFixture f;
    QCOMPARE(f.w->width(), 715);
    QCOMPARE(find<QGroupBox>(f.w, "FrameImages")->width(), 699);
    for (int i = 0; i < 10; ++i) {
        const QPoint place(kLefts[i % 5] / 15, kTops[i / 5] / 15);
        QCOMPARE(f.name(i).topLeft(), place);
        QCOMPARE(f.name(i).width(), 120);
        QCOMPARE(f.thumb(i), QRect(place - QPoint(0, 80), QSize(120, 80)));
    }
}

void frmZelvarionGrowTest::aLargerWindowGrowsTheCellsAndGivesTheDetailPanelTheRoom()
{
    GrowFixture f;
    QStringList rows;
    for (int i = 1; i <= 14; ++i)
        rows << imageRow(QStringLiteral("/photos/"), QStringLiteral("street-%1.jpg").arg(i));
    f.execute(rows);
    f.w->showCatalogueCount(14); // as the start-up does: no help frame over the cells
    f.search(QStringLiteral("street"));
    auto *panel = find<QTextEdit>(f.w, "rtfIPTC");
    auto *frame = find<QGroupBox>(f.w, "FrameImages");
    const QSize designPanel = panel->size();
    const QRect designName = f.name(7);

    f.w->resize(1600, 1000);
    QTRY_COMPARE(f.w->width(), 1600);
    // The frame and the panel span the width: no band stays empty beside them.
    QVERIFY2(f.inWindow(frame).right() >= 1600 - 16, qPrintable(QString::number(f.inWindow(frame).right())));
    QVERIFY(panel->width() >= 1600 - 20);
    QVERIFY(panel->width() > designPanel.width() * 2);
    QVERIFY(panel->height() > designPanel.height());
    QVERIFY(panel->height() >= 1000 / 3);
    QCOMPARE(panel->mapTo(f.w, QPoint(0, panel->height())).y(), 1000 - 3);
    // Larger cells, in order, clear of each other, still ten a page.
    QVERIFY(f.name(7).width() > designName.width() * 3 / 2);
    QVERIFY(f.name(7).top() > designName.top());
    for (int i = 0; i < 10; ++i) {
        if (i % 5 != 4)
            QVERIFY(f.name(i).right() < f.name(i + 1).left());
        QVERIFY(frame->rect().contains(f.name(i)));
    }
    QVERIFY(f.name(4).bottom() < f.thumb(5).top());
    QCOMPARE(frame->title(), QStringLiteral("1/2"));
    const QStringList faults = layoutFaults(f.w);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

    // Back to the designed size, back to the designed places.
    f.w->resize(715, 640);
    QTRY_COMPARE(f.name(7), designName);
    QCOMPARE(panel->width(), designPanel.width());
}

void frmZelvarionGrowTest::maximiseIsOfferedAndTheNormalPlaceIsRemembered()
{
    GrowFixture f;
    QVERIFY(f.w->windowFlags() & Qt::WindowMaximizeButtonHint);
    f.w->resize(500, 640);
    QCOMPARE(f.w->width(), 715); // narrower, the ten cells would not fit
    f.w->showMaximized();
    QTRY_VERIFY(f.w->isMaximized());
    f.w->close();
    const IniFile ini(f.folder.file(QStringLiteral("Zelvarion.ini")));
    QCOMPARE(ini.read(QStringLiteral("MainWindow"), QStringLiteral("Width")), QString::number(715 * 15));

    // It reopens maximised, and restoring it gives back the normal place.
    StartedWindow again;
    again.start();
    QTRY_VERIFY(again.window->isMaximized());
    QCOMPARE(again.window->normalGeometry().width(), 715);
    again.window->showNormal();
    QTRY_COMPARE(again.window->width(), 715);
    again.window->close();
    QCOMPARE(ini.read(QStringLiteral("MainWindow"), QStringLiteral("Maximized")), QStringLiteral("0"));
    StartedWindow normal;
    normal.start();
    QVERIFY(!normal.window->isMaximized());
}

// A window three times the designed size draws a cell three times its picture: the page shows at
// once with the picture it has, a sharper one made from the file follows and is kept for the
// next visit of the page.
void frmZelvarionGrowTest::aCellLargerThanItsPictureIsRedrawnFromTheFile()
{
    GrowFixture f;
    QImage photo(1200, 900, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    const QString path = f.folder.file(QStringLiteral("harbour.jpg"));
    QVERIFY(photo.save(path, "JPEG"));
    QStringList rows{imageRow(f.folder.path() + u'/', QStringLiteral("harbour.jpg"))};
    for (int i = 1; i <= 10; ++i)
        rows << imageRow(QStringLiteral("/elsewhere/"), QStringLiteral("harbour-%1.jpg").arg(i));
    f.execute(rows);
    f.search(QStringLiteral("harbour"));
    auto *cell = find<QLabel>(f.w, "ImageThumb", 0);
    const int madeAtFirst = cell->pixmap().width();
    QVERIFY(madeAtFirst > 0 && madeAtFirst <= 210);

    f.w->resize(2000, 1400);
    QVERIFY(cell->width() > madeAtFirst * 3 / 2);
    QCOMPARE(cell->pixmap().width(), madeAtFirst); // not waiting for the file
    QTRY_COMPARE(cell->pixmap().width(), cell->width());
    QCOMPARE(cell->pixmap().height(), cell->height());

    find<QToolButton>(f.w, "cmdForward")->click();
    find<QToolButton>(f.w, "cmdBack")->click();
    QCOMPARE(cell->pixmap().width(), cell->width()); // at once, from what was made before
}

void frmZelvarionGrowTest::anOpenedImageInTheCatalogueIsShownWithItsDetail()
{
    GrowFixture f;
    f.execute({imageRow(QStringLiteral("/photos/port/"), QStringLiteral("quay.jpg"), {{34, QStringLiteral("The quay")}}),
               imageRow(QStringLiteral("/photos/port/"), QStringLiteral("quay 2.jpg"))});
    f.w->showOpenedImage(QStringLiteral("/photos/port/quay.jpg"));
    QVERIFY(f.started.feedback.messages.empty());
    QCOMPARE(f.w->result().count(), 1);
    QCOMPARE(f.w->selectedCell(), 0);
    QCOMPARE(find<QLabel>(f.w, "lblImage", 0)->toolTip(), QStringLiteral("quay.jpg"));
    QVERIFY(f.detail().contains(QStringLiteral("/photos/port/quay.jpg")));
    QVERIFY(f.detail().contains(QStringLiteral("The quay")));
    auto *box = find<QComboBox>(f.w, "lstTxtSearch");
    QVERIFY(box->currentText().isEmpty());
    QCOMPARE(box->lineEdit()->placeholderText(), f.w->context().language.text(InterfaceText::OpenedImageResult));
}

void frmZelvarionGrowTest::anOpenedImageOutsideTheCatalogueIsSaidSo()
{
    GrowFixture f;
    f.execute({imageRow(QStringLiteral("/photos/port/"), QStringLiteral("quay.jpg"))});
    const LanguagePack &pack = f.w->context().language;
    QVERIFY(pack.message(Message::ImageNotCatalogued).contains(u'#'));
    f.search(QStringLiteral("quay"));
    QCOMPARE(f.w->result().count(), 1);
    for (const QString &path : {QStringLiteral("/photos/port/quay.JPG"), QStringLiteral("/photos/quay.jpg"),
                                QStringLiteral("/photos/port/")}) {
        f.started.feedback.messages.clear();
        f.w->showOpenedImage(path);
        QCOMPARE(f.started.feedback.messages.size(), std::size_t(1));
        QCOMPARE(f.started.feedback.messages.front().text,
                 QString(pack.message(Message::ImageNotCatalogued)).replace(u'#', path));
        QCOMPARE(f.w->selectedCell(), -1);
        QCOMPARE(f.w->result().count(), 1); // the result on show stays
    }
}

void frmZelvarionGrowTest::theDetailPanelGivesEveryDateInTheLocaleShortForm()
{
    const QLocale before;
    GrowFixture f; // its start sets the locale of its pack; the French one is set after it
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    f.execute({imageRow(QStringLiteral("/photos/"), QStringLiteral("fair.jpg"),
                        {{37, QStringLiteral("2026/12/01")}, {39, QStringLiteral("2026/12/09")},
                         {42, QStringLiteral("2026 12 10")}, {43, QStringLiteral("09:30:00")},
                         {2 + 13, QStringLiteral("20261214")}})});
    f.search(QStringLiteral("fair"));
    f.w->clickCell(0);
    const QString text = f.detail();
    QLocale::setDefault(before);
    for (const char *shown : {"01/12/2026", "09/12/2026", "10/12/2026 09:30:00", "14/12/2026"})
        QVERIFY2(text.contains(QLatin1String(shown)), shown);
    for (const char *stored : {"2026/12", "2026 12", "20261214"})
        QVERIFY2(!text.contains(QLatin1String(stored)), stored);
    // The catalogue keeps what it stored.
    QCOMPARE(catalogueRows(f.folder.file(QStringLiteral("Images.db")),
                           QStringLiteral("select FileLastWriteDate, LastRevisionDate, CreatedDate from Images;")),
             QStringList{QStringLiteral("2026/12/09|2026 12 10|20261214")});
}

QTEST_MAIN(frmZelvarionGrowTest)
#include "frmZelvarionGrowTest.moc"
