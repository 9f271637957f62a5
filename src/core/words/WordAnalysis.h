#pragma once

#include "core/words/WordStatistics.h"

#include <QLocale>
#include <functional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class LanguagePack;
class ResultList;

struct WordAnalysisRequest
{
    bool allFields = true;                  // else the keywords only
    const EmptyWordTable *ignored = nullptr; // the empty words to leave out, or null
    QLocale locale;
    // Called before each image with its rank (1..N): the window shows the progress.
    std::function<void(int rank)> beforeImage;
};

struct WordAnalysisOutcome
{
    bool opened = false;       // the catalogue could be opened
    int imagesRead = 0;        // images whose words were counted before the end
    bool stopped = false;      // Stop, or a full group
    std::vector<WordCount> words; // groups 0..26, each alphabetical
};

// Counts the words of the IPTC texts of every image of the result, in result order. After each
// image pending events run and the feedback's stop flag is honoured. A group reaching 32 000
// entries shows message 25 and ends the count as a stop does. A select that fails is reported
// and its image skipped; a catalogue that cannot be opened is reported and nothing is counted.
WordAnalysisOutcome analyseWords(const WordAnalysisRequest &request, const ResultList &results, CatalogueDb &db,
                                 Feedback &feedback, const LanguagePack &pack);

// The status line after an analysis: " " + message 11 + " " + seconds + " s   " + interface
// string 156 with "#" the number of words, "%" the number of images and "\n" a line break.
QString analysisSummary(const LanguagePack &pack, qint64 seconds, int words, int images);

} // namespace zelvarion
