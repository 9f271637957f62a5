// Window tests of the entry boxes' offers: the keyword and supplemental category boxes of the edit
// dialog offer the catalogue's entries beginning with what is typed, whatever its case, most used
// first, in every pack; a word the catalogue does not hold is still added.
#include "CaptioningTestSupport.h"

#include "core/search/ImageRows.h"
#include "ui/frmEditIPTC.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

QString u8(const char *text) { return QString::fromUtf8(text); }

struct Fixture
{
    CaptioningContext c;
    std::unique_ptr<frmEditIPTC> dialog;

    // Élan on three images and élan on one are one entry of four; élite and sea on two; Église on one.
    explicit Fixture(const QString &pack)
    {
        QVERIFY(c.context.language.load(programFolder::languageFolder(), pack));
        const std::pair<const char *, const char *> images[] = {
            {"Élan; Église", "Sport"}, {"Élan; sea", "sport; Nature"}, {"élan; élite", ""}, {"élite; sea; Élan", ""}};
        CatalogueDb &db = c.context.catalogue;
        QVERIFY(db.open());
        int n = 0;
        for (const auto &[keywords, categories] : images)
            QCOMPARE(db.execute(insertImageStatement({{"Folder", u8("/p/")}, {"File", QString::number(++n) + u8(".jpg")},
                                                      {"Keywords", u8(keywords)}, {"SupplementalCategory", u8(categories)}})),
                     0);
        db.close();
        c.addTemplate(QStringLiteral("T"));
        dialog = std::make_unique<frmEditIPTC>(c.context, c.feedback, QStringLiteral("T"));
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QLineEdit *box(const char *name) { return control<QLineEdit>(*dialog, QLatin1String(name)); }
    // The offers on show under a box, in their order; empty when none are shown.
    static QStringList offered(const char *listName)
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            auto *view = qobject_cast<QAbstractItemView *>(window);
            if (!view || view->objectName() != QLatin1String(listName) || !view->isVisible())
                continue;
            QStringList texts;
            for (int row = 0; row < view->model()->rowCount(); ++row)
                texts << view->model()->index(row, 0).data().toString();
            return texts;
        }
        return {};
    }
    QStringList entries(const char *list)
    {
        QStringList found;
        auto *w = control<QListWidget>(*dialog, QLatin1String(list));
        for (int i = 0; i < w->count(); ++i)
            found << w->item(i)->text();
        return found;
    }
};

// Types text as a keyboard would, accented letters included (the test keyboard knows ASCII only).
void type(QWidget *box, const QString &text)
{
    for (const QChar letter : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(box, &release);
    }
}

void addPacks()
{
    QTest::addColumn<QString>("pack");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("French") << QStringLiteral("French");
}

} // namespace

class frmEditIPTCVocabularyTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void keywordsAreOfferedMostUsedFirstWhateverTheCase_data() { addPacks(); }
    void keywordsAreOfferedMostUsedFirstWhateverTheCase()
    {
        QFETCH(QString, pack);
        Fixture f(pack);
        QLineEdit *keyword = f.box("rtfKeyword");
        QCOMPARE(keyword->toolTip(), f.c.text(InterfaceText::EntrySuggestionsTip));
        type(keyword, u8("é"));
        QCOMPARE(Fixture::offered("lstKeywordSuggestions"), (QStringList{u8("Élan"), u8("élite"), u8("Église")}));
        type(keyword, u8("L"));
        QCOMPARE(Fixture::offered("lstKeywordSuggestions"), (QStringList{u8("Élan"), u8("élite")}));
        keyword->clear();
        type(keyword, u8("É"));
        QCOMPARE(Fixture::offered("lstKeywordSuggestions"), (QStringList{u8("Élan"), u8("élite"), u8("Église")}));
        keyword->clear();
        type(keyword, u8("e")); // no accent folding: nothing begins with a plain e
        QVERIFY(Fixture::offered("lstKeywordSuggestions").isEmpty());
    }

    void aChosenOfferIsAddedAndANewWordIsAcceptedToo_data() { addPacks(); }
    void aChosenOfferIsAddedAndANewWordIsAcceptedToo()
    {
        QFETCH(QString, pack);
        Fixture f(pack);
        QLineEdit *keyword = f.box("rtfKeyword");
        type(keyword, u8("ÉLI"));
        QCOMPARE(Fixture::offered("lstKeywordSuggestions"), QStringList{u8("élite")});
        QAbstractItemView *offers = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            offers = window->objectName() == u8("lstKeywordSuggestions") ? qobject_cast<QAbstractItemView *>(window) : offers;
        QVERIFY(offers);
        const QModelIndex first = offers->model()->index(0, 0);
        QTest::mouseClick(offers->viewport(), Qt::LeftButton, {}, offers->visualRect(first).center());
        QCOMPARE(keyword->text(), u8("élite"));
        QVERIFY(Fixture::offered("lstKeywordSuggestions").isEmpty());
        QTest::keyClick(keyword, Qt::Key_Return);
        QCOMPARE(f.entries("lstKeywords"), QStringList{u8("élite")});

        type(keyword, u8("Zanzibar"));
        QVERIFY(Fixture::offered("lstKeywordSuggestions").isEmpty());
        QTest::keyClick(keyword, Qt::Key_Return);
        QCOMPARE(f.entries("lstKeywords"), (QStringList{u8("élite"), u8("Zanzibar")}));
    }

    void supplementalCategoriesAreOfferedFromTheirOwnField()
    {
        Fixture f(QStringLiteral("English"));
        QLineEdit *category = f.box("rtfSupplementalCategory");
        type(category, u8("s"));
        QCOMPARE(Fixture::offered("lstSupplementalCategorySuggestions"), QStringList{u8("Sport")});
        category->clear();
        type(category, u8("é"));
        QVERIFY(Fixture::offered("lstSupplementalCategorySuggestions").isEmpty());
        type(category, u8("x"));
        QTest::keyClick(category, Qt::Key_Return);
        QCOMPARE(f.entries("lstSupplementalCategories"), QStringList{u8("éx")});
    }
};

QTEST_MAIN(frmEditIPTCVocabularyTest)
#include "frmEditIPTCVocabularyTest.moc"
