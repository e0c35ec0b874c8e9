#pragma once
// The score file of a task file: every line of numbers scored by the scoring rules, the
// lines with the best scores written out with their scores.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "fitting/scoring_rules.h"

enum ScoreFileStatus {
    kScoreFileWritten = 0,
    kScoreFileNoTask = 1,
    kScoreFileNoOutput = 2,
    kScoreFileIsTask = 3,
    kScoreFileTooManyNumbers = 4,  // a line holds more numbers than numberLimit: nothing written
    kScoreFileNotWritten = 5,      // writing failed (a full disk): the output was removed
    kScoreFileNothingScored = 6,   // written, empty: no line of the task file could be scored
    kScoreFileNoneAboveThreshold = 7,  // written, empty: no scored line is above the threshold
};

// Told the pass ("Reading marketing file", "Writing score file"), the bytes read and the
// file's length, every twentieth of a long file (every 5000 bytes of a short one).
using ScoreFileProgress = std::function<void(const char* pass, std::int64_t position, std::int64_t length)>;

// The file written for a task file and a percentage: the task file's name without its
// extension, then the percentage and ".txt".
std::string ScoreFileName(const std::string& taskFile, int percent);

// Scores every line of the task file and writes, in file order, the lines scoring above the
// threshold of the best `percent` per cent (every line for 100 and more), each as the line
// without its end, three blanks and the score. Lines end at LF, CR LF or a lone CR; the file
// is read in blocks, so that no line is held whole, and nothing is kept per line. A line
// holding too few numbers for the rules, a NUL or a run of characters too long for a number
// is not scored: it is left out and counted in skippedLines (held to the int range). A line
// holding more than numberLimit numbers (the parameters of the scored series: the rules read
// no number beyond them) refuses the whole file before its numbers are kept. The task file
// itself is never written (kScoreFileIsTask). An empty score file is written but told apart
// (kScoreFileNothingScored, kScoreFileNoneAboveThreshold). The scores are those of
// ScoreOfValues with the rules and the run's raw-score range.
ScoreFileStatus WriteScoreFile(const std::string& taskFile, const std::vector<scoreAction>& rules, double scoreMinimum,
                               double scoreMaximum, int percent, int numberLimit, int& skippedLines,
                               const ScoreFileProgress& progress = {});
