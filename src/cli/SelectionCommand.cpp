// zelvarion-cli selection: the saved selections of the Selections window, with its checks.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "core/search/CheckMarks.h"
#include "core/search/Selections.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

constexpr char kUsage[] = "usage: zelvarion-cli selection save NAME | list [--json] | restore NAME | rename OLD NEW"
                          " | remove NAME [--yes]\n";

QStringList savedNames(const std::vector<SavedSelection> &saved)
{
    QStringList names;
    for (const SavedSelection &selection : saved)
        names << selection.name;
    return names;
}

// A name the command acts on must be saved already.
bool isSaved(CliContext &context, const QStringList &names, const QString &name)
{
    if (names.contains(name, Qt::CaseSensitive))
        return true;
    context.err << "zelvarion-cli selection: no saved selection named '" << name << "'\n";
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
        return 0;
    }
    for (const SavedSelection &selection : saved)
        context.out << selection.name << '\t' << selection.count << '\n';
    return 0;
}

// Save and rename refuse an empty name (a bad argument) and a name already saved.
int refusedName(CliContext &context, const LanguagePack &language, const QString &name, const QStringList &names)
{
    const std::optional<Message> problem = selectionNameProblem(name, names);
    if (!problem)
        return 0;
    context.err << language.message(*problem) << '\n';
    return *problem == Message::SelectionNameRequired ? 2 : 1;
}

int runVerb(CliContext &context, CommandCatalogue &prepared, CliFeedback &feedback, const QString &verb, bool json)
{
    const QStringList &words = context.arguments;
    const std::vector<SavedSelection> saved = readSavedSelections(prepared.command(feedback));
    const QStringList names = savedNames(saved);
    if (verb == u"list" && words.size() == 1)
        return listSelections(context, saved, json);
    if (verb == u"save" && words.size() == 2) {
        const QString name = words[1].trimmed();
        if (const int refused = refusedName(context, prepared.language, name, names))
            return refused;
        const std::optional<int> count = saveMarkedImagesAs(prepared.command(feedback), name);
        if (count)
            context.out << name << '\t' << *count << '\n';
        return count && !feedback.failed() ? 0 : 1;
    }
    if (verb == u"restore" && words.size() == 2) {
        if (!isSaved(context, names, words[1]))
            return 1;
        return restoreSelection(prepared.command(feedback), words[1]) && !feedback.failed() ? 0 : 1;
    }
    if (verb == u"rename" && words.size() == 3) {
        const QString newName = words[2].trimmed();
        if (!isSaved(context, names, words[1]))
            return 1;
        if (const int refused = refusedName(context, prepared.language, newName, names))
            return refused;
        renameSavedSelection(prepared.command(feedback), words[1], newName);
        return feedback.failed() ? 1 : 0;
    }
    if (verb == u"remove" && words.size() == 2) {
        if (!isSaved(context, names, words[1]))
            return 1;
        if (!feedback.askYesNo(prepared.language.message(Message::RemoveSelectionQuestion) + QStringLiteral(" '")
                               + words[1] + u'\''))
            return 1;
        removeSavedSelection(prepared.command(feedback), words[1]);
        return feedback.failed() ? 1 : 0;
    }
    context.err << kUsage;
    return 2;
}

} // namespace

int runSelectionCommand(CliContext &context)
{
    const bool json = takeFlag(context.arguments, QStringLiteral("--json"));
    const bool yes = takeFlag(context.arguments, QStringLiteral("--yes"));
    CommandCatalogue prepared;
    if (!prepareCatalogue(context, "selection", prepared))
        return 1;
    if (refuseUnknownOptions(context, "selection") || context.arguments.isEmpty()) {
        context.err << kUsage;
        return 2;
    }
    CliFeedback feedback(context.err, yes);
    return runVerb(context, prepared, feedback, context.arguments.first(), json);
}

} // namespace zelvarion::cli
