#pragma once

#include <QString>
#include <QStringList>

namespace zelvarion {

// Where and why a stylesheet or a document could not be read or transformed.
struct XmlSourceError
{
    QString description; // the processor's own last message; may be empty
    QString reason;
    int line = 0;
    int column = 0;
    QString sourceText; // the line of the file the error points at
};

// The details shown in the error boxes: the description, a line break, then the reason, " line: ",
// line, " col: ", column, " text: " and the source text.
QString errorDetails(const XmlSourceError &error);

// The XML parser and XSLT 1.0 processor behind the rendering: one stylesheet and one document,
// for one rendering. The processor reads and writes files only inside the folder it was made
// for and never reaches the network.
class XslProcessor
{
public:
    virtual ~XslProcessor() = default;

    // Parses and compiles the stylesheet.
    virtual bool loadStylesheet(const QString &path, XmlSourceError &error) = 0;
    // The texts of the comments that stand beside the root element of the loaded stylesheet.
    virtual QStringList topLevelComments() const = 0;
    // Parses the document; a document naming a document type is validated against it.
    virtual bool loadDocument(const QString &path, XmlSourceError &error) = 0;
    // Transforms the document and writes the result as the stylesheet's output element says
    // (method and encoding), replacing outputPath.
    virtual bool transformTo(const QString &outputPath, XmlSourceError &error) = 0;
};

} // namespace zelvarion
