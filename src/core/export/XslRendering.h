#pragma once

#include "core/export/XmlExport.h"
#include "core/export/XslProcessor.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace zelvarion {

class Feedback;
class LanguagePack;

// The stylesheet names of the export folder ("*.xsl", without folder), sorted by name: the file
// system's listing has no order of its own here.
QStringList stylesheetNames(const ExportFolder &folder);

// Position of the remembered stylesheet in the list whose entry 0 stands for no stylesheet: the
// entry equal to it in the same case, else 0.
int rememberedStylesheetPosition(const QStringList &entries, const QString &remembered);

// "htm", unless a top-level comment holds "extension=": then the text after its first
// "extension=", trimmed; the last such comment counts.
QString outputExtension(const QStringList &topLevelComments);

// An extension the output file may take: 1 to 10 ASCII letters and digits. The comment is the
// stylesheet author's text, so anything else (a "/", "..") could name a file outside the folder.
bool isPlainExtension(const QString &extension);

// What the display command needs from the window and the desktop.
struct DisplayEnvironment
{
    Feedback &feedback;
    const LanguagePack &pack;
    // A new processor for one rendering; null when none can be made (message 37).
    std::function<std::unique_ptr<XslProcessor>()> makeProcessor;
    std::function<void(const QString &path)> openWithDefaultProgram;
    std::function<void(const QString &text)> showStatus; // lblDisplayMessage
    std::function<void(const QString &listText)> rememberStylesheet; // XSLFile
    // Runs the FO formatter script and waits for its end, true when it succeeded; defaults to
    // runAndWait.
    std::function<bool(const QString &script)> runFormatter;
};

struct DisplayOutcome
{
    enum class Kind { XmlMissing, OpenedDocument, Rendered, Failed } kind = Kind::Failed;
    QString opened; // the file handed to the default program
};

// The FO formatter script of the export folder: "fop.sh", which makes "Zelvarion.pdf" from
// "Zelvarion.fo".
QString formatterScriptPath(const ExportFolder &folder);

// Display XML: opens the last export as it is when listText is entry 0 (interface string 201),
// otherwise renders it with the stylesheet of that name into "Zelvarion." + output extension,
// and for an "fo" extension (any case) runs the formatter and opens the PDF.
DisplayOutcome displayXml(const ExportFolder &folder, const QString &listText, DisplayEnvironment &environment);

// Starts command (a shell script, run by /bin/sh in its own folder) and waits for its end, letting
// the window's events run meanwhile (the start itself is platform's scriptrun). A command that
// cannot be started is reported as ProgramNotStarted, one that fails with the end of its output;
// what a command that succeeds writes is dropped. True when it ran and succeeded.
bool runAndWait(const QString &command, Feedback &feedback);

} // namespace zelvarion
