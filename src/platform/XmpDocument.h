#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace zelvarion {

// How an XMP property holds its value.
enum class XmpForm {
    Simple,  // one text
    LangAlt, // alternative texts by language; the "x-default" one is used
    Bag,     // unordered list of texts
    Seq,     // ordered list of texts
};

// Names a property: its namespace URI and its local name.
struct XmpName
{
    const char *namespaceUri;
    const char *property;
};

// An XMP packet parsed by the XMP library, read and changed property by property. Every other
// property, namespace and qualifier of the packet is kept as it was when it is serialized again.
class XmpDocument
{
public:
    // Nothing when the bytes are not a packet the library can parse.
    static std::optional<XmpDocument> parse(QByteArrayView packet);

    XmpDocument(XmpDocument &&) noexcept;
    XmpDocument &operator=(XmpDocument &&) noexcept;
    ~XmpDocument();

    // The property's texts: one for Simple and LangAlt, the items for Bag and Seq; empty when the
    // property is absent or has another form.
    QStringList values(XmpName name, XmpForm form) const;
    // Sets the property to the texts in the given form; no texts removes it. False when the
    // library refused the change.
    bool setValues(XmpName name, XmpForm form, const QStringList &texts);

    // The packet again, with its wrapper and `padding` bytes of room for in-place editors.
    std::optional<QByteArray> serialize(int padding) const;

private:
    struct Handle;
    explicit XmpDocument(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> m_handle;
};

} // namespace zelvarion
