#pragma once

#include "core/export/XslProcessor.h"

#include <memory>

namespace zelvarion {

// The XML parser and XSLT processor behind the rendering (libxml2 and libxslt, with the EXSLT
// functions). Files are read and written only inside the folder given, the network never.
std::unique_ptr<XslProcessor> makeXsltProcessor(const QString &allowedFolder);

} // namespace zelvarion
