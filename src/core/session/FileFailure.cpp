#include "core/session/FileFailure.h"

#include "core/session/LanguagePack.h"

namespace zelvarion {

namespace {

Message messageOf(atomicfile::Problem problem)
{
    using atomicfile::Problem;
    switch (problem) {
    case Problem::ReadSource: return Message::CannotReadFile;
    case Problem::CreateTemporary: return Message::CannotCreateTemporaryFile;
    case Problem::Copy: return Message::CannotCopyFile;
    case Problem::Write: return Message::CannotWriteFile;
    case Problem::Flush: return Message::CannotFlushFile;
    case Problem::KeepPermissionsAndDates: return Message::CannotKeepPermissionsAndDates;
    case Problem::KeepPermissions: return Message::CannotKeepPermissions;
    case Problem::Close: return Message::CannotCloseFile;
    case Problem::None:
    case Problem::Replace: break;
    }
    return Message::CannotReplaceFile;
}

} // namespace

Failure fileFailure(const atomicfile::Result &result)
{
    return {messageOf(result.problem), result.paths, result.systemText};
}

QString fileFailureText(const atomicfile::Result &result, const LanguagePack &pack)
{
    // One line: these reasons are listed beside their image.
    return fillPlaceholders(pack.message(messageOf(result.problem)), result.paths) + QStringLiteral(": ") + result.systemText;
}

QString fileFailureText(const atomicfile::Result &result) { return fileFailureText(result, shippedEnglishPack()); }

QString fileFailureText(const atomicfile::Result &result, const LanguagePack *pack)
{
    return fileFailureText(result, pack ? *pack : shippedEnglishPack());
}

} // namespace zelvarion
