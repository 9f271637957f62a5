// zelvarion-cli keywords: the entries of the keyword (or supplemental category) lists in the
// catalogue with the number of images holding each, as the edit dialog offers them.
#include "cli/CliSupport.h"
#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/iptc/IptcField.h"
#include "core/search/KeywordVocabulary.h"

#include <QJsonArray>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

void printWords(QTextStream &out, const std::vector<VocabularyWord> &words, bool json)
{
    if (!json) {
        for (const VocabularyWord &word : words)
            out << word.uses << '\t' << escapedName(word.text) << '\n';
        return;
    }
    QJsonArray array;
    for (const VocabularyWord &word : words)
        array.append(QJsonObject{{QStringLiteral("entry"), word.text}, {QStringLiteral("count"), qint64(word.uses)}});
    printJson(out, array);
}

} // namespace

const CommandSyntax kKeywordsSyntax{
    "keywords", "[PREFIX]", "Lists the catalogue's keywords with the number of images holding each.",
    {kCatalogueOption, {"--categories", nullptr, "lists the supplemental categories instead"},
     {"--json", nullptr, "prints the entries and counts as JSON"}},
    "The most used come first. Spellings that differ only in case are one entry, written as most\n"
    "images write it; PREFIX keeps the entries beginning with it, whatever its case. Lines hold the\n"
    "count and the entry between tabs (a backslash, tab or line break written \\\\, \\t, \\n or \\r).\n"
    "Exits 1 when no entry is listed, as search does when it finds nothing."};

int runKeywordsCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kKeywordsSyntax, context, arguments))
        return *exit;
    if (arguments.operands.size() > 1) {
        const LanguagePack &pack = packOf(context);
        context.err << "zelvarion-cli keywords: " << withSeeHelp(pack, textOf(pack, texts::kKeywordsOperands), "keywords")
                    << '\n';
        return kExitBadArguments;
    }
    Session prepared;
    if (!prepareCatalogue(context, "keywords", arguments, prepared))
        return kExitSomeFailed;
    StreamFeedback feedback(context);
    CatalogueDb &db = prepared.catalogue;
    if (!db.openOrReport(feedback))
        return kExitSomeFailed;
    const ClosedOnExit closed(db);
    const int field = arguments.flag("--categories") ? kSupplementalCategoryIndex : kKeywordsIndex;
    const QString prefix = arguments.operands.value(0);
    const std::optional<KeywordVocabulary> vocabulary = vocabulary::updateAndRead(db, field, prefix);
    if (!vocabulary) {
        db.report(feedback, Message::CliVocabularyUnreadable);
        return kExitSomeFailed;
    }
    const std::vector<VocabularyWord> words = vocabulary->complete(prefix);
    printWords(context.out, words, arguments.flag("--json"));
    if (!words.empty())
        return kExitOk;
    context.err << "zelvarion-cli keywords: "
                << (prefix.isEmpty() ? prepared.language.message(Message::CliVocabularyEmpty)
                                     : filled(prepared.language.message(Message::CliNoEntryBegins), {{u'#', prefix}}))
                << '\n';
    return kExitSomeFailed;
}

} // namespace zelvarion::cli
