#pragma once

class QString;
class QWidget;

namespace zelvarion {

class LanguagePack;

// Brings the catalogue's search index up to date: at once when little is queued, otherwise with
// a progress dialog and Stop (what was indexed stays; the rest is indexed the next time). A
// catalogue that takes no writes is searched without the index, and nothing is said.
void updateSearchIndex(QWidget *parent, const QString &cataloguePath, const LanguagePack &language);

} // namespace zelvarion
