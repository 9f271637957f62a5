#pragma once

#include "core/search/KeywordVocabulary.h"

#include <QObject>
#include <functional>

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
    // The words beginning with a typed prefix, most used first, at most limit of them.
    using Source = std::function<std::vector<VocabularyWord>(QStringView prefix, std::size_t limit)>;

    // The list of offers is a window of its own, named after the box: "lst" + suffix + "Suggestions".
    EntrySuggestions(QLineEdit *box, const QString &suffix);

    // Where the offers come from, asked at each keystroke; none until it is set.
    void setSource(Source words);
    void applyTexts(const LanguagePack &pack);

    static constexpr std::size_t kMostOffered = 50;

private:
    void suggest(const QString &typed);

    QLineEdit *m_box;
    QStringListModel *m_offers;
    QCompleter *m_completer;
    Source m_words;
};

} // namespace zelvarion
