#pragma once

// Reads the comma-separated oracle tables written by make_oracles.py.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::vector<std::vector<double>> ReadOracleTable(const std::string& name)
{
    std::vector<std::vector<double>> rows;
    std::ifstream in(std::string(TABULON_SOURCE_DIR) + "/tests/statistics/" + name);
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::vector<double> row;
        std::stringstream fields(line);
        std::string field;
        while (std::getline(fields, field, ','))
            row.push_back(std::strtod(field.c_str(), nullptr));  // stod rejects subnormals
        rows.push_back(row);
    }
    return rows;
}
