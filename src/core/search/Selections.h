#pragma once

#include "core/session/LanguageKeys.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace zelvarion {

struct CatalogueCommand;

// A saved selection as the Selections window lists it.
struct SavedSelection
{
    QString name;
    QString count; // as the catalogue counted it; empty when counting failed
};

// Every saved selection with its number of images, in the catalogue's order. Opens and closes
// the catalogue; failures are reported and leave the list empty or a count blank.
std::vector<SavedSelection> readSavedSelections(const CatalogueCommand &command);

// Why a trimmed name cannot be given to a selection: message 44 when it is empty, message 43 when
// it equals one of the listed names exactly (letter case counts).
std::optional<Message> selectionNameProblem(const QString &trimmedName, const QStringList &listedNames);

// Saves the marked images of the catalogue under name: the rows of that name are replaced by one
// row per marked image with its mark, in transaction ADDSELECTION. Returns the number of marked
// images (nothing is stored for none); nothing when the catalogue could not be opened or read.
std::optional<int> saveMarkedImagesAs(const CatalogueCommand &command, const QString &name);

// Replaces every mark of the catalogue by the marks saved under name (rows of images no longer
// catalogued change nothing). True when the marked images are to be listed afterwards: the
// current marks were discarded, whatever happened after that.
bool restoreSelection(const CatalogueCommand &command, const QString &name);

// Renames and removes the rows of a saved selection; failures are reported.
void renameSavedSelection(const CatalogueCommand &command, const QString &oldName, const QString &newName);
void removeSavedSelection(const CatalogueCommand &command, const QString &name);

} // namespace zelvarion
