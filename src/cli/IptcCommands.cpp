#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "core/iptc/IptcReader.h"
#include "core/iptc/IptcWriter.h"
#include "core/shell/AppSettings.h"
#include "core/shell/Feedback.h"
#include "platform/FileNames.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {
namespace {

QJsonObject readResultToJson(const QString &path, const IptcReadResult &result)
{
    QJsonObject fields;
    for (const IptcField &field : kIptcFields)
        fields.insert(QLatin1String(field.column), result.fields.values[std::size_t(field.index)]);
    QJsonArray customized;
    for (const CustomizedDataset &slot : result.fields.slots)
        if (slot.number != -1)
            customized.append(QJsonObject{{QStringLiteral("dataset"), slot.number}, {QStringLiteral("value"), slot.value}});
    return QJsonObject{{QStringLiteral("path"), path},
                       {QStringLiteral("fileKind"), supportIptcCode(result.fileKind)},
                       {QStringLiteral("fields"), fields},
                       {QStringLiteral("customized"), customized}};
}

void printReadResult(QTextStream &out, const QString &path, const IptcReadResult &result)
{
    out << path << '\n' << "  SupportIPTC: " << supportIptcCode(result.fileKind) << '\n';
    for (const IptcField &field : kIptcFields) {
        QString value = result.fields.values[std::size_t(field.index)];
        if (value.isEmpty())
            continue;
        if (field.index == kCustomizedIndex)
            value = value.trimmed().replace(QStringLiteral("\r\n"), QStringLiteral("\n    "));
        out << "  " << field.column << ": " << value << '\n';
    }
    for (int i = 0; i < kCustomizedSlotCount; ++i) {
        const CustomizedDataset &slot = result.fields.slots[std::size_t(i)];
        if (slot.number != -1)
            out << "  slot " << i << ": 2:" << slot.number << " = " << slot.value << '\n';
    }
}

// The changes a write applies to every file: catalogue fields by index, customized numbers.
struct WriteEdits
{
    std::vector<std::pair<int, QString>> fields;
    std::vector<std::pair<int, QString>> customized;
};

bool takeFieldEdits(const ParsedArguments &arguments, WriteEdits &edits, QString &problem)
{
    for (const QString &option : arguments.values("--set")) {
        const qsizetype equals = option.indexOf(u'=');
        const auto index = iptcFieldIndexOfColumn(QStringView(option).left(equals));
        if (equals < 0 || !index) {
            problem = QStringLiteral("--set needs Column=Value with a column name such as Caption, not '%1'").arg(option);
            return false;
        }
        if (*index == kCustomizedIndex) {
            problem = QStringLiteral("the Customized text is not written; use --customized N=Value");
            return false;
        }
        edits.fields.emplace_back(*index, option.mid(equals + 1));
    }
    return true;
}

bool takeCustomizedEdits(const ParsedArguments &arguments, WriteEdits &edits, QString &problem)
{
    for (const QString &option : arguments.values("--customized")) {
        const qsizetype equals = option.indexOf(u'=');
        bool numeric = false;
        const int number = option.left(equals).toInt(&numeric);
        if (equals < 0 || !numeric || number < 1 || number > 254
            || lookupDataset(number).kind != DatasetLookup::Kind::Customized) {
            problem = QStringLiteral("--customized needs N=Value with N from 1 to 254 outside the field "
                                     "catalogue, not '%1'").arg(option);
            return false;
        }
        edits.customized.emplace_back(number, option.mid(equals + 1));
    }
    return true;
}

// Sets, replaces or (with an empty value) clears the slot of a customized number.
bool applyCustomized(IptcFieldSet &values, int number, const QString &value)
{
    for (CustomizedDataset &slot : values.slots) {
        if (slot.number == number) {
            slot = value.isEmpty() ? CustomizedDataset{} : CustomizedDataset{std::int16_t(number), value};
            return true;
        }
    }
    if (value.isEmpty())
        return true;
    for (CustomizedDataset &slot : values.slots) {
        if (slot.number == -1) {
            slot = CustomizedDataset{std::int16_t(number), value};
            return true;
        }
    }
    return false;
}

// Reads the file's values, applies the edits and rewrites it; the reason when it was not written.
QString writeOneFile(const QString &path, const WriteEdits &edits, const IptcWriteOptions &options, Feedback &feedback)
{
    if (!filenames::fileFacts(path).isFile)
        return QStringLiteral("the file does not exist");
    const IptcReadResult read = readImageIptc(path, defaultCustomizedLabel(), &feedback);
    if (read.fileKind != IptcFileKind::Jpeg)
        return QStringLiteral("not a JPEG file");
    // Only the 16 slots are written back: refuse rather than drop the datasets beyond them.
    const qsizetype customizedCount = read.fields.values[kCustomizedIndex].count(QStringLiteral("\r\n"));
    if (customizedCount > kCustomizedSlotCount)
        return QStringLiteral("the file holds %1 customized datasets and only %2 can be kept")
            .arg(customizedCount).arg(kCustomizedSlotCount);
    IptcFieldSet values = read.fields;
    QStringList keywords = splitList(values.values[kKeywordsIndex]);
    QStringList categories = splitList(values.values[kSupplementalCategoryIndex]);
    for (const auto &[index, value] : edits.fields) {
        if (index == kKeywordsIndex || index == kSupplementalCategoryIndex) {
            QStringList &list = index == kKeywordsIndex ? keywords : categories;
            list = splitList(value);
            values.values[std::size_t(index)] = list.join(QStringLiteral("; "));
        } else {
            values.values[std::size_t(index)] = value;
        }
    }
    for (const auto &[number, value] : edits.customized)
        if (!applyCustomized(values, number, value))
            return QStringLiteral("all %1 customized slots are taken").arg(kCustomizedSlotCount);
    const IptcWriteResult result = writeImageIptc(path, values, keywords, categories, options, &feedback);
    return result.written ? QString() : result.reason;
}

// The edit options of Zelvarion.ini, as the template run uses them: a file whose backup copy
// cannot be made (a backup folder that is not there, for one) is not rewritten.
IptcWriteOptions writeOptionsOf()
{
    return iptcWriteOptionsFrom(readAllSettings(IniFile(programFolder::configFilePath())));
}

} // namespace

