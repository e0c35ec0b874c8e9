#pragma once
// The settings dialog of the stepped best-polynomial searches, run modally from the
// multi-term constructor page. The searches read and write its fields; its controls come
// with the dialog's own work.
#include <string>

#include "platform/dialog.h"

class parametersOfMultiSearch1 : public platform::Dialog {
public:
    static constexpr int kTemplateId = 196;

    parametersOfMultiSearch1();

    int accepted = 0;     // 1 when the user ended the dialog with "OK"
    int searchFlag = 0;   // written by the best-polynomial search
    int criterion = 0;    // score criterion code 0 to 8
    std::string logFile = "default_multi.csv";
    int logOn = 0;        // the search writes its log
};

extern parametersOfMultiSearch1 theParametersOfMultiSearch1;
