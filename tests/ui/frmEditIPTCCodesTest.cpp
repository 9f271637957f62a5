// Window tests of the captioning extras in both shipped packs: codes typed in the edit dialog's
// text boxes and list entries are replaced at once (an unknown one stays and is named), the edit
// options choose the code files, and the template editor refuses a variable a run could not expand.
#include "CaptioningTestSupport.h"

#include "core/captioning/CodeReplacements.h"
#include "core/session/PackText.h"
#include "support/TempFolder.h"
#include "ui/Controls.h"
#include "ui/frmEditIPTC.h"
#include "ui/frmEditIPTCOptions.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace zelvarion;
using namespace zelvarion::test;
using namespace zelvarion::controls;

namespace {

const char *const kPacks[] = {"English", "French"};

struct Fixture
{
    CaptioningContext c;
    std::unique_ptr<frmEditIPTC> dialog;

    // The pack, and a code file of two codes in the edit options.
    explicit Fixture(const char *pack)
    {
        QVERIFY(c.context.language.load(programFolder::languageFolder(), QLatin1String(pack)));
        const QString codes = c.folder.write(QStringLiteral("codes.txt"), "cc8\tCentre culturel\tCC de Lyon\nsea\tLa mer\n");
        c.context.settings.codeFiles = codes;
        c.context.settings.codeDelimiter = QStringLiteral("=");
    }
    frmEditIPTC &openTemplate()
    {
        c.addTemplate(QStringLiteral("T"));
        dialog = std::make_unique<frmEditIPTC>(c.context, c.feedback, QStringLiteral("T"));
        dialog->show();
        return *dialog;
    }
    template <typename T = QWidget>
    T *get(const QString &name) { return control<T>(*dialog, name); }
    QPlainTextEdit *caption() { return get<QPlainTextEdit>(indexed("txtIPTC", kCaptionIndex)); }
    QLineEdit *keyword() { return get<QLineEdit>(QStringLiteral("rtfKeyword")); }
    QString status() { return get<QLabel>(QStringLiteral("lblStatus"))->text(); }
};

// The codes typed in the caption and the keyword entry, and what they became.
void typeCodesAndCheck(Fixture &f)
{
    QTest::keyClicks(f.caption(), QStringLiteral("Au =cc8=, puis =cc8#2= et =sea="));
    QCOMPARE(f.caption()->toPlainText(), QStringLiteral("Au Centre culturel, puis CC de Lyon et La mer"));
    QVERIFY(f.status().isEmpty());
    QTest::keyClicks(f.keyword(), QStringLiteral("=cc8#2="));
    QCOMPARE(f.keyword()->text(), QStringLiteral("CC de Lyon"));
    QTest::keyClicks(f.keyword(), QStringLiteral(" =cc8="));
    QCOMPARE(f.keyword()->text(), QStringLiteral("CC de Lyon Centre culturel"));
    // An equals sign that closes no code is left alone: "a = b =" holds blanks.
    QTest::keyClicks(f.caption(), QStringLiteral(" a = b ="));
    QVERIFY(f.caption()->toPlainText().endsWith(QStringLiteral(" a = b =")));
    QVERIFY(f.status().isEmpty());
}

} // namespace

class frmEditIPTCCodesTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void typedCodesAreReplacedInACaptionAndAKeyword();
    void anUnknownCodeStaysAndIsNamed();
    void codesAreReplacedOnAnImageToo();
    void theDelimiterOfTheOptionsIsTheOneTyped();
    void optionsChooseTheFilesAndNameACodeGivenTwice();
    void aVariableARunCouldNotExpandIsNotSaved();
};

void frmEditIPTCCodesTest::typedCodesAreReplacedInACaptionAndAKeyword()
{
    for (const char *pack : kPacks) {
        Fixture f(pack);
        f.openTemplate();
        typeCodesAndCheck(f);
        QTest::keyClick(f.keyword(), Qt::Key_Return);
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        const TemplateRecord saved = *f.c.store().load(QStringLiteral("T"));
        QCOMPARE(saved.fields[kCaptionIndex], QStringLiteral("Au Centre culturel, puis CC de Lyon et La mer a = b ="));
        QCOMPARE(saved.fields[kKeywordsIndex], QStringLiteral("CC de Lyon Centre culturel"));
    }
}

