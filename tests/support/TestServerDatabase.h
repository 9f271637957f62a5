#pragma once

// A database of its own on the test server that scripts/pg-test-cluster.sh starts (its address in
// ZELVARION_TEST_PG), made for one test and dropped after it. Without the variable there is no
// server: tests skip, so a plain ctest passes on a machine without one.

#include "platform/PostgresEngine.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QString>

#include <memory>

namespace zelvarion::test {

class TestServerDatabase
{
public:
    static QString serverAddress() { return qEnvironmentVariable("ZELVARION_TEST_PG"); }

    TestServerDatabase()
    {
        if (serverAddress().isEmpty())
            return;
        static QAtomicInt made;
        m_name = QStringLiteral("zelvarion_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(made.fetchAndAddRelaxed(1));
        if (!runOnServer(QStringLiteral("drop database if exists %1").arg(m_name))
            || !runOnServer(QStringLiteral("create database %1 encoding 'UTF8' template template0").arg(m_name))) {
            m_name.clear();
            return;
        }
        const QString server = serverAddress();
        const qsizetype slash = server.indexOf(u'/', server.indexOf(QStringLiteral("://")) + 3);
        m_address = (slash < 0 ? server : server.left(slash)) + u'/' + m_name;
    }
    ~TestServerDatabase()
    {
        if (!m_name.isEmpty())
            runOnServer(QStringLiteral("drop database if exists %1 with (force)").arg(m_name));
    }
    TestServerDatabase(const TestServerDatabase &) = delete;
    TestServerDatabase &operator=(const TestServerDatabase &) = delete;

    // Empty when there is no server or the database could not be made (problem() says why).
    const QString &address() const { return m_address; }
    const QString &problem() const { return m_problem; }

private:
    bool runOnServer(const QString &statement)
    {
        const std::unique_ptr<EngineConnection> server = postgresEngine::openConnection(serverAddress(), m_problem);
        ResultTable ignored;
        return server && server->execute(statement, ignored, m_problem) == 0;
    }

    QString m_name;
    QString m_address;
    QString m_problem;
};

// Skips the test when there is no server; fails it when there is one but no database was made.
#define ZELVARION_REQUIRE_SERVER(database)                                                                          \
    do {                                                                                                             \
        if (::zelvarion::test::TestServerDatabase::serverAddress().isEmpty())                                        \
            GTEST_SKIP() << "no test server: ZELVARION_TEST_PG is unset (scripts/pg-test-cluster.sh starts one)";  \
        ASSERT_FALSE((database).address().isEmpty()) << (database).problem().toStdString();                         \
    } while (false)

} // namespace zelvarion::test
