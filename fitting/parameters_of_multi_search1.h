#pragma once
// The settings dialog of the stepped best-polynomial searches, run modally from the
// multi-term constructor page. The searches read and write its fields; its controls come
// with the dialog's own work.
#include <string>

#include "fitting/parameters_of_multi_search1_settings.h"
#include "platform/dialog.h"

class parametersOfMultiSearch1 : public platform::Dialog, public parameters_of_multi_search1_settings {
public:
    static constexpr int kTemplateId = 196;

    parametersOfMultiSearch1();

    parameters_of_multi_search1_settings& settings = *this;  // the saved fields

    int accepted = 0;     // 1 when the user ended the dialog with "OK"
    int searchFlag = 0;   // written by the best-polynomial search
};

extern parametersOfMultiSearch1 theParametersOfMultiSearch1;
