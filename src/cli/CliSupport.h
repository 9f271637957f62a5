#pragma once

#include "cli/CliContext.h"
#include "cli/CommandLine.h"
#include "core/search/ResultList.h"
#include "core/session/AppSettings.h"
#include "core/session/Feedback.h"
#include "core/session/Session.h"

#include <QJsonValue>

namespace zelvarion::cli {

// The core's messages as StreamFeedback shows them, a warning failing the command too (the file
// commands warn when they refuse). A question of the core is asked on a terminal through
// confirmOnTerminal, or answered Yes by --yes.
class CommandFeedback : public Feedback
{
public:
    CommandFeedback(CliContext &context, bool assumeYes) : m_context(context), m_stream(context), m_assumeYes(assumeYes) {}
    void showMessage(const QString &text, MessageIcon icon, const QString &title = {}) override;
    bool askYesNo(const QString &text, MessageIcon icon = MessageIcon::Question) override;
    void progress(const QString &line) override { m_stream.progress(line); }
    const LanguagePack &language() const override { return m_language ? *m_language : m_stream.language(); }
    bool failed() const { return m_stream.failed() || m_warned; }

private:
    CliContext &m_context;
    StreamFeedback m_stream;
    bool m_assumeYes;
    bool m_warned = false;
};

// The option every command on the catalogue takes, and others several commands share.
inline constexpr OptionSyntax kCatalogueOption{"--catalogue", "DB", "the catalogue (default: the one last used, else Images.db)",
                                               false, "common.--catalogue"};
inline constexpr OptionSyntax kYesOption{"--yes", nullptr, "goes on without asking on a terminal", false, "common.--yes"};
inline constexpr OptionSyntax kNulOption{"-0", nullptr, "prints each image's path followed by a NUL character", false,
                                         "common.-0"};

// A switch the windows store in Zelvarion.ini, given both ways on the command line: "--on" turns
// it on and "--off" off for this run only (the file keeps its value); neither keeps the stored one.
struct StoredSwitch
{
    const char *on;
    const char *off;
    const char *help; // of the "on" option; the "off" one says "turns the option above off, whatever Zelvarion.ini holds"
    bool AppSettings::*member;
    const char *key; // of help in the packs
};

// The edit options' backups and kept date, and the thumbnails, which every rewrite reads (functions,
// so that the syntax tables of other files may use them while they are made).
const std::vector<StoredSwitch> &rewriteSwitches();
// The search options window's places, which every search reads.
const std::vector<StoredSwitch> &searchPlaceSwitches();

// Each switch as two options of a syntax.
std::vector<OptionSyntax> switchOptions(const std::vector<StoredSwitch> &switches);

// Sets the settings' members from the switches given; the problem, in the pack's words, when both
// ways of one were given.
std::optional<QString> applyStoredSwitches(const ParsedArguments &arguments, const std::vector<StoredSwitch> &switches,
                                           AppSettings &settings, const LanguagePack &pack);

// The session's settings and language as every command reads them: the shipped pack of the
// language first, then the program folder's, so a pack seeded by an older version still gives the
// newer keys in its own language rather than in English. False when neither pack was found.
bool loadSettingsAndLanguage(Session &session);

// True when path holds a catalogue. Otherwise tells why on the error stream: no file there (which
// opening would create), or a file that is not a catalogue, such as the undo journal beside it.
bool catalogueUsable(CliContext &context, const char *command, const QString &path, const LanguagePack &pack);

// The settings and language of the session, and its catalogue from the parsed --catalogue (else
// the remembered one, else the default); false (told) when it is no catalogue (catalogueUsable).
bool prepareCatalogue(CliContext &context, const char *command, const ParsedArguments &arguments,
                      Session &prepared);

// Brings the catalogue's search index up to date before a search or after a command that changed
// many rows, telling on stderr how far it is when that takes a while. A catalogue that takes no
// writes is searched without the index; a kill keeps what was indexed.
void updateSearchIndex(CliContext &context, const char *command, CatalogueDb &db, const LanguagePack &pack);

void printJson(QTextStream &out, const QJsonValue &value);

// How a list of images is printed: lines of cells between tabs (names escaped, escapedName), a
// JSON array of objects with "folder", "file" and "path" as they are, or each path followed by
// a NUL character (-0). A mark is printed as an ISO 8601 date when it is one.
enum class RowsFormat { Lines, Json, NulSeparatedPaths };
enum class RowsColumns { FolderAndFile, WithMark };
void printRows(QTextStream &out, const std::vector<ResultRow> &rows, RowsFormat format, RowsColumns columns);
// The format the flags --json and -0 of a command ask for.
RowsFormat rowsFormat(const ParsedArguments &arguments);
// Lines of cells between tabs from the engine's bytes, printed as printRows prints the texts they
// decode to, without making texts of them: bytes that are UTF-8 already go out as they are, with
// a backslash, tab or line break escaped as escapedName does.
class RawLines
{
public:
    explicit RawLines(QTextStream &out) : m_out(out) {}
    ~RawLines() { flush(); }
    RawLines(const RawLines &) = delete;
    RawLines &operator=(const RawLines &) = delete;

    void addRow(std::initializer_list<QByteArrayView> cells);
    void flush();

private:
    QTextStream &m_out;
    QByteArray m_pending;
};

} // namespace zelvarion::cli
