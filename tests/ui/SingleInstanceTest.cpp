// A second start activates the first window and ends without touching the configuration file.
#include "WindowTestSupport.h"

#include "platform/gui/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace zelvarion;
using namespace zelvarion::test;

class SingleInstanceTest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondInstanceKnocksAndTheFirstActivates();
    void withoutARunningInstanceNobodyAnswers();
    void aSecondStartHandsItsFilesToTheFirst();
    void aRequestCutShortGivesNoFiles();
    void secondProgramStartExitsWithoutWritingTheConfiguration();
};

void SingleInstanceTest::secondInstanceKnocksAndTheFirstActivates()
{
    const QString key = SingleInstance::keyFor(QStringLiteral("/tmp/zelvarion-test-knock"));
    SingleInstance first(key);
    int activations = 0;
    QVERIFY(first.listen([&activations](const QStringList &) { ++activations; }));
    SingleInstance second(key);
    QVERIFY(second.activateRunningInstance());
    QTRY_COMPARE(activations, 1);
}

// Names may hold blanks, line breaks and bytes outside UTF-8 (decoded with their marker).
void SingleInstanceTest::aSecondStartHandsItsFilesToTheFirst()
{
    const QString key = SingleInstance::keyFor(QStringLiteral("/tmp/zelvarion-test-files"));
    SingleInstance first(key);
    QList<QStringList> received;
    QVERIFY(first.listen([&received](const QStringList &files) { received << files; }));
    const QStringList files{QStringLiteral("/photos/a quay.jpg"), QStringLiteral("/photos/two\nlines.jpg"),
                            QString::fromUtf8("/photos/caf\u00e9\u034f.jpg")};
    QVERIFY(SingleInstance(key).activateRunningInstance(files));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received.front(), files);
    QVERIFY(SingleInstance(key).activateRunningInstance());
    QTRY_COMPARE(received.size(), 2);
    QVERIFY(received.back().isEmpty());
}

void SingleInstanceTest::aRequestCutShortGivesNoFiles()
{
    const QByteArray whole = SingleInstance::request({QStringLiteral("/photos/a.jpg"), QStringLiteral("/b.jpg")});
    QCOMPARE(SingleInstance::filesOf(whole).value_or(QStringList()).size(), 2);
    for (qsizetype length = 0; length < whole.size(); ++length)
        QVERIFY2(!SingleInstance::filesOf(whole.left(length)), whole.left(length).constData());
    QVERIFY(!SingleInstance::filesOf(QByteArrayLiteral("activate\nopen /x.jpg\nend\n")));
}

void SingleInstanceTest::withoutARunningInstanceNobodyAnswers()
{
    SingleInstance lonely(SingleInstance::keyFor(QStringLiteral("/tmp/zelvarion-test-nobody")));
    QVERIFY(!lonely.activateRunningInstance());
}

// The program folder of the window program is its executable's folder, so a copy of the
// executable in a fresh folder runs on a program folder of its own.
void SingleInstanceTest::secondProgramStartExitsWithoutWritingTheConfiguration()
{
    TempFolder folder;
    const QString exe = folder.file(QStringLiteral("zelvarion"));
    QVERIFY(QFile::copy(QStringLiteral(ZELVARION_GUI_EXE), exe));
    QFile::setPermissions(exe, QFileInfo(QStringLiteral(ZELVARION_GUI_EXE)).permissions());

    QProcess first;
    first.setProgram(exe);
    first.setArguments({QStringLiteral("-platform"), QStringLiteral("offscreen")});
    first.start();
    QVERIFY(first.waitForStarted());
    const QString ini = folder.file(QStringLiteral("Zelvarion.ini"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(ini), 20000); // LastDB written by the start-up
    QTest::qWait(500);
    QFile before(ini);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray contents = before.readAll();
    const QDateTime modified = QFileInfo(ini).lastModified();

    QProcess second;
    second.start(exe, {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    QVERIFY(second.waitForFinished(20000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(QFileInfo(ini).lastModified(), modified);
    QFile after(ini);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), contents);
    QVERIFY(first.state() == QProcess::Running);

    first.terminate();
    if (!first.waitForFinished(5000))
        first.kill();
}

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