void frmEditIPTCCodesTest::anUnknownCodeStaysAndIsNamed()
{
    for (const char *pack : kPacks) {
        Fixture f(pack);
        f.openTemplate();
        QTest::keyClicks(f.caption(), QStringLiteral("Vue =zz="));
        QCOMPARE(f.caption()->toPlainText(), QStringLiteral("Vue =zz="));
        QCOMPARE(f.status(), unknownCodeText(QStringLiteral("=zz="), &f.c.context.language));
        QVERIFY(f.status().contains(QStringLiteral("=zz=")));
        QTest::keyClicks(f.keyword(), QStringLiteral("=cc8#3="));
        QCOMPARE(f.keyword()->text(), QStringLiteral("=cc8#3=")); // cc8 has two replacements
        QCOMPARE(f.status(), unknownCodeText(QStringLiteral("=cc8#3="), &f.c.context.language));
        // Typing on clears the mark as any typing clears the status line.
        QTest::keyClicks(f.keyword(), QStringLiteral("x"));
        QVERIFY(f.status().isEmpty());
    }
}

void frmEditIPTCCodesTest::codesAreReplacedOnAnImageToo()
{
    for (const char *pack : kPacks) {
        Fixture f(pack);
        TempFolder images;
        QVERIFY(QFile::copy(testDataFile(QStringLiteral("iptc/pillow/Tests/images/iptc.jpg")), images.file(QStringLiteral("a.jpg"))));
        QFile::setPermissions(images.file(QStringLiteral("a.jpg")), QFile::ReadOwner | QFile::WriteOwner);
        f.c.context.settings.readIPTC = true;
        const std::vector<ResultRow> rows{{images.path() + u'/', QStringLiteral("a.jpg"), {}}};
        f.dialog = std::make_unique<frmEditIPTC>(f.c.context, f.c.feedback, rows, 1);
        f.dialog->show();
        const QString before = f.caption()->toPlainText();
        f.caption()->moveCursor(QTextCursor::End);
        QTest::keyClicks(f.caption(), QStringLiteral(" =sea="));
        QCOMPARE(f.caption()->toPlainText(), before + QStringLiteral(" La mer"));
        QTest::keyClicks(f.keyword(), QStringLiteral("=cc8="));
        QCOMPARE(f.keyword()->text(), QStringLiteral("Centre culturel"));
    }
}

void frmEditIPTCCodesTest::theDelimiterOfTheOptionsIsTheOneTyped()
{
    Fixture f("English");
    f.c.context.settings.codeDelimiter = QStringLiteral("/");
    f.openTemplate();
    QTest::keyClicks(f.caption(), QStringLiteral("=cc8= /cc8#2/"));
    QCOMPARE(f.caption()->toPlainText(), QStringLiteral("=cc8= CC de Lyon"));
}

