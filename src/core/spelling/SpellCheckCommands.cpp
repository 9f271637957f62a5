#include "core/spelling/SpellCheckCommands.h"

#include "core/iptc/IptcField.h"
#include "core/session/LanguagePack.h"
#include "core/spelling/Speller.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace zelvarion {

namespace {

enum class Step { Go, Stop, Failed };


// One command's speller and what its texts came to.
struct Run
{
    Speller &speller;
    TextCorrector &corrector;
    SpellCheckForm &form;
    const LanguagePack &pack;

    // Checks one text and hands the corrected one to apply.
    template <typename Apply>
    Step check(const QString &text, Apply &&apply)
    {
        const Correction correction = corrector.correct(speller, text);
        if (correction.outcome == Correction::Outcome::Failed) {
            form.showStatus(pack.message(Message::SpellCheckFailed));
            return Step::Failed;
        }
        apply(correction.text);
        return correction.outcome == Correction::Outcome::Cancelled ? Step::Stop : Step::Go;
    }

    Step checkField(int index)
    {
        const SpellTarget target{SpellTarget::Kind::Field, index};
        form.markChecking(target, true);
        const Step step = check(form.fieldText(index), [&](const QString &t) { form.setFieldText(index, t); });
        form.markChecking(target, false);
        return step;
    }

    Step checkList(int index)
    {
        const SpellTarget target{SpellTarget::Kind::ListEntries, index};
        form.markChecking(target, true);
        Step step = Step::Go;
        const QStringList entries = form.listEntries(index);
        for (int entry = 0; entry < entries.size() && step == Step::Go; ++entry)
            step = check(entries[entry], [&](const QString &t) { form.setListEntry(index, entry, t); });
        form.markChecking(target, false);
        return step;
    }

    Step checkCustomized(int row)
    {
        const SpellTarget target{SpellTarget::Kind::CustomizedRow, row};
        form.markChecking(target, true);
        const Step step = check(form.customizedText(row), [&](const QString &t) { form.setCustomizedText(row, t); });
        form.markChecking(target, false);
        return step;
    }

    // The filled fields of words of one tab; a failure ends the tab, a Cancel the whole run.
    template <std::size_t N>
    Step checkFields(const int (&indexes)[N])
    {
        for (const int index : indexes) {
            if (!isWordsField(index) || form.fieldText(index).isEmpty())
                continue;
            const Step step = checkField(index);
            if (step != Step::Go)
                return step;
        }
        return Step::Go;
    }
};

bool holdsWords(const SpellCheckForm &form, int index) { return isWordsField(index) && !form.fieldText(index).isEmpty(); }

// Dates, times and codes alone leave nothing for the speller.
bool nothingToCheck(const SpellCheckForm &form)
{
    if (!form.listEntries(kKeywordsIndex).isEmpty() || !form.listEntries(kSupplementalCategoryIndex).isEmpty())
        return false;
    const auto anyWords = [&form](const auto &indexes) {
        return std::any_of(std::begin(indexes), std::end(indexes), [&form](int index) { return holdsWords(form, index); });
    };
    return !anyWords(kSpellTabDescription) && !anyWords(kSpellTabDatesPlaces) && !anyWords(kSpellTabOther);
}

} // namespace

SpellCheckCommands::SpellCheckCommands(SpellingService &service, TextCorrector &corrector, const LanguagePack &pack)
    : m_service(service), m_corrector(corrector), m_pack(pack)
{
}

void SpellCheckCommands::checkField(SpellCheckForm &form, int index)
{
    form.showStatus(QString());
    if (!m_service.available())
        return;
    if (isListField(index) ? form.listEntries(index).isEmpty() : form.fieldText(index).isEmpty())
        return;
    const std::unique_ptr<Speller> speller = m_service.start();
    if (!speller) {
        form.showStatus(m_pack.message(Message::SpellerUnavailable));
        return;
    }
    Run run{*speller, m_corrector, form, m_pack};
    if (isListField(index))
        run.checkList(index);
    else
        run.checkField(index);
}

void SpellCheckCommands::checkCustomizedRow(SpellCheckForm &form, int row)
{
    form.showStatus(QString());
    if (!m_service.available() || form.customizedText(row).isEmpty())
        return;
    const std::unique_ptr<Speller> speller = m_service.start();
    if (!speller) {
        form.showStatus(m_pack.message(Message::SpellerUnavailable));
        return;
    }
    Run{*speller, m_corrector, form, m_pack}.checkCustomized(row);
}

void SpellCheckCommands::checkAll(SpellCheckForm &form, bool editCustomizedFields)
{
    form.showStatus(QString());
    if (!m_service.available())
        return;
    if (nothingToCheck(form)) {
        form.showStatus(m_pack.message(Message::NothingToCheck));
        return;
    }
    const std::unique_ptr<Speller> speller = m_service.start();
    if (!speller) {
        form.showStatus(m_pack.message(Message::SpellerUnavailable));
        return;
    }
    Run run{*speller, m_corrector, form, m_pack};
    const auto tab = [&](int number, auto &&checkTab) {
        form.selectTab(number);
        return checkTab() != Step::Stop; // a failure ends only its tab
    };
    const bool go = tab(1, [&] { return run.checkFields(kSpellTabDescription); })
                    && tab(2, [&] { return form.listEntries(kKeywordsIndex).isEmpty() ? Step::Go : run.checkList(kKeywordsIndex); })
                    && tab(3, [&] {
                           return form.listEntries(kSupplementalCategoryIndex).isEmpty()
                                      ? Step::Go
                                      : run.checkList(kSupplementalCategoryIndex);
                       })
                    && tab(4, [&] { return run.checkFields(kSpellTabDatesPlaces); })
                    && tab(5, [&] { return run.checkFields(kSpellTabOther); });
    if (go && editCustomizedFields) {
        tab(6, [&] {
            for (int row = 0; row < kCustomizedSlotCount; ++row) {
                if (form.customizedText(row).isEmpty())
                    continue;
                const Step step = run.checkCustomized(row);
                if (step != Step::Go)
                    return step;
            }
            return Step::Go;
        });
    }
    form.selectTab(1);
}

} // namespace zelvarion
