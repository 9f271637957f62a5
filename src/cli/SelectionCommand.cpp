// zelvarion-cli selection: the saved selections of the Selections window, with its checks.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/search/CheckMarks.h"
#include "core/search/Selections.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

QStringList savedNames(const std::vector<SavedSelection> &saved)
{
    QStringList names;
    for (const SavedSelection &selection : saved)
        names << selection.name;
    return names;
}

// A name the command acts on must be saved already.
bool isSaved(CliContext &context, const QStringList &names, const QString &name, const LanguagePack &language)
{
    if (names.contains(name, Qt::CaseSensitive))
        return true;
    context.err << "zelvarion-cli selection: " << withSubject(language, Message::CliNoSelectionNamed, name) << '\n';
    return false;
}

int listSelections(CliContext &context, const std::vector<SavedSelection> &saved, bool json)
{
    if (json) {
        QJsonArray array;
        for (const SavedSelection &selection : saved)
            array.append(QJsonObject{{QStringLiteral("name"), selection.name},
                                     {QStringLiteral("images"), selection.count.toInt()}});
        printJson(context.out, array);
        return kExitOk;
    }
    for (const SavedSelection &selection : saved)
        context.out << escapedName(selection.name) << '\t' << selection.count << '\n';
    return kExitOk;
}

// Save and rename refuse an empty name (a bad argument) and a name already saved.
int refusedName(CliContext &context, const LanguagePack &language, const QString &name, const QStringList &names)
{
    const std::optional<Message> problem = selectionNameProblem(name, names);
    if (!problem)
        return 0;
    context.err << language.message(*problem) << '\n';
    return *problem == Message::SelectionNameRequired ? kExitBadArguments : kExitSomeFailed;
}

int saveSelection(CliContext &context, Session &prepared, CommandFeedback &feedback, const QString &given,
                  const QStringList &names)
{
    const QString name = given.trimmed();
    if (const int refused = refusedName(context, prepared.language, name, names))
        return refused;
    const std::optional<int> count = saveMarkedImagesAs(prepared.command(feedback), name);
    if (count)
        context.out << escapedName(name) << '\t' << *count << '\n';
    return count && !feedback.failed() ? kExitOk : kExitSomeFailed;
}

int renameSelection(CliContext &context, Session &prepared, CommandFeedback &feedback, const QString &oldName,
                    const QString &given, const QStringList &names)
{
    const QString newName = given.trimmed();
    if (!isSaved(context, names, oldName, prepared.language))
        return kExitSomeFailed;
    if (const int refused = refusedName(context, prepared.language, newName, names))
        return refused;
    renameSavedSelection(prepared.command(feedback), oldName, newName);
    return feedback.failed() ? kExitSomeFailed : kExitOk;
}

int removeSelection(CliContext &context, Session &prepared, CommandFeedback &feedback, const QString &name,
                    const QStringList &names)
{
    if (!isSaved(context, names, name, prepared.language))
        return kExitSomeFailed;
    if (!feedback.askYesNo(prepared.language.message(Message::RemoveSelectionQuestion) + QStringLiteral(" '") + name
                           + u'\'')) {
        context.err << "zelvarion-cli selection: " << prepared.language.message(Message::CliNothingRemoved) << '\n';
        return kExitSomeFailed;
    }
    removeSavedSelection(prepared.command(feedback), name);
    return feedback.failed() ? kExitSomeFailed : kExitOk;
}

int runVerb(CliContext &context, Session &prepared, CommandFeedback &feedback, const ParsedArguments &arguments)
{
    const QStringList &words = arguments.operands;
    const QString verb = words.value(0);
    const std::vector<SavedSelection> saved = readSavedSelections(prepared.command(feedback));
    const QStringList names = savedNames(saved);
    if (verb == u"list" && words.size() == 1)
        return listSelections(context, saved, arguments.flag("--json"));
    if (verb == u"save" && words.size() == 2)
        return saveSelection(context, prepared, feedback, words[1], names);
    if (verb == u"restore" && words.size() == 2) {
        if (!isSaved(context, names, words[1], prepared.language))
            return kExitSomeFailed;
        return restoreSelection(prepared.command(feedback), words[1]) && !feedback.failed() ? kExitOk : kExitSomeFailed;
    }
    if (verb == u"rename" && words.size() == 3)
        return renameSelection(context, prepared, feedback, words[1], words[2], names);
    if (verb == u"remove" && words.size() == 2)
        return removeSelection(context, prepared, feedback, words[1], names);
    const LanguagePack &pack = prepared.language;
    context.err << "zelvarion-cli selection: " << withSeeHelp(pack, textOf(pack, texts::kSelectionAction), "selection")
                << '\n';
    return kExitBadArguments;
}

} // namespace

const CommandSyntax kSelectionSyntax{
    "selection", "save NAME | list | restore NAME | rename OLD NEW | remove NAME",
    "Saves, lists, restores, renames and removes saved selections of marked images.",
    {kCatalogueOption, {"--json", nullptr, "list: prints the selections as JSON"},
     {"--yes", nullptr, "remove: removes without asking on a terminal"}},
    "save keeps the marked images under NAME, replacing what that name held; restore replaces every\n"
    "mark of the catalogue by the marks saved under NAME."};

int runSelectionCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kSelectionSyntax, context, arguments))
        return *exit;
    Session prepared;
    if (!prepareCatalogue(context, "selection", arguments, prepared))
        return kExitSomeFailed;
    CommandFeedback feedback(context, arguments.flag("--yes"));
    return runVerb(context, prepared, feedback, arguments);
}

} // namespace zelvarion::cli
