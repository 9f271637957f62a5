#pragma once

#include "core/catalogue/CatalogueCommand.h"
#include "platform/FileMoves.h"

#include <QString>
#include <functional>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;
class ThumbnailStore;

// One image of the catalogue as a cell shows it: the folder as stored, ending with "/", and the
// file name.
struct ImageRef
{
    QString folder;
    QString file;

    QString path() const { return folder + file; }
};

// What the file commands work with besides the result.
struct FileCommandContext
{
    CatalogueDb &catalogue;
    Feedback &feedback;
    const LanguagePack &language;
    const ThumbnailStore &thumbnails; // follows renames and deletes
    // The platform's trash; tests give one that refuses.
    std::function<filemoves::TrashResult(const QString &path)> moveToTrash = filemoves::moveToTrash;

    CatalogueCommand command() const { return {catalogue, feedback, language}; }
};

} // namespace zelvarion
