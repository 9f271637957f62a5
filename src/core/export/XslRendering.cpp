#include "core/export/XslRendering.h"

#include "core/session/Feedback.h"
#include "core/session/LanguagePack.h"
#include "core/session/Result.h"
#include "core/session/TextRules.h"
#include "platform/ScriptRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelvarion {

QString errorDetails(const XmlSourceError &error)
{
    return error.description + u'\n' + error.reason + QStringLiteral(" line: ") + QString::number(error.line)
           + QStringLiteral(" col: ") + QString::number(error.column) + QStringLiteral(" text: ") + error.sourceText;
}

QStringList stylesheetNames(const ExportFolder &folder)
{
    return QDir(folder.path).entryList({QStringLiteral("*.xsl")}, QDir::Files, QDir::Name);
}

int rememberedStylesheetPosition(const QStringList &entries, const QString &remembered)
{
    if (remembered.isEmpty())
        return 0;
    const qsizetype at = entries.indexOf(remembered);
    return at < 0 ? 0 : int(at);
}

QString outputExtension(const QStringList &topLevelComments)
{
    const QString marker = QStringLiteral("extension=");
    QString extension = QStringLiteral("htm");
    for (const QString &comment : topLevelComments) {
        const qsizetype at = comment.indexOf(marker);
        if (at >= 0)
            extension = trimBlanks(QStringView(comment).mid(at + marker.size()));
    }
    return extension;
}

bool isPlainExtension(const QString &extension)
{
    constexpr qsizetype kLongest = 10;
    if (extension.isEmpty() || extension.size() > kLongest)
        return false;
    for (const QChar c : extension)
        if (!(c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')))
            return false;
    return true;
}

QString formatterScriptPath(const ExportFolder &folder) { return folder.path + QStringLiteral("/fop.sh"); }

namespace {

// The title of the boxes the rendering shows without the application title.
QString defaultBoxTitle() { return QStringLiteral("Zelvarion"); }

struct Rendering
{
    const ExportFolder &folder;
    const QString &listText;
    DisplayEnvironment &environment;

    void fail(const QString &title, const QString &text) const
    {
        environment.feedback.showMessage(text, MessageIcon::Critical, title);
    }

    // Steps of the rendering; the output path on success, empty after a reported failure.
    QString render(XslProcessor &processor) const
    {
        const LanguagePack &pack = environment.pack;
        XmlSourceError error;
        environment.showStatus(pack.message(Message::LoadingXsl));
        if (!processor.loadStylesheet(folder.path + u'/' + listText, error)) {
            fail(pack.message(Message::StylesheetNotLoaded),
                 fillPlaceholders(pack.message(Message::StylesheetFileLabel), {listText}) + u'\n' + errorDetails(error));
            return {};
        }
        const QString extension = outputExtension(processor.topLevelComments());
        if (!isPlainExtension(extension)) {
            fail(defaultBoxTitle(), pack.message(Message::OutputExtensionRefused) + u'\n' + extension);
            return {};
        }
        const QString output = folder.path + QStringLiteral("/Zelvarion.") + extension;
        if (!liesInsideFolder(output, folder.path)) {
            fail(defaultBoxTitle(), pack.message(Message::OutputOutsideExportFolder) + u'\n' + output);
            return {};
        }
        environment.showStatus(pack.message(Message::LoadingXml));
        if (!processor.loadDocument(folder.documentPath(), error)) {
            fail(pack.message(Message::XmlNotLoaded),
                 fillPlaceholders(pack.message(Message::XmlFileLabel), {QFileInfo(folder.documentPath()).fileName()})
                     + u'\n' + errorDetails(error));
            return {};
        }
        environment.showStatus(pack.message(Message::TransformingXml));
        if (!processor.transformTo(output, error)) {
            fail(defaultBoxTitle(), errorDetails(error));
            return {};
        }
        return output;
    }
};

} // namespace

DisplayOutcome displayXml(const ExportFolder &folder, const QString &listText, DisplayEnvironment &environment)
{
    const LanguagePack &pack = environment.pack;
    environment.showStatus(QString());
    if (!QFileInfo::exists(folder.documentPath())) {
        environment.feedback.showMessage(pack.message(Message::XmlFileMissing) + u'\n' + folder.documentPath(),
                                         MessageIcon::Warning);
        return {DisplayOutcome::Kind::XmlMissing, {}};
    }
    environment.rememberStylesheet(listText);
    if (listText == pack.text(InterfaceText::NoXslChoice)) {
        environment.openWithDefaultProgram(folder.documentPath());
        return {DisplayOutcome::Kind::OpenedDocument, folder.documentPath()};
    }
    std::unique_ptr<XslProcessor> processor = environment.makeProcessor ? environment.makeProcessor() : nullptr;
    if (!processor) {
        environment.feedback.showMessage(pack.message(Message::XmlParserMissing) + u'\n'
                                             + QStringLiteral("the Debian packages libxml2 and libxslt1.1"),
                                         MessageIcon::Critical);
        return {};
    }
    const QString output = Rendering{folder, listText, environment}.render(*processor);
    processor.reset();
    if (output.isEmpty())
        return {};
    environment.showStatus(pack.message(Message::RenderingDone));
    if (QFileInfo(output).suffix().toUpper() != u"FO") {
        environment.openWithDefaultProgram(output);
        return {DisplayOutcome::Kind::Rendered, output};
    }
    const QString pdf = folder.path + QStringLiteral("/Zelvarion.pdf");
    QFile::remove(pdf);
    const QString script = formatterScriptPath(folder);
    const bool formatted = environment.runFormatter ? environment.runFormatter(script) : runAndWait(script, environment.feedback);
    if (!formatted)
        return {DisplayOutcome::Kind::Failed, {}}; // said with the formatter's own words
    environment.openWithDefaultProgram(pdf);
    return {DisplayOutcome::Kind::Rendered, pdf};
}

namespace {

// The end of a script's output: where a failing program says why.
QString lastLines(const QByteArray &output)
{
    constexpr qsizetype kShown = 30;
    QStringList lines = QString::fromLocal8Bit(output).trimmed().split(u'\n');
    if (lines.size() > kShown)
        lines = QStringList{QStringLiteral("…")} + lines.mid(lines.size() - kShown);
    return lines.join(u'\n');
}

} // namespace

bool runAndWait(const QString &command, Feedback &feedback)
{
    const scriptrun::ScriptResult run = scriptrun::runAndWait(command, [&feedback] { feedback.processEvents(); });
    if (run.notStarted) {
        const Failure notStarted{Message::ProgramNotStarted, {command, *run.notStarted}, {}};
        feedback.showMessage(describe(notStarted, feedback.language()), MessageIcon::None, defaultBoxTitle());
        return false;
    }
    if (!run.succeeded) {
        const QString said = QString(feedback.language().message(Message::ScriptFailed)).replace(u'#', command);
        feedback.showMessage(said + u'\n' + lastLines(run.output), MessageIcon::Critical, defaultBoxTitle());
        return false;
    }
    return true;
}

} // namespace zelvarion
