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
    // counts[s]: lines scoring s or more (scores held to 0 .. 100).
    int counts[101] = {};
    for (double score : scores) {
        const int top = std::clamp(ScoreAsInt(score), 0, 100);
        for (int s = 0; s <= top; ++s)
            ++counts[s];
    }
    // The threshold: the lowest score whose share of lines scoring above it falls below
    // the percentage; every line qualifies at 100 % and more.
    double threshold = -1e40;
    if (percent < 100) {
        threshold = 100;
        const double lineCount = static_cast<double>(std::max<std::size_t>(scores.size(), 1));
        for (int s = 0; s <= 100; ++s) {
            const double p = std::trunc(counts[s] / lineCount * 100.0);
            if (p <= 0) {
                threshold = s - 1;
                break;
            }
            if (p < percent) {
                threshold = s;
                break;
            }
        }
    }
    std::FILE* out = std::fopen(ScoreFileName(taskFile, percent).c_str(), "wb");
    if (!out)
        return kScoreFileNoOutput;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (scores[i] > threshold)
            std::fprintf(out, "%s   %d\n", lines[i].c_str(), ScoreAsInt(scores[i]));
    }
    std::fclose(out);
    return kScoreFileWritten;
}
