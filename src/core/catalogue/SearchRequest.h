#pragma once

#include "core/session/AppSettings.h"

#include <QString>
#include <optional>

namespace zelvarion {

// optOperator: how the text is matched when whole word is off.
enum class SearchOperator { ExactExpression = 0, And = 1, Or = 2 };

// chkRevised: the two boxes exclude each other, so one value holds both.
enum class RevisedFilter { Any, NeverRevised, AlreadyRevised };

// Setting Translation: which column of Translations the text is looked up in.
enum class TranslationDirection { BothWays = 0, FirstToSecond = 1, SecondToFirst = 2 };

// Anything outside 0..2 reads as both ways, like the setting itself.
inline TranslationDirection translationDirectionFrom(int setting)
{
    switch (setting) {
    case 1: return TranslationDirection::FirstToSecond;
    case 2: return TranslationDirection::SecondToFirst;
    default: return TranslationDirection::BothWays;
    }
}

// The places the general search looks in (section "SearchOptions").
struct SearchTargets
{
    bool folderNames = true;
    bool fileNames = true;
    bool allIptc = true;
    // Used only when allIptc is off, in this order.
    bool keywords = false;
    bool headline = false;
    bool credit = false;
    bool caption = false;
    bool byline = false;
    bool city = false;
    bool country = false;
};

inline SearchTargets searchTargetsFrom(const AppSettings &settings)
{
    return {settings.searchFolderNames, settings.searchFileNames, settings.searchAllIPTC,
            settings.searchKeywords,    settings.searchHeadline,  settings.searchCredit,
            settings.searchCaption,     settings.searchByline,    settings.searchCity,
            settings.searchCountry};
}

// The SQL console lists exactly one catalogue row.
struct SingleImage
{
    QString folder;
    QString file;
};

// Everything the search statement depends on, read from the main window's search controls and
// the search options at the moment the search runs. Texts are held as typed or as stored; the
// builder doubles apostrophes itself.
struct SearchRequest
{
    QString text;                 // lstTxtSearch, exactly as typed
    bool withoutIptc = false;     // chkIPTC 0
    bool withIptc = false;        // chkIPTC 1
    bool fieldSearch = false;     // chkIPTC 2
    int fieldIndex = -1;          // lstFields: catalogue index 0..34, -1 when nothing is chosen
    bool wholeWord = false;       // chkWholeWord; the operator is then ignored
    SearchOperator op = SearchOperator::ExactExpression;
    bool useTranslation = false;  // chkTranslation
    TranslationDirection translationDirection = TranslationDirection::BothWays;
    QString translation;          // first translation found, as stored; empty when none
    RevisedFilter revised = RevisedFilter::Any;
    bool revisionAscending = true; // optOrder 0 ("chronological order")
    int sortIndex = 0;            // lstSortedBy 0..40; 0 = no sort
    bool sortAscending = true;    // optSortedBy 0 ("+")
    SearchTargets targets;
    bool showCheckedOnly = false;
    std::optional<SingleImage> singleImage; // SingleImageSearch
};

} // namespace zelvarion
