#include "platform/XmpDocument.h"

#include <exempi/xmp.h>
#include <exempi/xmpconsts.h>

#include <mutex>


namespace zelvarion {
namespace {

// The scan and the template run read and write files on worker threads; the library keeps
// process-wide tables (namespaces, its error state), so every call into it holds this lock.
std::mutex &libraryLock()
{
    static std::mutex lock;
    return lock;
}

// The library is started once and stays for the process.
bool startLibrary()
{
    static const bool started = [] {
        if (!xmp_init())
            return false;
        // Namespaces the packet may lack but the mirrored properties use.
        XmpStringPtr prefix = xmp_string_new();
        xmp_register_namespace("http://iptc.org/std/Iptc4xmpCore/1.0/xmlns/", "Iptc4xmpCore", prefix);
        xmp_string_free(prefix);
        return true;
    }();
    return started;
}

// An XmpStringPtr released on every path.
class XmpText
{
public:
    XmpText() : m_string(xmp_string_new()) {}
    ~XmpText() { xmp_string_free(m_string); }
    XmpText(const XmpText &) = delete;
    XmpText &operator=(const XmpText &) = delete;
    XmpStringPtr get() const { return m_string; }
    QString text() const { return QString::fromUtf8(xmp_string_cstr(m_string)); }
    QByteArray bytes() const { return QByteArray(xmp_string_cstr(m_string), qsizetype(xmp_string_len(m_string))); }

private:
    XmpStringPtr m_string;
};

uint32_t arrayOptions(XmpForm form)
{
    return form == XmpForm::Seq ? uint32_t(XMP_PROP_ARRAY_IS_ORDERED) : uint32_t(XMP_PROP_VALUE_IS_ARRAY);
}

} // namespace

struct XmpDocument::Handle
{
    XmpPtr xmp = nullptr;
    ~Handle()
    {
        if (!xmp)
            return;
        const std::lock_guard guard(libraryLock());
        xmp_free(xmp);
    }
};

XmpDocument::XmpDocument(std::unique_ptr<Handle> handle) : m_handle(std::move(handle)) {}
XmpDocument::XmpDocument(XmpDocument &&) noexcept = default;
XmpDocument &XmpDocument::operator=(XmpDocument &&) noexcept = default;
XmpDocument::~XmpDocument() = default;

std::optional<XmpDocument> XmpDocument::parse(QByteArrayView packet)
{
    if (packet.isEmpty())
        return std::nullopt;
    const std::lock_guard guard(libraryLock());
    if (!startLibrary())
        return std::nullopt;
    auto handle = std::make_unique<Handle>();
    handle->xmp = xmp_new(packet.data(), size_t(packet.size()));
    if (!handle->xmp)
        return std::nullopt;
    return XmpDocument(std::move(handle));
}

QStringList XmpDocument::values(XmpName name, XmpForm form) const
{
    const std::lock_guard guard(libraryLock());
    QStringList texts;
    XmpText value;
    uint32_t bits = 0;
    if (form == XmpForm::LangAlt) {
        XmpText language;
        if (xmp_get_localized_text(m_handle->xmp, name.namespaceUri, name.property, "", "x-default",
                                   language.get(), value.get(), &bits))
            texts << value.text();
        return texts;
    }
    if (!xmp_get_property(m_handle->xmp, name.namespaceUri, name.property, value.get(), &bits))
        return texts;
    const bool isArray = XMP_IS_PROP_ARRAY(bits);
    if (form == XmpForm::Simple) {
        if (!isArray && !XMP_IS_PROP_STRUCT(bits))
            texts << value.text();
        return texts;
    }
    if (!isArray)
        return texts;
    for (int32_t index = 1; xmp_get_array_item(m_handle->xmp, name.namespaceUri, name.property, index,
                                                value.get(), &bits);
         ++index)
        texts << value.text();
    return texts;
}

bool XmpDocument::setValues(XmpName name, XmpForm form, const QStringList &texts)
{
    const std::lock_guard guard(libraryLock());
    XmpPtr xmp = m_handle->xmp;
    xmp_delete_property(xmp, name.namespaceUri, name.property);
    if (texts.isEmpty())
        return true;
    switch (form) {
    case XmpForm::Simple:
        return xmp_set_property(xmp, name.namespaceUri, name.property, texts.first().toUtf8().constData(), 0);
    case XmpForm::LangAlt:
        return xmp_set_localized_text(xmp, name.namespaceUri, name.property, "", "x-default",
                                      texts.first().toUtf8().constData(), 0);
    case XmpForm::Bag:
    case XmpForm::Seq:
        for (const QString &text : texts)
            if (!xmp_append_array_item(xmp, name.namespaceUri, name.property, arrayOptions(form),
                                       text.toUtf8().constData(), 0))
                return false;
        return true;
    }
    return false;
}

std::optional<QByteArray> XmpDocument::serialize(int padding) const
{
    const std::lock_guard guard(libraryLock());
    XmpText packet;
    if (!xmp_serialize_and_format(m_handle->xmp, packet.get(), 0, uint32_t(std::max(0, padding)), "\n", " ", 0))
        return std::nullopt;
    return packet.bytes();
}

} // namespace zelvarion
