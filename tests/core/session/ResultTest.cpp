#include "core/session/Feedback.h"
#include "core/session/FileFailure.h"
#include "core/session/LanguagePack.h"
#include "core/session/Result.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvarion {
namespace {

std::string str(const QString &text) { return text.toStdString(); }

LanguagePack packWith(Message key, const QString &text)
{
    LanguagePack pack;
    pack.setMessage(int(key), text);
    return pack;
}

class ShownMessages : public Feedback
{
public:
    void showMessage(const QString &text, MessageIcon icon, const QString &) override
    {
        texts.push_back(str(text));
        icons.push_back(icon);
    }
    bool askYesNo(const QString &, MessageIcon) override { return false; }

    std::vector<std::string> texts;
    std::vector<MessageIcon> icons;
};

const LanguagePack &shippedFrench()
{
    static const LanguagePack french = [] {
        LanguagePack pack;
        pack.load(QStringLiteral(ZELVARION_SOURCE_DIR "/data/Zelvarion-Language/"), QStringLiteral("French"));
        return pack;
    }();
    return french;
}

} // namespace

TEST(Result, holdsEitherTheValueOrWhyThereIsNone)
{
    const Result<int> found = 42;
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(found.value(), 42);
    EXPECT_EQ(found.valueOr(7), 42);

    const Result<int> missing = Failure{Message::CannotGetData, {}, QStringLiteral("no such table")};
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.failure().message, Message::CannotGetData);
    EXPECT_EQ(str(missing.failure().detail), "no such table");
    EXPECT_EQ(missing.valueOr(7), 7);

    Result<QString> moved = QStringLiteral("rows");
    const QString taken = std::move(moved).value();
    EXPECT_EQ(str(taken), "rows");
}

TEST(Result, withoutAValueIsASuccessUntilGivenAFailure)
{
    const Result<void> done;
    EXPECT_TRUE(done.ok());
    const Result<void> failed = Failure{Message::CannotRunVacuum, {QStringLiteral("/c/Images.db")}, {}};
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure().arguments, QStringList{QStringLiteral("/c/Images.db")});
}

TEST(FailureText, fillsEachPlaceholderOnceInOrder)
{
    const QStringList arguments{QStringLiteral("SCAN"), QStringLiteral("/photos/50% off #2 $.db")};
    // An argument holding "%", "#" or "$" is never filled again.
    EXPECT_EQ(str(fillPlaceholders(QStringLiteral("begin # '%'"), arguments)), "begin SCAN '/photos/50% off #2 $.db'");
    EXPECT_EQ(str(fillPlaceholders(QStringLiteral("$ then #"), {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")})),
              "c then a");
    // A placeholder without its argument stays as the pack wrote it.
    EXPECT_EQ(str(fillPlaceholders(QStringLiteral("# and %"), {QStringLiteral("one")})), "one and %");
}

TEST(FailureText, putsTheEngineTextOnALineOfItsOwn)
{
    const LanguagePack pack = packWith(Message::CannotOpenCatalogue, QStringLiteral("Cannot open '#'"));
    EXPECT_EQ(str(describe({Message::CannotOpenCatalogue, {QStringLiteral("/c/x.db")}, QStringLiteral("disk I/O error")}, pack)),
              "Cannot open '/c/x.db'\ndisk I/O error");
    EXPECT_EQ(str(describe({Message::CannotOpenCatalogue, {QStringLiteral("/c/x.db")}, {}}, pack)), "Cannot open '/c/x.db'");
    const LanguagePack twoLines = packWith(Message::ProgramNotStarted, QStringLiteral("Error\\nApp: #"));
    EXPECT_EQ(str(describe({Message::ProgramNotStarted, {QStringLiteral("fop.sh")}, {}}, twoLines)), "Error\nApp: fop.sh");
}

TEST(FailureText, keepsTheExactEnglishReportsAndTranslatesThemInFrench)
{
    const Failure transaction{Message::CannotBeginTransaction, {QStringLiteral("SCAN"), QStringLiteral("/c/Images.db")},
                              QStringLiteral("database is locked")};
    EXPECT_EQ(str(describe(transaction, shippedEnglishPack())),
              "Cannot begin transaction SCAN '/c/Images.db'\ndatabase is locked");
    const QString french = describe(transaction, shippedFrench());
    EXPECT_TRUE(french.startsWith(QStringLiteral("Impossible de commencer la transaction SCAN"))) << str(french);
    EXPECT_TRUE(french.endsWith(QStringLiteral("/c/Images.db\u00a0»\ndatabase is locked"))) << str(french);
    EXPECT_EQ(str(describe({Message::CannotSetCacheSize, {}, {}}, shippedEnglishPack())), "Cannot cache_size = 100000");
}

TEST(FeedbackLanguage, reportsInThePackItWasGivenElseInEnglish)
{
    ShownMessages feedback;
    const Failure failure{Message::CannotGetData, {}, QStringLiteral("no such column: Foo")};
    feedback.reportFailure(failure);
    const LanguagePack french = shippedFrench();
    feedback.setLanguage(&french);
    report(feedback, failure);
    ASSERT_EQ(feedback.texts.size(), 2u);
    EXPECT_EQ(feedback.texts[0], "Cannot get data\nno such column: Foo");
    EXPECT_EQ(feedback.texts[1], str(french.message(Message::CannotGetData)) + "\nno such column: Foo");
    EXPECT_NE(feedback.texts[1], feedback.texts[0]);
    EXPECT_EQ(feedback.icons[1], MessageIcon::Critical);
}

TEST(FeedbackLanguage, aDialogsLoopSpeaksItsWindowsLanguage)
{
    ShownMessages window;
    const LanguagePack french = shippedFrench();
    window.setLanguage(&french);
    ForwardingFeedback dialog(window);
    dialog.reportFailure({Message::CannotDeleteData, {}, QStringLiteral("locked")}, MessageIcon::Warning);
    ASSERT_EQ(window.texts.size(), 1u);
    EXPECT_EQ(window.texts[0], str(french.message(Message::CannotDeleteData)) + "\nlocked");
    EXPECT_EQ(window.icons[0], MessageIcon::Warning);
}

TEST(FileFailureText, namesTheStepAndTheFilesInThePacksWordsThenTheSystems)
{
    test::TempFolder folder;
    const QString missing = folder.file(QStringLiteral("none.jpg"));
    const QString target = folder.file(QStringLiteral("copy.jpg"));
    const atomicfile::Result copied = atomicfile::copyFile(missing, target);
    ASSERT_FALSE(copied.ok);
    EXPECT_EQ(copied.problem, atomicfile::Problem::ReadSource);
    EXPECT_EQ(str(fileFailureText(copied)), "Cannot read '" + str(missing) + "': " + str(copied.systemText));
    EXPECT_FALSE(copied.systemText.isEmpty());

    const Failure failure = fileFailure(copied);
    EXPECT_EQ(failure.message, Message::CannotReadFile);
    const QString french = describe(failure, shippedFrench());
    EXPECT_TRUE(french.startsWith(QStringLiteral("Impossible de lire"))) << str(french);
    EXPECT_TRUE(french.contains(missing + QStringLiteral("\u00a0»\n") + copied.systemText)) << str(french);

    // A copy names its source and its target, in that order.
    const atomicfile::Result copy{false, atomicfile::Problem::Copy, {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")},
                                  QStringLiteral("No space left on device")};
    EXPECT_EQ(str(fileFailureText(copy)), "Cannot copy 'a.jpg' to 'b.jpg': No space left on device");
}

} // namespace zelvarion
