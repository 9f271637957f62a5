#include "core/spelling/CorrectionPass.h"

#include "core/spelling/Speller.h"

#include <algorithm>

namespace zelvarion {

std::unique_ptr<Speller> SpellingService::start()
{
    if (!m_available)
        return nullptr;
    std::unique_ptr<Speller> speller = m_opener ? m_opener() : nullptr;
    if (!speller)
        m_available = false;
    return speller;
}

bool isSpellingWordCharacter(QChar c) { return c.isLetterOrNumber() || c.isMark(); }

namespace {

bool isJoiner(QChar c) { return c == u'\'' || c == u'\u2019' || c == u'-'; }

// End of the word that starts at start: joiners count only between word characters.
qsizetype wordEnd(const QString &text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size()) {
        if (isSpellingWordCharacter(text[end])) {
            ++end;
        } else if (isJoiner(text[end]) && end + 1 < text.size() && isSpellingWordCharacter(text[end + 1])) {
            end += 2;
        } else {
            break;
        }
    }
    return end;
}

bool onlyDigits(QStringView word)
{
    return std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

CorrectionPass::CorrectionPass(Speller &speller, QString text) : m_speller(speller), m_text(std::move(text)) {}

bool CorrectionPass::next() { return findWordFrom(m_resume); }

bool CorrectionPass::findWordFrom(qsizetype from)
{
    qsizetype i = from;
    while (i < m_text.size()) {
        if (!isSpellingWordCharacter(m_text[i])) {
            ++i;
            continue;
        }
        const qsizetype end = wordEnd(m_text, i);
        const QString candidate = m_text.mid(i, end - i);
        if (!onlyDigits(candidate) && !m_speller.isCorrect(candidate)) {
            m_start = i;
            m_length = end - i;
            m_resume = end;
            return true;
        }
        i = end;
    }
    m_start = m_text.size();
    m_length = 0;
    m_resume = m_text.size();
    return false;
}

QStringList CorrectionPass::suggestions() const { return m_speller.suggestions(word()); }

void CorrectionPass::change(const QString &replacement)
{
    m_text.replace(m_start, m_length, replacement);
    // The replacement is taken as the user wrote it; checking goes on after it.
    m_resume = m_start + replacement.size();
    m_length = replacement.size();
}

void CorrectionPass::changeAll(const QString &replacement)
{
    const QString original = word();
    change(replacement);
    qsizetype i = m_resume;
    while ((i = m_text.indexOf(original, i)) >= 0) {
        const bool startsWord = i == 0 || !isSpellingWordCharacter(m_text[i - 1]);
        const qsizetype end = i + original.size();
        const bool endsWord = end == m_text.size() || !isSpellingWordCharacter(m_text[end]);
        if (startsWord && endsWord) {
            m_text.replace(i, original.size(), replacement);
            i += replacement.size();
        } else {
            i = end;
        }
    }
}

void CorrectionPass::ignoreAll() { m_speller.ignoreAll(word()); }

bool CorrectionPass::addToDictionary() { return m_speller.addToPersonalDictionary(word()); }

} // namespace zelvarion
