#include "platform/VipsDecoder.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <cstdio>
#include <mutex>

namespace zelvarion {
namespace {

const VipsDecoder *g_loaded = nullptr;

// Beside the executable first (the build folder and the program folder hold both), then in the
// library folder of an installed layout (bin/../lib/zelvarion), then wherever the dynamic loader
// looks.
const VipsDecoder *loadModule()
{
    using Entry = const VipsDecoder *(*)();
    const QString name = QStringLiteral(ZELVARION_VIPS_MODULE);
    const QString executableFolder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
    const QString installed = QDir(executableFolder).filePath(QStringLiteral("../lib/zelvarion/") + name);
    for (const QString &candidate : {QDir(executableFolder).filePath(name), installed, name}) {
        static QLibrary library; // stays loaded for the life of the process
        library.setFileName(candidate);
        if (!library.load())
            continue;
        if (const auto entry = reinterpret_cast<Entry>(library.resolve("zelvarion_vips_decoder")))
            return entry();
    }
    std::fprintf(stderr, "zelvarion: the general image decoder %s cannot be loaded; only JPEG files are measured\n",
                 qPrintable(name));
    return nullptr;
}

} // namespace

const VipsDecoder *vipsDecoder()
{
    static std::once_flag loaded;
    std::call_once(loaded, [] { g_loaded = loadModule(); });
    return g_loaded;
}

const VipsDecoder *loadedVipsDecoder()
{
    return g_loaded;
}

} // namespace zelvarion
