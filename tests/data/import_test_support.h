#pragma once
// Driving the import commands as a user would: file dialogs, the "Read from text file" and
// "Tables" dialogs and message boxes answered by the scripted dialog service.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/data_page.h"
#include "data/tables_dialog.h"
#include "data/text_dialog.h"
#include "platform/scripted_dialogs.h"

namespace import_test {

// A file in a fresh temporary folder, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& content, const std::string& name = "import.txt") {
        char pattern[] = "/tmp/tabulon_import_XXXXXX";
        folder_ = mkdtemp(pattern);
        path_ = folder_ + "/" + name;
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), f);
        std::fclose(f);
    }
    ~TempFile() {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& Path() const { return path_; }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};

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