const CommandSyntax kReadSyntax{
    "read", "FILE...", "Prints the IPTC of image files as the scan reads it.",
    {{"--json", nullptr, "prints one JSON document for all the files"}}};

const CommandSyntax kWriteSyntax{
    "write", "FILE...", "Rewrites the IPTC of JPEG files with the values given.",
    {{"--set", "Column=Value", "sets a field such as Caption; an empty value clears it", true},
     {"--customized", "N=Value", "sets customized dataset N (1 to 254); an empty value clears it", true},
     {"--yes", nullptr, "rewrites without asking on a terminal"}},
    "The other values stay. The backup rules of the edit options in Zelvarion.ini apply\n"
    "(SaveOriginalFile, SaveFirstVersion, SaveFolder): a file whose copy cannot be made stays as it is."};

int runReadCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kReadSyntax, context, arguments))
        return *exit;
    const bool json = arguments.flag("--json");
    if (arguments.operands.isEmpty()) {
        context.err << "zelvarion-cli read: no files given\n";
        return kExitBadArguments;
    }
    StreamFeedback feedback(context);
    QJsonArray results;
    int missing = 0;
    for (const QString &path : std::as_const(arguments.operands)) {
        if (!filenames::fileFacts(path).isFile) {
            context.err << "zelvarion-cli read: cannot open " << path << '\n';
            ++missing;
        }
        const IptcReadResult result = readImageIptc(path, defaultCustomizedLabel(), &feedback);
        if (json)
            results.append(readResultToJson(path, result));
        else
            printReadResult(context.out, path, result);
    }
    if (json)
        context.out << QString::fromUtf8(QJsonDocument(results).toJson(QJsonDocument::Indented));
    return missing == 0 ? kExitOk : kExitSomeFailed;
}

int runWriteCommand(CliContext &context)
{
    ParsedArguments arguments;
    if (const std::optional<int> exit = parseCommandLine(kWriteSyntax, context, arguments))
        return *exit;
    WriteEdits edits;
    QString problem;
    if (!takeFieldEdits(arguments, edits, problem) || !takeCustomizedEdits(arguments, edits, problem)) {
        context.err << "zelvarion-cli write: " << problem << '\n';
        return kExitBadArguments;
    }
    const QStringList &files = arguments.operands;
    if (files.isEmpty()) {
        context.err << "zelvarion-cli write: no files given\n";
        return kExitBadArguments;
    }
    const QString question = files.size() == 1 ? QStringLiteral("Rewrite the IPTC of %1?").arg(files.first())
                                               : QStringLiteral("Rewrite the IPTC of %1 files?").arg(files.size());
    if (!arguments.flag("--yes") && !confirmOnTerminal(context, question)) {
        context.err << "zelvarion-cli write: nothing written\n";
        return kExitSomeFailed;
    }
    const IptcWriteOptions options = writeOptionsOf();
    StreamFeedback feedback(context);
    int notWritten = 0;
    for (const QString &path : files) {
        const QString failure = writeOneFile(path, edits, options, feedback);
        if (failure.isEmpty()) {
            context.out << "written: " << path << '\n';
        } else {
            context.err << "zelvarion-cli write: not written: " << path << ": " << failure << '\n';
            ++notWritten;
        }
    }
    return notWritten == 0 ? kExitOk : kExitSomeFailed;
}

} // namespace zelvarion::cli
