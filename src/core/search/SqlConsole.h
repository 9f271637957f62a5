#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace zelvarion {

struct CatalogueCommand;
class IniFile;

// The console shows at most this many rows less one, with message 25 when the result reaches it.
inline constexpr int kConsoleRowLimit = 32000;
inline constexpr int kConsoleHistoryEntries = 10;
// A statement is run in full but comes back from the stored history with at most this many
// characters.
inline constexpr int kConsoleHistoryEntryLength = 254;

// The only check made on the text itself: its first seven characters, in upper case, are
// "SELECT " (with the space).
bool hasSelectPrefix(const QString &statement);

// What a run of the console leaves for its table.
struct ConsoleResult
{
    enum class Status { NotOpened, NotSelect, Failed, Ran };
    Status status = Status::NotOpened;
    QStringList columns;
    std::vector<QStringList> rows;
    int folderColumn = -1; // the column named exactly "Folder", -1 when absent
    int fileColumn = -1;   // the column named exactly "File"
    bool limited = false;  // the result reached the row limit
    QString notRun;        // the text after the first statement, which was not run

    // A click on a row can show its image.
    bool showsImages() const { return folderColumn >= 0 && fileColumn >= 0; }
};

// Runs the console's statement: the catalogue opened for reading only, the prefix check (message
// 27), only the first statement of the text (the rest is named in message 41 and not run), at
// most kConsoleRowLimit - 1 rows (message 25). A statement the engine refuses, a write among
// them, is reported as CannotGetData.
ConsoleResult runConsoleStatement(const CatalogueCommand &command, const QString &statement);

// The folder and file of a row when the result has both columns; empty texts otherwise.
struct ConsoleImage
{
    QString folder;
    QString file;
};
ConsoleImage consoleRowImage(const ConsoleResult &result, int row);

// History of section "SQLQuery", keys SQLQuery1 to SQLQuery10, most recent first; empty values
// are passed over and longer ones cut.
QStringList readConsoleHistory(const IniFile &ini);
void writeConsoleHistory(const IniFile &ini, const QStringList &history);

} // namespace zelvarion
