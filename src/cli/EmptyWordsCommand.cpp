// zelvarion-cli empty-words: the list the statistics can leave out, as the empty words dialog
// keeps it.
#include "cli/CliText.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/words/EmptyWords.h"
#include "core/session/TextRules.h"
#include "core/session/Session.h"
#include "platform/ProgramFolder.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace zelvarion::cli {
namespace {

qsizetype positionIgnoringCase(const QStringList &words, const QString &word)
{
    const qsizetype exact = words.indexOf(word);
    if (exact >= 0)
        return exact;
    for (qsizetype i = 0; i < words.size(); ++i)
        if (words[i].compare(word, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void printList(const QStringList &words, bool json, QTextStream &out)
{
    if (json) {
        out << QJsonDocument(QJsonArray::fromStringList(words)).toJson(QJsonDocument::Indented);
        return;
    }
    for (const QString &word : words)
        out << escapedName(word) << '\n';
}

// Adds or removes the word; a problem to print, empty when the list changed.
QString change(EmptyWordsList &list, const QString &action, const QString &word, const LanguagePack &pack)
{
    if (word.isEmpty())
        return pack.message(Message::WordRequired);
    if (action == u"add")
        return list.add(word) == EmptyWordsList::Refusal::None ? QString() : pack.message(Message::AlreadyInList);
    const qsizetype at = positionIgnoringCase(list.words(), word);
    if (at < 0)
        return withSubject(pack, Message::CliNotInList, word);
    list.remove(int(at));
    return {};
}

} // namespace

const CommandSyntax kEmptyWordsSyntax{
    "empty-words", "list | add WORD | remove WORD", "Lists, adds or removes the words the statistics can leave out.",
    {{"--json", nullptr, "prints the list as JSON"}},
    "The list is kept in alphabetical order; add refuses a word already in it whatever its case."};

int runEmptyWordsCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kEmptyWordsSyntax, context, arguments))
        return *exit;
    const QStringList &operands = arguments.operands;
    const QString action = operands.value(0);
    const bool needsWord = action == u"add" || action == u"remove";
    if (!(action == u"list" && operands.size() == 1) && !(needsWord && operands.size() == 2)) {
        context.err << "zelvarion-cli empty-words: " << textOf(packOf(context), texts::kEmptyWordsAction) << '\n';
        return kExitBadArguments;
    }
    Session session;
    const IniFile &ini = session.ini;
    if (action == u"list") {
        printList(readEmptyWords(ini), arguments.flag("--json"), context.out);
        return kExitOk;
    }
    loadSettingsAndLanguage(session);
    EmptyWordsList list(readEmptyWords(ini));
    const QString problem = change(list, action, trimBlanks(operands[1]), session.language);
    if (!problem.isEmpty()) {
        context.err << "zelvarion-cli empty-words: " << problem << '\n';
        return kExitSomeFailed;
    }
    writeEmptyWords(ini, list.words());
    return kExitOk;
}

} // namespace zelvarion::cli
