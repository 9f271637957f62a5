// The catalogue's write lock: a second command is refused (the window) or waits (the command
// line) while another holds it, in this process or another; a holder killed outright leaves no
// lock behind; a lock that cannot be made refuses the command with the reason. On a server
// catalogue the server holds it, and the one refused is told who holds it.
#include "core/catalogue/CatalogueWriteLock.h"
#include "core/session/LanguagePack.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"
#include "support/TestServerDatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSysInfo>
#include <QThread>

#include <gtest/gtest.h>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

using namespace zelvarion;
using namespace zelvarion::test;

namespace {

class CatalogueWriteLockTest : public ::testing::Test
{
protected:
    CatalogueWriteLockTest()
    {
        language.loadShippedEnglish();
        catalogue = folder.write(QStringLiteral("Images.db"), "");
    }

    // Another process holding the lock until it is killed.
    pid_t holdInAnotherProcess() const
    {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            FileLock lock(CatalogueWriteLock::lockPathOf(catalogue));
            const char held = lock.lock() == FileLock::Outcome::Locked ? 'y' : 'n';
            (void)!::write(ready[1], &held, 1);
            for (;;)
                ::pause();
        }
        char held = 0;
        EXPECT_EQ(::read(ready[0], &held, 1), 1);
        EXPECT_EQ(held, 'y');
        ::close(ready[0]);
        ::close(ready[1]);
        return child;
    }

    TempFolder folder;
    QString catalogue;
    LanguagePack language;
    RecordingFeedback feedback;
};

} // namespace

TEST_F(CatalogueWriteLockTest, aSecondCommandIsRefusedUntilTheFirstEnds)
{
    CatalogueWriteLock first(catalogue);
    ASSERT_TRUE(first.takeOrRefuse(feedback, language));
    // The same catalogue by another path is the same lock.
    CatalogueWriteLock second(folder.path() + QStringLiteral("/./Images.db"));
    EXPECT_FALSE(second.takeOrRefuse(feedback, language));
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text,
              language.message(Message::CatalogueBusyRefused).replace(u'#', folder.path() + QStringLiteral("/./Images.db")));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Warning);
    first.release();
    EXPECT_TRUE(second.takeOrRefuse(feedback, language));
    EXPECT_EQ(feedback.messages.size(), 1u);
}

TEST_F(CatalogueWriteLockTest, theCommandLineWaitsWithAMessageWhileAnotherProcessHoldsIt)
{
    const pid_t holder = holdInAnotherProcess();
    CatalogueWriteLock refused(catalogue);
    EXPECT_FALSE(refused.takeOrRefuse(feedback, language));
    // Killed outright half a second from now: the lock goes with it.
    std::thread killer([holder] {
        QThread::msleep(500);
        ::kill(holder, SIGKILL);
    });
    QElapsedTimer waited;
    waited.start();
    CatalogueWriteLock waiting(catalogue);
    EXPECT_TRUE(waiting.takeOrWait(feedback, language));
    killer.join();
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(waiting.held());
    EXPECT_TRUE(waiting.waited());
    EXPECT_GE(waited.elapsed(), 400);
    ASSERT_EQ(feedback.messages.size(), 2u);
    EXPECT_EQ(feedback.messages[1].text, language.message(Message::CatalogueBusyWaiting).replace(u'#', catalogue));
}

TEST_F(CatalogueWriteLockTest, aLockThatCannotBeMadeRefusesWithTheReason)
{
    QDir().mkpath(CatalogueWriteLock::lockPathOf(catalogue)); // a folder where the lock file goes
    CatalogueWriteLock lock(catalogue);
    EXPECT_FALSE(lock.takeOrWait(feedback, language));
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_TRUE(feedback.messages[0].text.startsWith(
        language.message(Message::CatalogueNotLocked).replace(u'#', CatalogueWriteLock::lockPathOf(catalogue))));
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
}

TEST(CatalogueWriteLockOnServer, refusesNamingTheHolderAndAKilledHolderFreesIt)
{
    TestServerDatabase server;
    ZELVARION_REQUIRE_SERVER(server);
    LanguagePack language;
    language.loadShippedEnglish();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        RecordingFeedback quiet;
        CatalogueWriteLock lock(server.address());
        const char held = lock.takeOrWait(quiet, language) ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        for (;;)
            ::pause();
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    ::close(ready[0]);
    ::close(ready[1]);

    RecordingFeedback feedback;
    CatalogueWriteLock refused(server.address());
    EXPECT_FALSE(refused.takeOrRefuse(feedback, language));
    EXPECT_FALSE(refused.held());
    const QString user = qEnvironmentVariable("USER").isEmpty() ? qEnvironmentVariable("USERNAME") : qEnvironmentVariable("USER");
    ASSERT_EQ(feedback.messages.size(), 1u);
    EXPECT_EQ(feedback.messages[0].text,
              language.message(Message::CatalogueBusyRefused).replace(u'#', server.address()) + u'\n'
                  + language.message(Message::CatalogueHeldBy).replace(u'%', QSysInfo::machineHostName()).replace(u'#', user));

    // Killed outright: the server drops its connection and the lock with it; the wait ends then.
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    CatalogueWriteLock waiting(server.address());
    ASSERT_TRUE(waiting.takeOrWait(feedback, language));
    EXPECT_TRUE(waiting.held());

    // One process, two commands: the lock is the connection's, not the process's.
    CatalogueWriteLock second(server.address());
    EXPECT_FALSE(second.takeOrRefuse(feedback, language));
    waiting.release();
    EXPECT_FALSE(waiting.held());
    EXPECT_TRUE(second.takeOrRefuse(feedback, language));
    second.release();
}

TEST(CatalogueWriteLockOnServer, aServerThatCannotBeReachedRefusesWithTheReason)
{
    LanguagePack language;
    language.loadShippedEnglish();
    RecordingFeedback feedback;
    const QString address = QStringLiteral("postgresql://nobody@127.0.0.1:1/none");
    CatalogueWriteLock lock(address);
    EXPECT_FALSE(lock.takeOrWait(feedback, language));
    EXPECT_FALSE(lock.held());
    ASSERT_EQ(feedback.messages.size(), 1u);
    const QString expected = language.message(Message::CatalogueNotLocked).replace(u'#', address) + u'\n';
    EXPECT_TRUE(feedback.messages[0].text.startsWith(expected)) << feedback.messages[0].text.toStdString();
    EXPECT_GT(feedback.messages[0].text.size(), expected.size()); // the engine's reason follows
    EXPECT_EQ(feedback.messages[0].icon, MessageIcon::Critical);
}
