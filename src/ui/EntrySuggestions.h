#pragma once

#include "core/search/KeywordVocabulary.h"

#include <QObject>

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace zelvarion {

class LanguagePack;

// The catalogue's entries offered under a list field's entry box while the user types: those
// beginning with the typed text, whatever its case, most used first. Choosing one puts it in the
// box; the box still takes any other text, so a new entry is added as before.
class EntrySuggestions : public QObject
{
    Q_OBJECT
public:
    // The list of offers is a window of its own, named after the box: "lst" + suffix + "Suggestions".
    EntrySuggestions(QLineEdit *box, const QString &suffix);

    void setVocabulary(KeywordVocabulary words);
    void applyTexts(const LanguagePack &pack);

    static constexpr std::size_t kMostOffered = 50;

private:
    void suggest(const QString &typed);

    QLineEdit *m_box;
    QStringListModel *m_offers;
    QCompleter *m_completer;
    KeywordVocabulary m_words;
};

} // namespace zelvarion
