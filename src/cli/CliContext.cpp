#include "cli/CliContext.h"

namespace zelvarion::cli {

std::optional<QString> takeOption(QStringList &arguments, const QString &name)
{
    const QString withEquals = name + u'=';
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == name && i + 1 < arguments.size()) {
            const QString value = arguments[i + 1];
            arguments.remove(i, 2);
            return value;
        }
        if (arguments[i].startsWith(withEquals)) {
            const QString value = arguments[i].mid(withEquals.size());
            arguments.removeAt(i);
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(QStringList &arguments, const QString &name)
{
    return arguments.removeAll(name) > 0;
}

} // namespace zelvarion::cli