void frmEditIPTCCodesTest::optionsChooseTheFilesAndNameACodeGivenTwice()
{
    for (const char *pack : kPacks) {
        Fixture f(pack);
        f.c.context.settings.codeFiles.clear();
        const QString first = f.c.folder.write(QStringLiteral("places.txt"), "cc8\tCentre culturel\n");
        const QString second = f.c.folder.write(QStringLiteral("people.txt"), "jd\tJane Doe\ncc8\tautre\n");
        frmEditIPTCOptions dialog(f.c.context, f.c.feedback);
        auto *list = control<QLabel>(dialog, QStringLiteral("lblCodeFileList"));
        auto *problem = control<QLabel>(dialog, QStringLiteral("lblCodeFileProblem"));
        auto *delimiter = control<QLineEdit>(dialog, QStringLiteral("txtCodeDelimiter"));
        QCOMPARE(list->text(), f.c.text(InterfaceText::NoCodeFiles));
        QVERIFY(!control<QPushButton>(dialog, QStringLiteral("cmdClearCodeFiles"))->isEnabled());
        QCOMPARE(delimiter->text(), QStringLiteral("="));
        dialog.setCodeFilesChooser([&] { return QStringList{first}; });
        control<QPushButton>(dialog, QStringLiteral("cmdChooseCodeFiles"))->click();
        dialog.setCodeFilesChooser([&] { return QStringList{first, second}; }); // the first again: listed once
        control<QPushButton>(dialog, QStringLiteral("cmdChooseCodeFiles"))->click();
        QCOMPARE(list->text(), QStringLiteral("places.txt; people.txt"));
        QVERIFY2(problem->text().contains(QStringLiteral("cc8")) && problem->text().contains(QStringLiteral("people.txt:2"))
                     && problem->text().contains(QStringLiteral("places.txt")),
                 qPrintable(problem->text()));
        QVERIFY(problem->toolTip().contains(second)); // the whole path
        delimiter->clear();
        QTest::keyClicks(delimiter, QStringLiteral("a")); // a letter could be part of a code
        QVERIFY(delimiter->text().isEmpty());
        QTest::keyClicks(delimiter, QStringLiteral("/"));
        control<QPushButton>(dialog, QStringLiteral("cmdOK"))->click();
        QCOMPARE(codeFileList(f.c.context.settings.codeFiles), (QStringList{first, second}));
        QCOMPARE(f.c.context.settings.codeDelimiter, QStringLiteral("/"));

        frmEditIPTCOptions again(f.c.context, f.c.feedback);
        control<QPushButton>(again, QStringLiteral("cmdClearCodeFiles"))->click();
        QVERIFY(control<QLabel>(again, QStringLiteral("lblCodeFileProblem"))->text().isEmpty());
        control<QPushButton>(again, QStringLiteral("cmdOK"))->click();
        QVERIFY(f.c.context.settings.codeFiles.isEmpty());
    }
}

void frmEditIPTCCodesTest::aVariableARunCouldNotExpandIsNotSaved()
{
    for (const char *pack : kPacks) {
        Fixture f(pack);
        f.c.context.settings.controlLengthFields = true;
        f.openTemplate();
        // Length control counts what every image gets: "{Folder}" in a field of three characters.
        auto *countryCode = f.get<QLineEdit>(indexed("txtIPTC", iptcIndex("CountryCode")));
        countryCode->setText(QStringLiteral("{Folder}"));
        QVERIFY(f.status().isEmpty());
        QVERIFY(f.get<QPushButton>(QStringLiteral("cmdOK"))->isEnabled());
        QTest::keyClicks(f.caption(), QStringLiteral("{FileBase} in {Town}"));
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        QVERIFY(f.dialog->isVisible());
        const QString label = f.get<QLabel>(indexed("lblIPTC", kCaptionIndex))->text();
        QVERIFY2(f.status().startsWith(withColon(f.c.context.language, label) + QStringLiteral("{Town}")), qPrintable(f.status()));
        QVERIFY(f.c.store().load(QStringLiteral("T"))->fields[kCaptionIndex].isEmpty());
        f.caption()->setPlainText(QStringLiteral("{FileBase} in {City}, {{draft}}"));
        f.get<QPushButton>(QStringLiteral("cmdOK"))->click();
        QVERIFY(!f.dialog->isVisible());
        const TemplateRecord saved = *f.c.store().load(QStringLiteral("T"));
        QCOMPARE(saved.fields[kCaptionIndex], QStringLiteral("{FileBase} in {City}, {{draft}}"));
        QCOMPARE(saved.fields[std::size_t(iptcIndex("CountryCode"))], QStringLiteral("{Folder}"));
    }
}

QTEST_MAIN(frmEditIPTCCodesTest)
#include "frmEditIPTCCodesTest.moc"
