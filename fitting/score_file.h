#pragma once
// The score file of a task file: every line of numbers scored by the scoring rules, the
// lines with the best scores written out with their scores.
#include <string>

enum ScoreFileStatus { kScoreFileWritten = 0, kScoreFileNoTask = 1, kScoreFileNoOutput = 2 };

// The file written for a task file and a percentage: the task file's name without its
// extension, then the percentage and ".txt".
std::string ScoreFileName(const std::string& taskFile, int percent);

// Scores every line of the task file (read whole, whatever its length) and writes the
// lines whose score is among the best `percent` per cent (every scored line for 100 and
// more), in file order, each as the line without its end, three blanks and the score.
// A line holding too few numbers for the rules is not scored: it is left out and
// counted in skippedLines.
ScoreFileStatus WriteScoreFile(const std::string& taskFile, int percent, int& skippedLines);
