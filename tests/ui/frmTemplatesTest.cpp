// Window tests of the template dialog: add with Enter and its refusals, rename, remove with its
// question, edit, and the tick of the template in use. (The name rules are the store's tests.)
#include "CaptioningTestSupport.h"

#include "ui/frmTemplates.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

struct Fixture
{
    CaptioningContext c;
    frmTemplates dialog{c.context, c.feedback};
    QStringList edited;

    Fixture() { dialog.setEditOpener([this](const QString &name) { edited << name; }); }
    QLineEdit *name() { return control<QLineEdit>(dialog, QStringLiteral("rtfTemplate")); }
    QTreeWidget *list() { return control<QTreeWidget>(dialog, QStringLiteral("lvTemplates")); }
    QString status() { return control<QLabel>(dialog, QStringLiteral("lblStatus"))->text(); }
    void click(const char *button) { control<QPushButton>(dialog, QLatin1String(button))->click(); }
    void type(const QString &text)
    {
        name()->clear();
        QTest::keyClicks(name(), text);
    }
    QStringList rows()
    {
        QStringList found;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list()->topLevelItem(i);
            found << item->text(0) + (item->checkState(0) == Qt::Checked ? QStringLiteral(" [x]") : QString());
        }
        return found;
    }
    void select(int row) { list()->setCurrentItem(list()->topLevelItem(row)); }
};

} // namespace

class frmTemplatesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void addWithEnterAndReplaceRefuseTwinsOfAnyCase();
    void removeAsksFirstAndKeepsWildcardNamesApart();
    void editOpensTheSelectedTemplateAndRefreshesTheCounts();
    void tickingMakesTheOnlyTemplateInUse();
    void aCatalogueThatCannotBeOpenedIsReportedOnceAndTheListStays();
    void theDateOfTheLastSaveStaysWholeAtEverySize();
};

void frmTemplatesTest::addWithEnterAndReplaceRefuseTwinsOfAnyCase()
{
    Fixture f;
    QCOMPARE(f.list()->headerItem()->text(0), f.c.text(InterfaceText::TemplateNameLabel));
    f.dialog.show();
    f.type(QStringLiteral("  Studio "));
    QTest::keyClick(f.name(), Qt::Key_Return);
    QCOMPARE(f.rows(), QStringList{QStringLiteral("Studio")});
    const QTreeWidgetItem *row = f.list()->topLevelItem(0);
    QCOMPARE(row->text(1), QStringLiteral("0"));
    QCOMPARE(row->text(2), QStringLiteral("0"));
    QVERIFY(!row->text(3).isEmpty());
    QVERIFY(f.dialog.isVisible()); // Enter adds; it does not close the dialog

    for (const char *twin : {"studio", "STUDIO"}) {
        f.type(QString::fromLatin1(twin));
        f.click("cmdAddTemplate");
        QCOMPARE(f.status(), f.c.message(Message::AlreadyInList));
    }
    f.type(QStringLiteral("   "));
    f.click("cmdAddTemplate");
    QVERIFY(f.status().isEmpty());
    f.type(QStringLiteral("Studio 2"));
    f.click("cmdAddTemplate");
    QCOMPARE(f.rows(), (QStringList{QStringLiteral("Studio"), QStringLiteral("Studio 2")}));
    // Replace renames the selected row, and refuses a twin as Add does.
    f.select(1);
    f.type(QStringLiteral("STUDIO"));
    f.click("cmdReplaceTemplate");
    QCOMPARE(f.status(), f.c.message(Message::AlreadyInList));
    f.select(1); // every command refreshes the list
    f.type(QStringLiteral("Client's set"));
    f.click("cmdReplaceTemplate");
    QCOMPARE(f.rows(), (QStringList{QStringLiteral("Client's set"), QStringLiteral("Studio")}));
    QVERIFY(f.c.feedback.messages.empty());
}

void frmTemplatesTest::removeAsksFirstAndKeepsWildcardNamesApart()
{
    Fixture f;
    f.c.addTemplate(QStringLiteral("a_c"));
    f.c.addTemplate(QStringLiteral("abc"));
    f.dialog.updateListTemplates();
    f.select(0);
    f.c.feedback.answers = {false};
    f.click("cmdRemoveTemplate");
    QCOMPARE(f.c.feedback.questions, QStringList{f.c.text(InterfaceText::RemoveTemplateQuestion) + QStringLiteral("\na_c")});
    QCOMPARE(f.rows().size(), 2);
    f.select(0);
    f.click("cmdRemoveTemplate"); // answered Yes
    QCOMPARE(f.rows(), QStringList{QStringLiteral("abc")});
}

