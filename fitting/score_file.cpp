#include "fitting/score_file.h"

#include "fitting/scoring_rules.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <cmath>
#include <vector>

std::string ScoreFileName(const std::string& taskFile, int percent)
{
    const std::size_t slash = taskFile.find_last_of("/\\");
    const std::size_t dot = taskFile.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? taskFile.substr(0, dot) : taskFile) + std::to_string(percent) + ".txt";
}

ScoreFileStatus WriteScoreFile(const std::string& taskFile, int percent, int& skippedLines)
{
    skippedLines = 0;
    std::ifstream in(taskFile, std::ios::binary);
    if (!in)
        return kScoreFileNoTask;
    std::vector<std::string> lines;
    std::vector<double> scores;
    std::vector<double> values;
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        ParseNumberLine(values, line);
        if (!CoversScoringRules(values)) {
            ++skippedLines;
            continue;
        }
        lines.push_back(line);
        scores.push_back(ScoreOfValues(values));
    }
    std::FILE* out = std::fopen(ScoreFileName(taskFile, percent).c_str(), "wb");
    if (!out)
        return kScoreFileNoOutput;
    // The threshold is the score of the last line within the percentage; ties with it go too.
    const bool all = percent >= 100;
    double threshold = 0.0;
    std::size_t wanted = 0;
    if (!all && !scores.empty() && percent > 0) {
        wanted = std::max<std::size_t>(1, scores.size() * static_cast<std::size_t>(percent) / 100);
        std::vector<double> sorted = scores;
        std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(wanted - 1), sorted.end(),
                         [](double a, double b) { return !std::isnan(a) && (std::isnan(b) || a > b); });
        threshold = sorted[wanted - 1];
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (all || (wanted > 0 && scores[i] >= threshold))
            std::fprintf(out, "%s   %d\n", lines[i].c_str(), ScoreAsInt(scores[i]));
    }
    std::fclose(out);
    return kScoreFileWritten;
}
