// zelvarion-cli catalogue copy: a catalogue file into a database server and back, or between any
// two catalogues, every table in one transaction of the target.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/catalogue/CatalogueCopy.h"
#include "core/catalogue/CatalogueDb.h"
#include "core/catalogue/CatalogueSchema.h"
#include "core/catalogue/CatalogueWriteLock.h"

#include <QElapsedTimer>
#include <QFileInfo>

namespace zelvarion::cli {
namespace {

constexpr char kCommand[] = "catalogue";
// Progress lines at most this often within a table, so a large copy shows it is alive without
// filling the terminal.
constexpr qint64 kProgressEveryMs = 1000;

QString cataloguePathOf(const QString &given)
{
    return CatalogueDb::isServerCatalogue(given) ? given : QFileInfo(given).absoluteFilePath();
}

// Makes the target's tables where there is no catalogue yet; false (told) when something else is
// there, or the tables could not be made.
bool targetReady(CliContext &context, CatalogueDb &target, bool &created, const LanguagePack &pack)
{
    const CatalogueFileCheck check = checkCatalogueFile(target.path);
    created = check.kind == CatalogueFileKind::Missing;
    if (!created)
        return catalogueUsable(context, kCommand, target.path, pack);
    StreamFeedback feedback(context);
    return createCatalogueSchema(target, feedback, {}) && !feedback.failed();
}

int fail(CliContext &context, const QString &text)
{
    context.err << "zelvarion-cli " << kCommand << ": " << QString(text).replace(u'\n', u' ') << '\n';
    return kExitSomeFailed;
}

} // namespace

const CommandSyntax kCatalogueSyntax{
    "catalogue", "copy SOURCE TARGET", "Copies a catalogue into another, a file into a database server or back.",
    {{"--replace", nullptr, "replaces the images, folders, templates and selections the target holds"}},
    "SOURCE and TARGET are catalogue files or server addresses (postgresql://user@host:port/dbname).\n"
    "Every table is copied: images, folders, templates, selections and translations. A target that\n"
    "does not exist is made; one that holds images, folders, templates or selections is refused\n"
    "unless --replace is given. The copy is one transaction of the target: should it fail, the\n"
    "target stays as it was. Progress goes to the error stream, the rows of each table to the output."};

int runCatalogueCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kCatalogueSyntax, context, arguments))
        return *exit;
    Session session;
    loadSettingsAndLanguage(session);
    const LanguagePack &pack = session.language;
    const QStringList &operands = arguments.operands;
    if (operands.size() != 3 || operands[0] != u"copy") {
        context.err << "zelvarion-cli catalogue: " << withSeeHelp(pack, textOf(pack, texts::kCatalogueAction), kCommand)
                    << '\n';
        return kExitBadArguments;
    }
    CatalogueDb source;
    source.path = cataloguePathOf(operands[1]);
    CatalogueDb &target = session.catalogue;
    target.path = cataloguePathOf(operands[2]);
    if (source.path == target.path) {
        context.err << "zelvarion-cli catalogue: " << textOf(pack, texts::kCatalogueSameTwice) << '\n';
        return kExitBadArguments;
    }
    if (!catalogueUsable(context, kCommand, source.path, pack))
        return kExitSomeFailed;

    StreamFeedback feedback(context);
    CatalogueWriteLock lock(target.path); // no scan or run rewrites the target's rows meanwhile
    bool created = false;
    if (!lock.takeOrWait(feedback, pack) || !targetReady(context, target, created, pack))
        return kExitSomeFailed;
    if (!source.openReadOnly())
        return fail(context, describe(source.openFailure(), pack));
    const ClosedOnExit sourceClosed(source);
    if (!target.open())
        return fail(context, describe(target.openFailure(), pack));
    const ClosedOnExit targetClosed(target);
    if (!created && !arguments.flag("--replace")) {
        const Result<long long> work = catalogueCopy::rowsOfUsersWork(target);
        if (!work)
            return fail(context, describe(work.failure(), pack));
        if (*work > 0)
            return fail(context, filled(textOf(pack, texts::kCatalogueTargetHoldsWork), {{u'#', target.path}}));
    }

    QElapsedTimer sinceLastLine;
    sinceLastLine.start();
    const auto progress = [&](const QString &table, long long copied, long long total) {
        if (copied < total && sinceLastLine.elapsed() < kProgressEveryMs)
            return;
        sinceLastLine.restart();
        context.err << filled(textOf(pack, texts::kCatalogueCopyProgress),
                              {{u'#', table}, {u'%', QString::number(copied)}, {u'$', QString::number(total)}})
                    << '\n';
        context.err.flush();
    };
    const Result<std::vector<catalogueCopy::TableCount>> copied = catalogueCopy::copyTables(source, target, progress);
    if (!copied)
        return fail(context, describe(copied.failure(), pack));
    for (const catalogueCopy::TableCount &count : *copied)
        context.out << count.table << '\t' << count.rows << '\n';
    return kExitOk;
}

} // namespace zelvarion::cli
