#include "cli/CliSupport.h"

#include "cli/Commands.h"
#include "core/search/SearchIndex.h"
#include "platform/ProgramFolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zelvarion::cli {

void CommandFeedback::showMessage(const QString &text, MessageIcon icon, const QString &title)
{
    m_stream.showMessage(text, icon, title);
    m_warned = m_warned || icon == MessageIcon::Warning;
}

bool CommandFeedback::askYesNo(const QString &text, MessageIcon)
{
    return m_assumeYes || confirmOnTerminal(m_context, text);
}

bool prepareCatalogue(CliContext &context, const char *command, const ParsedArguments &arguments,
                      Session &prepared)
{
    prepared.loadSettingsAndLanguage(programFolder::languageFolder());
    prepared.catalogue.path = prepared.cataloguePath(arguments.value("--catalogue").value_or(QString()));
    return catalogueUsable(context, command, prepared.catalogue.path, prepared.language);
}

bool catalogueUsable(CliContext &context, const char *command, const QString &path, const LanguagePack &pack)
{
    const CatalogueFileCheck check = checkCatalogueFile(path);
    if (check.isCatalogue())
        return true;
    context.err << "zelvarion-cli " << command << ": ";
    if (check.kind == CatalogueFileKind::Missing)
        context.err << "no catalogue at " << path << '\n';
    else
        context.err << catalogueFileProblem(check, path, pack).replace(u'\n', u' ') << '\n';
    return false;
}

void updateSearchIndex(CliContext &context, const char *command, CatalogueDb &db)
{
    if (!db.open())
        return; // the command itself reports the catalogue it cannot open
    const ClosedOnExit closed(db);
    const searchIndex::Status state = searchIndex::status(db);
    if (state.ready())
        return;
    QElapsedTimer sinceLastLine;
    sinceLastLine.start();
    bool told = false;
    const auto progress = [&](long long done, long long total) {
        if (sinceLastLine.elapsed() >= 1000 || (told && done == total)) {
            context.err << "zelvarion-cli " << command << ": indexing the catalogue for searches: " << done << " of "
                        << total << " images" << (told ? "" : " (Ctrl+C stops; the rest is indexed next time)")
                        << '\n';
            context.err.flush();
            told = true;
            sinceLastLine.restart();
        }
        return true;
    };
    if (searchIndex::build(db, progress) == searchIndex::CatchUp::Failed && told)
        context.err << "zelvarion-cli " << command << ": the search index could not be brought up to date ("
                    << db.errorText() << "); searching without it\n";
}

void printJson(QTextStream &out, const QJsonValue &value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << document.toJson(QJsonDocument::Indented);
}

void printRows(QTextStream &out, const std::vector<ResultRow> &rows, bool json)
{
    if (!json) {
        for (const ResultRow &row : rows)
            out << row.folder << '\t' << row.file << '\t' << row.checkMark << '\n';
        return;
    }
    QJsonArray array;
    for (const ResultRow &row : rows)
        array.append(QJsonObject{{QStringLiteral("folder"), row.folder}, {QStringLiteral("file"), row.file},
                                 {QStringLiteral("mark"), row.checkMark}});
    printJson(out, array);
}

void RawLines::addRow(std::initializer_list<QByteArrayView> cells)
{
    bool first = true;
    for (const QByteArrayView cell : cells) {
        if (!first)
            m_pending.append('\t');
        first = false;
        // What the stream would write for the decoded text: bytes that are no UTF-8 as U+FFFD.
        if (QUtf8StringView(cell.data(), cell.size()).isValidUtf8())
            m_pending.append(cell);
        else
            m_pending.append(QString::fromUtf8(cell).toUtf8());
    }
    m_pending.append('\n');
    if (m_pending.size() >= (64 << 10))
        flush();
}

void RawLines::flush()
{
    m_out.flush(); // what the stream holds goes first
    if (QIODevice *device = m_out.device())
        device->write(m_pending);
    else
        m_out << QString::fromUtf8(m_pending);
    m_pending.clear();
}

} // namespace zelvarion::cli