void frmTemplatesTest::editOpensTheSelectedTemplateAndRefreshesTheCounts()
{
    Fixture f;
    f.c.addTemplate(QStringLiteral("l'été"));
    f.dialog.updateListTemplates();
    f.click("cmdEditTemplate");
    QVERIFY(f.edited.isEmpty()); // nothing selected
    f.dialog.setEditOpener([&f](const QString &name) {
        f.edited << name;
        TemplateValues values;
        values.fields[20] = QStringLiteral("Paris");
        values.customized[0] = {QStringLiteral("200"), QStringLiteral("x")};
        f.c.store().save(name, values, QStringLiteral("edited"));
    });
    f.select(0);
    f.click("cmdEditTemplate");
    QCOMPARE(f.edited, QStringList{QStringLiteral("l'été")});
    const QTreeWidgetItem *row = f.list()->topLevelItem(0);
    QCOMPARE(row->text(1), QStringLiteral("1"));
    QCOMPARE(row->text(2), QStringLiteral("1"));
    QCOMPARE(row->text(3), QStringLiteral("edited"));
    Q_EMIT f.list()->itemDoubleClicked(f.list()->topLevelItem(0), 0);
    QCOMPARE(f.edited.size(), 2);
}

void frmTemplatesTest::tickingMakesTheOnlyTemplateInUse()
{
    Fixture f;
    f.c.addTemplate(QStringLiteral("A"), {}, true);
    f.c.addTemplate(QStringLiteral("B"));
    f.dialog.updateListTemplates();
    QCOMPARE(f.rows(), (QStringList{QStringLiteral("A [x]"), QStringLiteral("B")}));
    f.list()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    QCoreApplication::processEvents();
    QCOMPARE(f.rows(), (QStringList{QStringLiteral("A"), QStringLiteral("B [x]")}));
    f.list()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    QCoreApplication::processEvents();
    QCOMPARE(f.rows(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    QVERIFY(!f.c.store().inUse().record.has_value());
}

// Each command reports the failed open once; the list is not read again, which would only
// report it a second time, and keeps what it showed.
void frmTemplatesTest::aCatalogueThatCannotBeOpenedIsReportedOnceAndTheListStays()
{
    Fixture f;
    f.c.addTemplate(QStringLiteral("A"));
    f.dialog.updateListTemplates();
    f.c.context.catalogue.path = f.c.folder.file(QStringLiteral("gone/Images.db"));
    f.type(QStringLiteral("B"));
    f.click("cmdAddTemplate");
    QCOMPARE(f.c.feedback.messages.size(), std::size_t(1));
    QVERIFY(f.c.feedback.texts().first().startsWith(QStringLiteral("Cannot open '")));
    QCOMPARE(f.rows(), QStringList{QStringLiteral("A")});

    f.select(0);
    f.click("cmdRemoveTemplate"); // answered Yes
    QCOMPARE(f.c.feedback.messages.size(), std::size_t(2));
    f.list()->topLevelItem(0)->setCheckState(0, Qt::Checked);
    QCoreApplication::processEvents();
    QCOMPARE(f.c.feedback.messages.size(), std::size_t(3));
    QCOMPARE(f.rows(), QStringList{QStringLiteral("A [x]")});
}

// A date is wider than the column's usual width in most locales; the column widens to it, and the
// name column gives up the room when the window is made smaller or larger.
void frmTemplatesTest::theDateOfTheLastSaveStaysWholeAtEverySize()
{
    Fixture f;
    f.dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
    f.type(QStringLiteral("Brest harbour, spring shoot"));
    f.click("cmdAddTemplate");
    const QTreeWidgetItem *row = f.list()->topLevelItem(0);
    QVERIFY(row);
    const QString saved = row->text(3);
    QVERIFY(!saved.isEmpty());
    for (const QSize size : {f.dialog.minimumSize(), QSize(640, 420), QSize(1000, 600)}) {
        f.dialog.resize(size);
        QCoreApplication::processEvents();
        const QRect cell = f.list()->visualItemRect(row).intersected(
            QRect(f.list()->header()->sectionViewportPosition(3), 0, f.list()->columnWidth(3), 1 << 20));
        const int needed = f.list()->fontMetrics().horizontalAdvance(saved);
        QVERIFY2(cell.width() > needed, qPrintable(QStringLiteral("%1 px for %2 px").arg(cell.width()).arg(needed)));
        QVERIFY(cell.right() <= f.list()->viewport()->width());
    }
}

QTEST_MAIN(frmTemplatesTest)
#include "frmTemplatesTest.moc"
