// Offers of the catalogue's entries under the keyword and supplemental category entry boxes.
#include "ui/EntrySuggestions.h"

#include "core/session/LanguagePack.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

namespace zelvarion {

EntrySuggestions::EntrySuggestions(QLineEdit *box, const QString &suffix)
    : QObject(box), m_box(box), m_offers(new QStringListModel(this)), m_completer(new QCompleter(m_offers, this))
{
    // The offers are chosen here, by the catalogue's folding; the completer only shows them.
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->setWidget(box);
    m_completer->popup()->setObjectName(QStringLiteral("lst") + suffix + QStringLiteral("Suggestions"));
    connect(box, &QLineEdit::textEdited, this, &EntrySuggestions::suggest);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), box, &QLineEdit::setText);
}

void EntrySuggestions::setSource(Source words) { m_words = std::move(words); }

void EntrySuggestions::applyTexts(const LanguagePack &pack)
{
    m_box->setToolTip(pack.text(InterfaceText::EntrySuggestionsTip));
}

void EntrySuggestions::suggest(const QString &typed)
{
    const QString prefix = QStringView(typed).trimmed().toString();
    std::vector<VocabularyWord> words;
    if (!prefix.isEmpty() && m_words)
        words = m_words(prefix, kMostOffered);
    // An entry typed whole needs no offer.
    if (words.size() == 1 && words.front().text.compare(prefix, Qt::CaseInsensitive) == 0)
        words.clear();
    if (words.empty()) {
        m_completer->popup()->hide();
        return;
    }
    QStringList texts;
    for (const VocabularyWord &word : words)
        texts << word.text;
    m_offers->setStringList(texts);
    m_completer->complete();
}

} // namespace zelvarion
