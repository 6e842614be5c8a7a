#pragma once
// The experiment as a document: every run (its samples as recorded, instants, source, date,
// calibration, model, fit and interval, name, colour, shown), the active run and the notes, as
// JSON with a version number (docs/experiment-file.md). Reading checks everything and names what
// is wrong; nothing is half read.
#include <QByteArray>

#include <string>
#include <vector>

#include "session/Results.h"
#include "session/Run.h"

namespace pendulab {

inline constexpr int ExperimentFileVersion = 2; // 2: the results' own columns and graph
inline constexpr const char* ExperimentFileSuffix = "pendulab";

struct Experiment {
    std::vector<Run> runs; // the derived arrays are not part of it: the session derives them
    int active = -1;
    std::string notes; // the student's free text, printed with the report
    std::vector<OwnColumn> ownColumns; // the results' columns of the student's own (values in each run)
    ResultsChoice results;             // the results graph's axes and law
};

QByteArray experimentToJson(const Experiment& e);
// std::runtime_error, in French for the student, naming what is wrong: not JSON (truncated or
// broken), a newer version, a missing or mistyped field (and in which run).
Experiment experimentFromJson(const QByteArray& bytes);

// Through a temporary file renamed at the end: a failure leaves the previous file whole.
void saveExperimentFile(const std::string& path, const Experiment& e);
Experiment loadExperimentFile(const std::string& path);

} // namespace pendulab
