#include "platform/XsltEngine.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>

namespace zelvarion {
namespace {

// The options the command-line processor uses: entities substituted, the document type read for
// default attributes, CDATA merged; never the network.
constexpr int kParseOptions = XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_NOCDATA
                              | XML_PARSE_NONET;

// The one folder the processor in use may touch. Rendering runs on the window's thread, one at a
// time; the library's loaders and security checks are global, so they read it from here.
QString &sandbox()
{
    static QString folder;
    return folder;
}

QString localPathOf(const char *uriOrPath)
{
    const QString text = QString::fromUtf8(uriOrPath ? uriOrPath : "");
    const QUrl url(text);
    if (url.isLocalFile())
        return url.toLocalFile();
    if (!url.scheme().isEmpty() && url.scheme().size() > 1)
        return {}; // http:, ftp:, … : never
    return text;
}

bool insideSandbox(const char *uriOrPath)
{
    const QString path = localPathOf(uriOrPath);
    if (path.isEmpty() || sandbox().isEmpty())
        return false;
    const QString root = QFileInfo(sandbox()).canonicalFilePath();
    QFileInfo info(QDir(sandbox()).absoluteFilePath(path));
    // A file still to be written has no canonical path: its folder must have one inside.
    const QString real = info.exists() ? info.canonicalFilePath()
                                       : QFileInfo(info.absolutePath()).canonicalFilePath() + u'/' + info.fileName();
    return !root.isEmpty() && (real == root || real.startsWith(root + u'/'));
}

int allowInSandbox(xsltSecurityPrefsPtr, xsltTransformContextPtr, const char *value)
{
    return insideSandbox(value) ? 1 : 0;
}

xmlExternalEntityLoader g_defaultLoader = nullptr;

xmlParserInputPtr sandboxedEntityLoader(const char *url, const char *id, xmlParserCtxtPtr context)
{
    if (!insideSandbox(url))
        return nullptr;
    return g_defaultLoader(url, id, context);
}

// What the libraries said since the last clear, for the error boxes: the processor writes one
// message in several pieces.
struct Messages
{
    QString last;
};
Messages g_messages;

// The first error of a parse: the parser goes on after it and its later errors are mostly
// consequences.
struct FirstError
{
    bool set = false;
    QString message;
    QString file;
    int line = 0;
    int column = 0;
};
FirstError g_firstError;

void collectStructuredError(void *, xmlError *error)
{
    if (g_firstError.set || !error || error->level < XML_ERR_ERROR)
        return;
    g_firstError.set = true;
    g_firstError.message = QString::fromUtf8(error->message ? error->message : "").trimmed();
    g_firstError.file = QString::fromUtf8(error->file ? error->file : "");
    g_firstError.line = error->line;
    g_firstError.column = error->int2;
}

void collectGenericError(void *, const char *format, ...)
{
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    g_messages.last += QString::fromUtf8(buffer);
}

void setUpLibraries()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    xmlInitParser();
    exsltRegisterAll();
    g_defaultLoader = xmlGetExternalEntityLoader();
    xmlSetExternalEntityLoader(sandboxedEntityLoader);
    xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_FILE, allowInSandbox);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_FILE, allowInSandbox);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_CREATE_DIRECTORY, allowInSandbox);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    xsltSetDefaultSecurityPrefs(prefs); // also guards xsl:import and xsl:include
}

QString lineOfFile(const QString &path, int line)
{
    QFile file(path);
    if (line <= 0 || !file.open(QIODevice::ReadOnly))
        return {};
    for (int n = 1; !file.atEnd(); ++n) {
        const QByteArray text = file.readLine();
        if (n == line)
            return QString::fromUtf8(text).trimmed();
    }
    return {};
}

QString lastMessages() { return g_messages.last.trimmed(); }

XmlSourceError parseErrorOf(const QString &path)
{
    XmlSourceError result;
    result.reason = g_firstError.set ? g_firstError.message : lastMessages();
    result.line = g_firstError.line;
    result.column = g_firstError.column;
    result.sourceText = lineOfFile(g_firstError.file.isEmpty() ? path : g_firstError.file, g_firstError.line);
    if (result.reason.isEmpty())
        result.reason = QStringLiteral("cannot read the file");
    return result;
}

