#pragma once
// Saved fields of the search parameters dialog of the best-polynomial searches. Plain data,
// so the document code reads and writes it without the dialog.
#include <string>

struct parameters_of_multi_search1_settings {
    int includeConstant = 0;      // check 1504 "Include constant term"
    int continueFromCurrent = 1;  // check 1505
    int maxTerms = 10;            // edit 1506, 2 to 40
    int vainTries = 100;          // edit 1508, 10 to 1000000
    int randomTerms = 8;          // edit 1509, 2 to 20
    int maxMinutes = 120;         // edit 1515, 1 to 20000
    int criterion = 0;            // list 1516: score criterion code
    std::string logFile = "default.csv";  // static 1501, at most 400 characters
    int saveLog = 0;              // check 1500 "Save results of search process in file:"

    bool operator==(const parameters_of_multi_search1_settings&) const = default;
};
