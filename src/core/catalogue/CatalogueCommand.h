#pragma once

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;

// What a command on the catalogue works with: the catalogue it opens and closes again, where its
// messages and questions go, and the texts of the language in use.
struct CatalogueCommand
{
    CatalogueDb &catalogue;
    Feedback &feedback;
    const LanguagePack &language;
};

} // namespace zelvarion
