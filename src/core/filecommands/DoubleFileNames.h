#pragma once

#include "core/search/ResultList.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class ResultTable;

// Every image, ordered by file name as the engine compares them (letter case counts).
extern const char *const kDoubleFileNamesStatement;

// The runs of neighbouring rows whose file names are equal once upper-cased, fed one row at a
// time as the engine's bytes: the first row of a run is held as bytes until a second one makes
// it a run, so a name met once never becomes a text.
class DoubleFileNameRuns
{
public:
    void add(QByteArrayView folder, QByteArrayView file, QByteArrayView checkMark);
    std::vector<ResultRow> take() { return std::move(m_doubles); }

private:
    QByteArray m_firstFolder;
    QByteArray m_firstName; // the run's first name: every later one is compared with it
    QByteArray m_firstMark;
    int m_runLength = 0;
    std::vector<ResultRow> m_doubles;
};

// The runs of neighbouring rows (rows 1 to rowCount of a Folder, File, CheckMark table) whose
// file names are equal once upper-cased, every row of each run in the order given. A name met
// once is left out; two names differing in case are a run only when no other name sorts between.
std::vector<ResultRow> groupDoubleFileNames(const ResultTable &table);

// "Search double filenames" on the catalogue: nothing when it could not be opened; an empty list
// when the statement failed (reported as "Cannot get data") or no name is repeated.
std::optional<std::vector<ResultRow>> findDoubleFileNames(CatalogueDb &db, Feedback &feedback);

} // namespace zelvarion
