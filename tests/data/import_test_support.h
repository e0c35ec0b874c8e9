#pragma once
// Driving the import commands as a user would: file dialogs, the "Read from text file" and
// "Tables" dialogs and message boxes answered by the scripted dialog service.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_page.h"
#include "data/tables_dialog.h"
#include "platform/scripted_dialogs.h"
#include "temp_file.h"
#include "widgets/text_dialog.h"

namespace import_test {

using test_files::TempFile;

// What the user does in the "Read from text file" dialog.
struct TextChoice {
    std::string separators = " ";
    std::vector<int> deselect;
    bool ok = true;
    bool tickSynchronize = false;
};

// What the dialog showed when it came up.
struct TextSeen {
    std::vector<std::string> items;
    bool synchronizeVisible = false;
    std::string separatorsShown;
    std::string caption;
};

// Runs data::OnOpenTextDataFile on the file with the choices; returns what the dialog showed.
inline TextSeen RunTextImport(data& page, platform::ScriptedDialogs& dialogs, const std::string& path,
                              const TextChoice& choice) {
    TextSeen seen;
    dialogs.fileAnswers.push_back(path);
    dialogs.modalSteps.push_back([&seen, choice](platform::Dialog& dialog) {
        auto& text = static_cast<Text&>(dialog);
        seen.separatorsShown = text.Control(Text::kSeparatorsEdit).Text();
        seen.synchronizeVisible = text.Control(Text::kSynchronizeCheck).IsVisible();
        seen.caption = text.Caption();
        text.Control(Text::kSeparatorsEdit).SetText(choice.separators);
        platform::Control list = text.Control(Text::kFieldList);
        for (int i = 0; i < list.Count(); ++i) seen.items.push_back(list.ItemText(i));
        for (int i : choice.deselect) list.SetSelected(i, false);
        if (choice.tickSynchronize) text.Control(Text::kSynchronizeCheck).Click();
        text.Control(choice.ok ? Text::kOkButton : Text::kCancelButton).Click();
    });
    page.OnOpenTextDataFile();
    return seen;
}

// The values of series s, record after record.
inline std::vector<double> SeriesValues(const data& page, int s) {
    const Series& x = page.series.at(static_cast<std::size_t>(s));
    return std::vector<double>(page.allValues.begin() + x.firstValue,
                               page.allValues.begin() + x.firstValue + static_cast<long>(x.nParameters) * x.nRecords);
}

// The names of the parameters of series s.
inline std::vector<std::string> SeriesNames(const data& page, int s) {
    const Series& x = page.series.at(static_cast<std::size_t>(s));
    return std::vector<std::string>(page.parameterNames.begin() + x.firstParameter,
                                    page.parameterNames.begin() + x.firstParameter + x.nParameters);
}

}  // namespace import_test
