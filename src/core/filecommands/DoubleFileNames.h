#pragma once

#include "core/search/ResultList.h"

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>
#include <vector>

namespace zelvarion {

class CatalogueDb;
class Feedback;
class ResultTable;

// The runs of neighbouring rows whose file names are equal once upper-cased, fed one row at a
// time as the engine's bytes: the first row of a run is held as bytes until a second one makes
// it a run, so a name met once never becomes a text.
// Folder, file and check mark of one image as the engine's bytes, valid during the call.
using DoubleFileNameHandler = std::function<void(QByteArrayView folder, QByteArrayView file, QByteArrayView checkMark)>;

class DoubleFileNameRuns
{
public:
    // Each row of a run goes to onDouble as soon as it is known to be one.
    explicit DoubleFileNameRuns(DoubleFileNameHandler onDouble) : m_onDouble(std::move(onDouble)) {}
    void add(QByteArrayView folder, QByteArrayView file, QByteArrayView checkMark);

private:
    DoubleFileNameHandler m_onDouble;
    QByteArray m_firstFolder;
    QByteArray m_firstName; // the run's first name: every later one is compared with it
    QByteArray m_firstMark;
    int m_runLength = 0;
};

// The runs of neighbouring rows (rows 1 to rowCount of a Folder, File, CheckMark table) whose
// file names are equal once upper-cased, every row of each run in the order given. A name met
// once is left out; two names differing in case are a run only when no other name sorts between.
std::vector<ResultRow> groupDoubleFileNames(const ResultTable &table);

// "Search double filenames" on the catalogue: nothing when it could not be opened; an empty list
// when the statement failed (reported as CannotGetData) or no name is repeated.
std::optional<std::vector<ResultRow>> findDoubleFileNames(CatalogueDb &db, Feedback &feedback);

// The same, each image handed to onDouble as it is found, in the same order, none kept: the
// command line prints them as they come. A failure is reported; a failed statement may come after
// some images were handed out.
enum class DoubleSearchEnd { NotOpened, Failed, Done };
DoubleSearchEnd streamDoubleFileNames(CatalogueDb &db, Feedback &feedback, const DoubleFileNameHandler &onDouble);

} // namespace zelvarion
