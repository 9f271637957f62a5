#pragma once

#include "core/iptc/IptcField.h"

#include <QString>
#include <QStringList>

namespace zelvarion {

class LanguagePack;
class SpellingService;
class TextCorrector;

// A text of the edit dialog being checked: its box is lit and its label bold meanwhile.
struct SpellTarget
{
    enum class Kind { Field, ListEntries, CustomizedRow } kind = Kind::Field;
    int index = 0; // catalogue index, or customized row 0..15
};

// What the spell-check commands reach of the edit dialog, through its own operations.
class SpellCheckForm
{
public:
    virtual ~SpellCheckForm() = default;
    virtual QString fieldText(int index) const = 0;           // txtIPTC i
    virtual void setFieldText(int index, const QString &text) = 0;
    virtual QStringList listEntries(int index) const = 0;     // index 4 or 6
    virtual void setListEntry(int index, int entry, const QString &text) = 0;
    virtual QString customizedText(int row) const = 0;        // txtCustomized r
    virtual void setCustomizedText(int row, const QString &text) = 0;
    virtual void markChecking(const SpellTarget &target, bool on) = 0;
    virtual void selectTab(int tab) = 0;                      // 1..6
    virtual void showStatus(const QString &text) = 0;         // lblStatus
};

// The order check-all goes through the fields of tabs 1, 4 and 5.
inline constexpr int kSpellTabDescription[] = {
    iptcIndex("ObjectName"), iptcIndex("EditStatus"), iptcIndex("Byline"),       iptcIndex("BylineTitle"),
    iptcIndex("Headline"),   iptcIndex("Copyright"),  iptcIndex("Caption"),      iptcIndex("LocalCaption"),
    iptcIndex("CaptionWriter")};
inline constexpr int kSpellTabDatesPlaces[] = {
    iptcIndex("CreatedDate"),   iptcIndex("CreatedTime"), iptcIndex("Category"), iptcIndex("ReleaseTime"),
    iptcIndex("City"),          iptcIndex("ProvinceState"), iptcIndex("CountryCode"), iptcIndex("Country"),
    iptcIndex("Credit"),        iptcIndex("Contact"),     iptcIndex("Source")};
inline constexpr int kSpellTabOther[] = {
    iptcIndex("FixtureIdentifier"), iptcIndex("SpecialInstructions"), iptcIndex("ReferenceService"),
    iptcIndex("ReferenceDate"),     iptcIndex("ReferenceNumber"),     iptcIndex("OriginalTransmissionReference"),
    iptcIndex("ImageType")};

// The spell-check commands of the edit dialog. Each starts the spelling service for its own
// duration; a service that cannot start shows message 19 and is off for the rest of the run, a
// failed check shows message 20 and ends the command (in check-all: the current tab). Cancel in
// the correction dialog keeps what was corrected and ends the command. The clipboard is never
// used.
class SpellCheckCommands
{
public:
    SpellCheckCommands(SpellingService &service, TextCorrector &corrector, const LanguagePack &pack);

    // cmdSpellChecker i: the field's text; for 4 and 6 every list entry in list order.
    void checkField(SpellCheckForm &form, int index);
    // cmdSpellCheckerCustomized r.
    void checkCustomizedRow(SpellCheckForm &form, int row);
    // cmdSpellCheckerAll: tab by tab; tab 6 only while customized fields are edited.
    void checkAll(SpellCheckForm &form, bool editCustomizedFields);

private:
    SpellingService &m_service;
    TextCorrector &m_corrector;
    const LanguagePack &m_pack;
};

} // namespace zelvarion