// Parses a file; a document naming a document type is validated against it.
xmlDocPtr parseFile(const QString &path, XmlSourceError &error)
{
    g_messages.last.clear();
    g_firstError = FirstError();
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) {
        error.reason = QStringLiteral("out of memory");
        return nullptr;
    }
    xmlSetStructuredErrorFunc(nullptr, collectStructuredError);
    const QByteArray name = QFile::encodeName(path);
    xmlDocPtr doc = xmlCtxtReadFile(context, name.constData(), nullptr, kParseOptions);
    if (!doc) {
        error = parseErrorOf(path);
    } else if (doc->intSubset || doc->extSubset) {
        xmlValidCtxtPtr valid = xmlNewValidCtxt();
        const bool ok = xmlValidateDocument(valid, doc) == 1;
        xmlFreeValidCtxt(valid);
        if (!ok) {
            error = parseErrorOf(path);
            xmlFreeDoc(doc);
            doc = nullptr;
        }
    }
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlFreeParserCtxt(context);
    return doc;
}

class XsltEngine : public XslProcessor
{
public:
    explicit XsltEngine(const QString &folder)
    {
        setUpLibraries();
        sandbox() = QDir(folder).absolutePath();
        xmlSetGenericErrorFunc(nullptr, collectGenericError);
        xsltSetGenericErrorFunc(nullptr, collectGenericError);
    }

    ~XsltEngine() override
    {
        if (m_document)
            xmlFreeDoc(m_document);
        if (m_stylesheet)
            xsltFreeStylesheet(m_stylesheet);
        xsltSetGenericErrorFunc(nullptr, nullptr);
        xmlSetGenericErrorFunc(nullptr, nullptr);
        sandbox().clear();
    }

    bool loadStylesheet(const QString &path, XmlSourceError &error) override
    {
        xmlDocPtr doc = parseFile(path, error);
        if (!doc)
            return false;
        m_comments.clear();
        for (xmlNodePtr node = doc->children; node; node = node->next)
            if (node->type == XML_COMMENT_NODE)
                m_comments << QString::fromUtf8(reinterpret_cast<const char *>(node->content));
        g_messages.last.clear();
        m_stylesheet = xsltParseStylesheetDoc(doc); // owns doc from here on, also on failure
        if (!m_stylesheet || m_stylesheet->errors > 0) {
            error.description = lastMessages();
            error.reason = QStringLiteral("not a valid XSLT stylesheet");
            if (m_stylesheet) {
                xsltFreeStylesheet(m_stylesheet);
                m_stylesheet = nullptr;
            }
            return false;
        }
        return true;
    }

    QStringList topLevelComments() const override { return m_comments; }

    bool loadDocument(const QString &path, XmlSourceError &error) override
    {
        m_document = parseFile(path, error);
        return m_document != nullptr;
    }

    bool transformTo(const QString &outputPath, XmlSourceError &error) override
    {
        if (!m_stylesheet || !m_document) {
            error.reason = QStringLiteral("nothing to transform");
            return false;
        }
        // The caller names the output; it too must stay in the folder, links followed.
        if (!insideSandbox(QFile::encodeName(outputPath).constData())) {
            error.reason = QStringLiteral("the output file lies outside the export folder");
            return false;
        }
        g_messages.last.clear();
        xsltTransformContextPtr context = xsltNewTransformContext(m_stylesheet, m_document);
        xsltSecurityPrefsPtr prefs = xsltGetDefaultSecurityPrefs();
        xsltSetCtxtSecurityPrefs(prefs, context);
        xmlDocPtr result = xsltApplyStylesheetUser(m_stylesheet, m_document, nullptr, nullptr, nullptr, context);
        const bool failed = !result || context->state == XSLT_STATE_ERROR || context->state == XSLT_STATE_STOPPED;
        xsltFreeTransformContext(context);
        if (failed) {
            if (result)
                xmlFreeDoc(result);
            error.description = lastMessages();
            error.reason = QStringLiteral("the transformation failed");
            return false;
        }
        return write(result, outputPath, error);
    }

private:
    // The result serialised as its output element says, as the command-line processor writes it.
    bool write(xmlDocPtr result, const QString &outputPath, XmlSourceError &error)
    {
        xmlChar *text = nullptr;
        int size = 0;
        const int saved = xsltSaveResultToString(&text, &size, result, m_stylesheet);
        xmlFreeDoc(result);
        const QByteArray bytes(reinterpret_cast<const char *>(text), text ? size : 0);
        xmlFree(text);
        if (saved != 0) {
            error.reason = QStringLiteral("the result cannot be serialised");
            return false;
        }
        const atomicfile::Result written = atomicfile::replaceFileContent(outputPath, bytes);
        if (!written.ok)
            error.reason = written.paths.value(0) + QStringLiteral(": ") + written.systemText;
        return written.ok;
    }

    xsltStylesheetPtr m_stylesheet = nullptr;
    xmlDocPtr m_document = nullptr;
    QStringList m_comments;
};

} // namespace

std::unique_ptr<XslProcessor> makeXsltProcessor(const QString &allowedFolder)
{
    return std::make_unique<XsltEngine>(allowedFolder);
}

} // namespace zelvarion
