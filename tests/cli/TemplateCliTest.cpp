// zelvarion-cli template on a fresh catalogue: the store's commands and their refusals, and set
// holding values to the edit dialog's rules.
#include "CliRunner.h"

#include "support/TempFolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace zelvarion::test;

namespace {

class TemplateCliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir().mkpath(folder.file(QStringLiteral("photos")));
        ASSERT_EQ(cli({QStringLiteral("scan"), folder.file(QStringLiteral("photos"))}).exitCode, 0);
    }
    CliRun cli(QStringList arguments)
    {
        arguments.prepend(folder.path());
        arguments.prepend(QStringLiteral("--program-folder"));
        return runCli(arguments);
    }
    CliRun templ(const QStringList &arguments) { return cli(QStringList{QStringLiteral("template")} + arguments); }
    QJsonObject shown(const QString &name)
    {
        const CliRun run = templ({QStringLiteral("show"), name, QStringLiteral("--json")});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return QJsonDocument::fromJson(run.out.toUtf8()).object();
    }
    TempFolder folder;
};

} // namespace

TEST_F(TemplateCliTest, storeCommandsKeepNamesExactAndUnique)
{
    EXPECT_EQ(templ({QStringLiteral("add"), QStringLiteral("a_c")}).exitCode, 0);
    EXPECT_EQ(templ({QStringLiteral("add"), QStringLiteral("abc")}).exitCode, 0);
    EXPECT_EQ(templ({QStringLiteral("add"), QStringLiteral("A_C")}).exitCode, 1);
    EXPECT_EQ(templ({QStringLiteral("add"), QStringLiteral(" ")}).exitCode, 2);
    EXPECT_EQ(templ({QStringLiteral("rename"), QStringLiteral("a_c"), QStringLiteral("Client's set")}).exitCode, 0);
    EXPECT_EQ(templ({QStringLiteral("use"), QStringLiteral("client's SET")}).exitCode, 0);
    EXPECT_EQ(templ({QStringLiteral("remove"), QStringLiteral("nothing")}).exitCode, 1);
    EXPECT_EQ(templ({QStringLiteral("add"), QStringLiteral("x"), QStringLiteral("--force")}).exitCode, 2);

    CliRun listed = templ({QStringLiteral("list"), QStringLiteral("--json")});
    ASSERT_EQ(listed.exitCode, 0);
    const QJsonArray list = QJsonDocument::fromJson(listed.out.toUtf8()).array();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].toObject()[QStringLiteral("name")].toString(), u"Client's set");
    EXPECT_TRUE(list[0].toObject()[QStringLiteral("inUse")].toBool());
    EXPECT_FALSE(list[1].toObject()[QStringLiteral("inUse")].toBool());
    EXPECT_EQ(templ({QStringLiteral("unuse")}).exitCode, 0);
    EXPECT_FALSE(shown(QStringLiteral("Client's set"))[QStringLiteral("inUse")].toBool());
    EXPECT_EQ(templ({QStringLiteral("remove"), QStringLiteral("abc")}).exitCode, 0);
    listed = templ({QStringLiteral("list")});
    EXPECT_EQ(listed.out.count(u'\n'), 1);
}

TEST_F(TemplateCliTest, setStoresWhatTheEditDialogWouldAndRefusesWhatItWouldNot)
{
    ASSERT_EQ(templ({QStringLiteral("add"), QStringLiteral("T")}).exitCode, 0);
    const CliRun set = templ({QStringLiteral("set"), QStringLiteral("T"), QStringLiteral("City=Paris"),
                              QStringLiteral("Keywords= a; b;; c "), QStringLiteral("CreatedDate=20050422"),
                              QStringLiteral("CreatedTime=143000"), QStringLiteral("--customized"), QStringLiteral("200=Box 12/B"),
                              QStringLiteral("Urgency=5")});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    QJsonObject t = shown(QStringLiteral("T"));
    const QJsonObject fields = t[QStringLiteral("fields")].toObject();
    EXPECT_EQ(fields.size(), 34);
    EXPECT_EQ(fields[QStringLiteral("City")].toString(), u"Paris");
    EXPECT_EQ(fields[QStringLiteral("Keywords")].toString(), u"a; b; c");
    EXPECT_EQ(fields[QStringLiteral("CreatedDate")].toString(), u"20050422");
    EXPECT_EQ(t[QStringLiteral("customized")].toArray()[0].toString(), u"200/Box 12/B");
    EXPECT_EQ(t[QStringLiteral("customized")].toArray().size(), 16);

    const QStringList refused[] = {
        {QStringLiteral("CreatedDate=20051345")}, {QStringLiteral("ReleaseTime=2561")}, {QStringLiteral("Urgency=12")},
        {QStringLiteral("Nowhere=1")}, {QStringLiteral("ObjectName=") + QString(65, u'o')},
        {QStringLiteral("--customized"), QStringLiteral("121=x")},
        {QStringLiteral("Caption=") + QString(1200, QChar(0x65E5))}, // 3,600 bytes in UTF-8
        {QStringLiteral("LocalCaption=") + QString(513, u'l')},       // a file holds 512
        {QStringLiteral("--customized"), QStringLiteral("200=") + QString(256, u's')},
    };
    for (const QStringList &edit : refused) {
        const CliRun run = templ(QStringList{QStringLiteral("set"), QStringLiteral("T")} + edit);
        EXPECT_EQ(run.exitCode, 2) << edit.join(u' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty()) << edit.join(u' ').toStdString();
    }
    EXPECT_EQ(shown(QStringLiteral("T"))[QStringLiteral("fields")].toObject(), fields); // nothing half-stored

    ASSERT_EQ(templ({QStringLiteral("set"), QStringLiteral("T"), QStringLiteral("City="), QStringLiteral("--customized"),
                     QStringLiteral("200=")}).exitCode, 0);
    t = shown(QStringLiteral("T"));
    EXPECT_TRUE(t[QStringLiteral("fields")].toObject()[QStringLiteral("City")].toString().isEmpty());
    EXPECT_TRUE(t[QStringLiteral("customized")].toArray()[0].toString().isEmpty());
    EXPECT_EQ(templ({QStringLiteral("set"), QStringLiteral("missing"), QStringLiteral("City=x")}).exitCode, 1);
}
