// The calculator page: typed arguments, argument files, the model routines' hand-over and the
// results file; SplitFields, which the page owns.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "formula/calculator.h"
#include "formula/split_fields.h"
#include "page_test_support.h"
#include "platform/scripted_dialogs.h"
#include "widgets/text_dialog.h"

namespace {

using Texts = std::vector<std::string>;
namespace fs = std::filesystem;

TEST(SplitFields, RunsAndEndsOfSeparatorsGiveNoFields) {
    struct Case {
        const char* text;
        const char* separators;
        Texts fields;
    };
    const Case cases[] = {
        {",,1, 2;;3,", " ,;", {"1", "2", "3"}}, {"abc", " ,;", {"abc"}},         {"", " ,;", {}},
        {" ,; ", " ,;", {}},                     {"1 2", "", {}},                   {" x=1 ", " ", {"x=1"}},
        {"a\tb\n", " ,;\n\t", {"a", "b"}},       {"1.5e3,2", ",", {"1.5e3", "2"}},
    };
    for (const Case& c : cases) {
        Texts fields{"stale"};
        EXPECT_EQ(SplitFields(c.text, c.separators, fields), static_cast<int>(c.fields.size())) << c.text;
        EXPECT_EQ(fields, c.fields) << c.text;
    }
}

TEST(CalculatorNames, ResultsFileReplacesTheFileNamesExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/data.txt", "/home/u/data_Res.txt"}, {"/home/u/args.dat", "/home/u/args_Res.txt"},
        {"/home/u/my.txt.files/data.txt", "/home/u/my.txt.files/data_Res.txt"},
        {"data.txt", "data_Res.txt"}, {"/home/u.v/data", ""}, {"/home/u/.txt", ""}, {"", ""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(calculator::ResultsFileFor(path), expected) << path;
    EXPECT_EQ((std::vector<bool>{calculator::HoldsLetter("x=1"), calculator::HoldsLetter("1,5"),
                                 calculator::HoldsLetter("-1.5E+03 2e4\t\r\n")}),
              (std::vector<bool>{true, true, false}));
}

// One model of two arguments, v = 10*a + b, as a model routine of the fitting code would
// hand it to the calculator while the main window repaints.
double Model(const double* a) { return 10 * a[0] + a[1]; }

class CalculatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("calculator_test_" + std::to_string(::getpid()));
        fs::create_directories(dir);
        main.onPaint = [this] {
            page.BeginRepaint(dataArguments);
            if (page.WantsTypedValue(dataArguments)) page.AddTypedValue("v", Model(page.typedValueTable.data()));
            page.ComputeRows(dataArguments, Model);
            page.EndRepaint();
        };
        ASSERT_TRUE(page.Create(nullptr));
        page.dataArgumentCount = dataArguments;  // as the last repaint left it
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Write(const std::string& name, const std::string& content) {
        const fs::path path = dir / name;
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void TypeAndOk(const std::string& text) {
        page.Control(calculator::kArgumentEdit).SetText(text);
        page.Control(calculator::kOkButton).Click();
        platform::PumpWaitingMessages();
    }
    // Answers the next "Read from text file" dialog through its widgets: the fields not listed
    // in `dropped` stay selected, then "OK" (or "Cancel").
    void ChooseFields(std::vector<int> dropped = {}, bool ok = true) {
        dialogs.modalSteps.push_back([dropped, ok](platform::Dialog& d) {
            platform::Control list = d.Control(Text::kFieldList);
            for (int i : dropped) list.SetSelected(i, false);
            d.Control(ok ? Text::kOkButton : Text::kCancelButton).Click();
        });
    }
    void Do(const std::string& from, const std::string& to) {
        page.Control(calculator::kFromFileEdit).SetText(from);
        page.Control(calculator::kToFileEdit).SetText(to);
        page.Control(calculator::kDoButton).Click();
        platform::PumpWaitingMessages();
    }

    fs::path dir;
    int dataArguments = 2;
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    calculator page;
};

TEST_F(CalculatorTest, TypedArgumentsGiveTheModelsValue) {
    TypeAndOk("1.5e3, 2");
    EXPECT_EQ(page.typedValues, (std::vector<double>{1500, 2}));
    EXPECT_EQ(std::tuple(main.paints, page.argumentsMatch, page.Control(calculator::kValuesEdit).Text()),
              std::tuple(1, 1, "v=15002; "));

    page.changed = 0;  // the main window clears the flags after each repaint
    TypeAndOk("4");
    EXPECT_EQ(page.Control(calculator::kValuesEdit).Text(), "Mismatch of number of arguments. Must be 2");

    // A letter refuses the text: no repaint, the message shows, and no later repaint
    // evaluates the values read before the letter.
    TypeAndOk("3 x=1");
    EXPECT_EQ(std::tuple(page.argumentsValid, main.paints, page.typedValueTable[0]), std::tuple(0, 2, 3.0));
    EXPECT_EQ(page.Control(calculator::kValuesEdit).Text(), "Non nuneric letters in arguments string");
    page.changed = 0;
    platform::PostRepaintRequest();
    platform::PumpWaitingMessages();
    EXPECT_EQ(page.Control(calculator::kValuesEdit).Text(), "Non nuneric letters in arguments string");

    // The tables hold 50 values; more are ignored.
    std::string many;
    for (int i = 0; i < 60; ++i) many += std::to_string(i) + " ";
    TypeAndOk(many);
    EXPECT_EQ(std::tuple(page.typedCount, page.typedValueTable[49]), std::tuple(50, 49.0));
}

TEST_F(CalculatorTest, ArgumentFileRowsAreWrittenOnceAndSorted) {
    const std::string from = Write("args.txt", "1 2\n3 x\n5;6\r\n0.5,7\n");
    const std::string to = (dir / "args_Res.txt").string();
    ChooseFields();
    Do(from, to);
    EXPECT_EQ(std::tuple(main.paints, Read(to)), std::tuple(1, "1 2 12\n5;6 56\n0.5,7 12\n"));

    // A second run appends each row once more, here in descending order of value.
    page.Control(calculator::kDescendingCheck).Click();
    ChooseFields();
    Do(from, to);
    EXPECT_EQ(Read(to), "1 2 12\n5;6 56\n0.5,7 12\n5;6 56\n1 2 12\n0.5,7 12\n");
    page.Control(calculator::kAscendingCheck).Click();
    fs::remove(to);
    ChooseFields();
    Do(from, to);
    EXPECT_EQ(Read(to), "1 2 12\n0.5,7 12\n5;6 56\n");
    EXPECT_TRUE(dialogs.Messages().empty());
}

TEST_F(CalculatorTest, RowsKeepTheirOrderAndOnlySelectedFields) {
    // Three fields, the middle one not selected; the second line is skipped for its letter.
    const std::string from = Write("rows.txt", "1 100 2\nx 1 1\n3 100 4 9\n7\n");
    ChooseFields({1});
    Do(from, (dir / "out.txt").string());
    // The short row keeps the value 0.
    EXPECT_EQ(Read((dir / "out.txt").string()), "1 100 2 12\n3 100 4 9 34\n7 0\n");
}

TEST_F(CalculatorTest, DoRefusesWhatItCannotRead) {
    const std::string from = Write("a.txt", "1 2\n");
    Do("", "");
    Do((dir / "missing.txt").string(), (dir / "r.txt").string());
    ChooseFields({}, false);  // the field dialog cancelled: nothing said
    Do(from, (dir / "r.txt").string());
    for (const auto& [name, content] : {std::pair{"three.txt", "1 2 3\n"}, std::pair{"letters.txt", "a b\nc d\n"},
                                        std::pair{"empty.txt", ""}}) {
        ChooseFields();
        Do(Write(name, content), (dir / "r.txt").string());
    }
    EXPECT_EQ(dialogs.Messages(),
              (Texts{"You have to define files with data.", "Problems to open file",
                     "The number of selected fields in file\n is not corresponded to number of arguments ( 2 )\n\n"
                     "Try again.",
                     "No data in file", "No data in file"}));
    EXPECT_EQ(main.paints, 0);

    // A results file that cannot be opened is reported.
    ChooseFields();
    Do(from, (dir / "no" / "such" / "r.txt").string());
    EXPECT_EQ(dialogs.Messages().back(), "Problems to open file to save calculated data");
    EXPECT_FALSE(fs::exists(dir / "no"));
}

TEST_F(CalculatorTest, BrowsingNamesTheResultsFile) {
    page.Control(calculator::kArgumentEdit).SetText("7 8");  // typed, not yet applied: kept
    dialogs.fileAnswers = {std::string("/data/run.1/points.txt"), std::nullopt};
    page.Control(calculator::kBrowseFromButton).Click();
    page.Control(calculator::kBrowseFromButton).Click();  // cancelled: both stay
    EXPECT_EQ(std::tuple(page.inputFile, page.Control(calculator::kToFileEdit).Text(),
                         page.Control(calculator::kArgumentEdit).Text()),
              std::tuple("/data/run.1/points.txt", "/data/run.1/points_Res.txt", "7 8"));
}

}  // namespace
