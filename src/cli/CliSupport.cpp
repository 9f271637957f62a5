#include "cli/CliSupport.h"

#include "cli/CliText.h"
#include "cli/Commands.h"
#include "cli/NamedTexts.h"
#include "core/search/SearchIndex.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
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

const std::vector<StoredSwitch> &rewriteSwitches()
{
    static const std::vector<StoredSwitch> switches{
    {"--backup", "--no-backup", "keeps a copy of each file in the backup folder before it is rewritten (SaveOriginalFile)",
     &AppSettings::saveOriginalFile, "switch.--backup"},
    {"--first-version", "--no-first-version", "keeps only the first copy of a file in the backup folder (SaveFirstVersion)",
     &AppSettings::saveFirstVersion, "switch.--first-version"},
    {"--keep-date", "--no-keep-date", "keeps each file's modification date (KeepCreationDate)",
     &AppSettings::keepCreationDate, "switch.--keep-date"},
    {"--thumbnails", "--no-thumbnails", "renews the stored thumbnails of the files rewritten (CreateThumbnails)",
     &AppSettings::createThumbnails, "switch.--thumbnails"},
    };
    return switches;
}

const std::vector<StoredSwitch> &searchPlaceSwitches()
{
    static const std::vector<StoredSwitch> switches{
    {"--search-folder-names", "--no-search-folder-names", "the text is also searched in folder names (SearchFolderNames)",
     &AppSettings::searchFolderNames, "switch.--search-folder-names"},
    {"--search-file-names", "--no-search-file-names", "the text is also searched in file names (SearchFileNames)",
     &AppSettings::searchFileNames, "switch.--search-file-names"},
    {"--search-all-iptc", "--no-search-all-iptc",
     "the text is searched in every IPTC field, else in the fields ticked in the search options (SearchAllIPTC)",
     &AppSettings::searchAllIPTC, "switch.--search-all-iptc"},
    };
    return switches;
}

std::vector<OptionSyntax> switchOptions(const std::vector<StoredSwitch> &switches)
{
    static const char kOff[] = "turns the option above off, whatever Zelvarion.ini holds";
    std::vector<OptionSyntax> options;
    for (const StoredSwitch &stored : switches) {
        options.push_back({stored.on, nullptr, stored.help, false, stored.key});
        options.push_back({stored.off, nullptr, kOff, false, "switch.off"});
    }
    return options;
}

std::optional<QString> applyStoredSwitches(const ParsedArguments &arguments, const std::vector<StoredSwitch> &switches,
                                           AppSettings &settings, const LanguagePack &pack)
{
    for (const StoredSwitch &stored : switches) {
        const bool on = arguments.flag(stored.on);
        const bool off = arguments.flag(stored.off);
        if (on && off)
            return filled(textOf(pack, texts::kSwitchBothWays),
                          {{u'#', QString::fromLatin1(stored.on)}, {u'%', QString::fromLatin1(stored.off)}});
        if (on || off)
            settings.*stored.member = on;
    }
    return std::nullopt;
}

bool loadSettingsAndLanguage(Session &session)
{
    session.loadSettings();
    const QString shipped =
        programFolder::shippedDataFolder(QCoreApplication::applicationDirPath()) + QStringLiteral("/Zelvarion-Language/");
    const bool shippedFound = session.language.load(shipped, session.settings.language);
    const bool ownFound = session.language.load(programFolder::languageFolder(), session.settings.language);
    rememberCommandLanguage(session.language);
    // Dates, times and numbers as the window shows them in this language.
    QLocale::setDefault(packLocale(session.language));
    return shippedFound || ownFound;
}

bool prepareCatalogue(CliContext &context, const char *command, const ParsedArguments &arguments,
                      Session &prepared)
{
    loadSettingsAndLanguage(prepared);
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
        context.err << withSubject(pack, Message::CliCatalogueMissing, path) << '\n';
    else
        context.err << catalogueFileProblem(check, path, pack).replace(u'\n', u' ') << '\n';
    return false;
}

void updateSearchIndex(CliContext &context, const char *command, CatalogueDb &db, const LanguagePack &pack)
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
            context.err << "zelvarion-cli " << command << ": "
                        << pack.message(Message::CliIndexing)
                               .replace(u'#', QString::number(done))
                               .replace(u'%', QString::number(total))
                        << '\n';
            context.err.flush();
            told = true;
            sinceLastLine.restart();
        }
        return true;
    };
    if (searchIndex::build(db, progress) == searchIndex::CatchUp::Failed && told)
        context.err << "zelvarion-cli " << command << ": " << withSubject(pack, Message::CliIndexFailed, db.errorText())
                    << '\n';
}

void printJson(QTextStream &out, const QJsonValue &value)
{
    const QJsonDocument document = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << document.toJson(QJsonDocument::Indented);
}

RowsFormat rowsFormat(const ParsedArguments &arguments)
{
    return arguments.flag("--json") ? RowsFormat::Json
           : arguments.flag("-0")   ? RowsFormat::NulSeparatedPaths
                                    : RowsFormat::Lines;
}

void printRows(QTextStream &out, const std::vector<ResultRow> &rows, RowsFormat format, RowsColumns columns)
{
    const bool withMark = columns == RowsColumns::WithMark;
    if (format == RowsFormat::NulSeparatedPaths) {
        for (const ResultRow &row : rows)
            out << row.folder << row.file << QChar(u'\0');
        return;
    }
    if (format == RowsFormat::Lines) {
        for (const ResultRow &row : rows) {
            out << escapedName(row.folder) << '\t' << escapedName(row.file);
            if (withMark)
                out << '\t' << escapedName(isoDateFromMark(row.checkMark));
            out << '\n';
        }
        return;
    }
    QJsonArray array;
    for (const ResultRow &row : rows) {
        QJsonObject image{{QStringLiteral("folder"), row.folder}, {QStringLiteral("file"), row.file},
                          {QStringLiteral("path"), row.folder + row.file}};
        if (withMark)
            image.insert(QStringLiteral("mark"), isoDateFromMark(row.checkMark));
        array.append(image);
    }
    printJson(out, array);
}

namespace {

bool needsEscape(QByteArrayView cell)
{
    for (const char c : cell)
        if (c == '\\' || c == '\t' || c == '\n' || c == '\r')
            return true;
    return false;
}

} // namespace

void RawLines::addRow(std::initializer_list<QByteArrayView> cells)
{
    bool first = true;
    for (const QByteArrayView cell : cells) {
        if (!first)
            m_pending.append('\t');
        first = false;
        // What the stream would write for the decoded text: bytes that are no UTF-8 as U+FFFD.
        if (needsEscape(cell))
            m_pending.append(escapedName(QString::fromUtf8(cell)).toUtf8());
        else if (QUtf8StringView(cell.data(), cell.size()).isValidUtf8())
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
