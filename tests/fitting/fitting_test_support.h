#pragma once
// Reading the oracle tables of this folder and comparing against them.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace fittest {

inline std::string Source(const std::string& name) {
    return std::string(TABULON_SOURCE_DIR) + "/tests/fitting/" + name;
}

// The numbers of a line; "-" marks an empty field and is skipped.
inline std::vector<double> Numbers(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> v;
    for (std::string f; in >> f;)
        if (f != "-") v.push_back(std::strtod(f.c_str(), nullptr));
    return v;
}

inline std::vector<double> NextNumbers(std::istream& in) {
    std::string line;
    std::getline(in, line);
    return Numbers(line);
}

inline std::vector<std::vector<double>> NumberLines(const std::string& name) {
    std::ifstream in(Source(name));
    std::vector<std::vector<double>> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(Numbers(line));
    return lines;
}

inline std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// Each element within tolerance * max(1, |want|).
inline void ExpectClose(const std::vector<double>& got, const std::vector<double>& want, double tolerance,
                        const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], tolerance * std::max(1.0, std::fabs(want[i]))) << what << " #" << i;
}

}  // namespace fittest
