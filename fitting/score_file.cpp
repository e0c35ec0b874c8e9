#include "fitting/score_file.h"

#include "fitting/scoring_rules.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <vector>

std::string ScoreFileName(const std::string& taskFile, int percent)
{
    const std::size_t slash = taskFile.find_last_of("/\\");
    const std::size_t dot = taskFile.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? taskFile.substr(0, dot) : taskFile) + std::to_string(percent) + ".txt";
}

namespace {

// Reports the pass each time the position passes the next step.
class ProgressSteps {
public:
    ProgressSteps(const ScoreFileProgress& progress, const char* pass, std::int64_t length)
        : progress_(progress), pass_(pass), length_(length), step_(length > 100000 ? length / 20 : 5000)
    {
        if (progress_)
            progress_(pass_, 0, length_);
    }
    void At(std::int64_t position)
    {
        if (!progress_ || position < next_)
            return;
        progress_(pass_, position, length_);
        next_ = (position / step_ + 1) * step_;
    }

private:
    const ScoreFileProgress& progress_;
    const char* pass_;
    std::int64_t length_, step_, next_ = 0;
};

}  // namespace

ScoreFileStatus WriteScoreFile(const std::string& taskFile, int percent, int& skippedLines,
                               const ScoreFileProgress& progress)
{
    skippedLines = 0;
    std::ifstream in(taskFile, std::ios::binary);
    if (!in)
        return kScoreFileNoTask;
    const std::string outputFile = ScoreFileName(taskFile, percent);
    std::error_code error;
    if (outputFile == taskFile || std::filesystem::equivalent(outputFile, taskFile, error))
        return kScoreFileIsTask;
    in.seekg(0, std::ios::end);
    const std::int64_t length = static_cast<std::int64_t>(in.tellg());
    in.seekg(0);
    ProgressSteps reading(progress, "Reading marketing file", length);
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
        const auto position = static_cast<std::int64_t>(in.tellg());
        reading.At(position < 0 ? length : position);
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
    std::FILE* out = std::fopen(outputFile.c_str(), "wb");
    if (!out)
        return kScoreFileNoOutput;
    ProgressSteps writing(progress, "Writing score file", length);
    std::int64_t position = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        position += static_cast<std::int64_t>(lines[i].size()) + 1;
        writing.At(position);
        if (scores[i] > threshold)
            std::fprintf(out, "%s   %d\n", lines[i].c_str(), ScoreAsInt(scores[i]));
    }
    std::fclose(out);
    return kScoreFileWritten;
}
