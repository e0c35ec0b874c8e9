#include "documents/macro_runner.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "charts/result_document.h"
#include "data/data_page.h"
#include "data/open_file_retry.h"
#include "data/record_operations.h"
#include "fitting/useruf_page.h"
#include "formula/split_fields.h"
#include "platform/dialogs.h"

namespace {

using Pairs = std::vector<std::pair<const std::string*, const std::string*>>;

Pairs PairsOf(const macroParser& parser) {
    Pairs pairs;
    const std::size_t n = std::min(parser.keys.size(), parser.values.size());
    for (std::size_t i = 0; i < n; ++i) pairs.emplace_back(&parser.keys[i], &parser.values[i]);
    return pairs;
}

void Call(const std::function<void()>& f) {
    if (f) f();
}

void AddSeriesFromTextFile(const Pairs& pairs) {
    data& page = theData;
    for (const auto& [key, value] : pairs)
        if (MacroWordIs(*key, "location")) page.fileNameBuffer = value->substr(0, data::kFileNameBufferSize - 1);

    std::string separators = page.importSeparators;
    for (const auto& [key, value] : pairs)
        if (MacroWordIs(*key, "separators")) separators = *value;
    separators.erase(std::remove(separators.begin(), separators.end(), ','), separators.end());
    page.importSeparators = separators + ", \n";
    if (page.HasWindow()) page.UpdateData(false);

    int chosen = -1;  // no selection given: every field of the first line
    for (const auto& [key, value] : pairs) {
        const bool byNames = MacroWordIs(*key, "by_names");
        if (!byNames && !MacroWordIs(*key, "by_order")) continue;
        std::vector<std::string> entries;
        SplitFields(*value, "|", entries);
        chosen = page.ReadTextFileForMacro(entries, byNames ? 1 : 0);
    }
    if (chosen < 0) chosen = page.ReadTextFileForMacro({}, 0);
    if (chosen <= 0) {
        // Nothing would make a series: the import's own word for it.
        if (chosen == 0) platform::MessageBox("Nothing to read");
        return;
    }
    page.ReadTextFile();
}

void HandleData(const Pairs& pairs) {
    for (const auto& [key, value] : pairs)
        if (MacroWordIs(*key, "action") && MacroWordIs(*value, "DeleteAll")) theData.OnDeleteAll();
}

// Filter codes of the "scheme" key, in code order.
constexpr const char* kFilterSchemes[] = {"deleteMoreThan", "deleteLessThan", "deleteInInterval", "deleteOutOfInterval",
                                          "normalize"};
constexpr int kNormalizeCode = 4;

void ModifyParameter(const Pairs& pairs, const MacroHost& host) {
    data& page = theData;
    int p = -1;
    bool byFormula = false, byFilter = false, lowGiven = false, highGiven = false;
    std::string formula;
    int code = 0;
    double low = 0, high = 0;
    for (const auto& [key, value] : pairs) {
        if (MacroWordIs(*key, "name")) {
            p = page.IndexOfParameterName(*value);
            if (p < 0) return;
        } else if (MacroWordIs(*key, "method")) {
            if (MacroWordIs(*value, "formula")) byFormula = true;
            if (MacroWordIs(*value, "filter")) byFilter = true;
        } else if (MacroWordIs(*key, "formula")) {
            formula = *value;
        } else if (MacroWordIs(*key, "scheme")) {
            for (int c = 0; c <= kNormalizeCode; ++c)
                if (MacroWordIs(*value, kFilterSchemes[c])) code = c;
        } else if (MacroWordIs(*key, "lowRange")) {
            low = MacroNumber(*value);
            lowGiven = true;
        } else if (MacroWordIs(*key, "highRange")) {
            high = MacroNumber(*value);
            highGiven = true;
        }
    }
    // Without a named parameter there is nothing to modify.
    if (p < 0) return;

    page.modifyCurrentSeriesOnly = 0;
    if (byFormula) page.ModifyParameterByFormula(formula, p);
    if (byFilter) {
        if (code == 0 && lowGiven && highGiven && high >= low) low = high;
        if (code == 1 && lowGiven && highGiven && high <= low) low = high;
        int s = -1;
        if (FindSeriesOfParameter(page, p, s) >= 0) {
            if (code < kNormalizeCode) {
                DeleteRecordsByCondition(page, s, p, code, low, high);
            } else if (!page.series.empty()) {
                const int n = page.series[0].nParameters;
                for (int k = static_cast<int>(page.series.size()) - 1; k >= 0; --k)
                    ScaleParameterToRange(page, n * k + p % n, low, high);
            }
        }
    }
    page.dataModified = 1;
    page.dataPageChanged = 1;  // the paint below rebuilds the chart and the results from the new values
    page.RefreshSeriesList(1);
    page.UpdateButtonStates();
    page.RedrawDataPage();
    Call(host.paintMainWindow);
}

void SelectStatisticsScheme(const Pairs& pairs, const MacroHost& host) {
    for (const auto& [key, value] : pairs)
        if (MacroWordIs(*key, "scheme") && MacroWordIs(*value, "multyUserFormula")) Call(host.selectUserFormulaScheme);
}

void FieldsToControls(useruf& page) {
    if (page.HasWindow()) page.UpdateData(false);
}

void SetForUserDefinedFormula(const Pairs& pairs, const MacroHost& host) {
    useruf& page = theUseruf;
    for (const auto& [key, value] : pairs) {
        if (MacroWordIs(*key, "formula")) {
            page.formula = *value;
            FieldsToControls(page);
        } else if (MacroWordIs(*key, "action")) {
            if (MacroWordIs(*value, "deleteAllCoefficients")) {
                page.DeleteAllCoefficients();
                return;
            }
            if (MacroWordIs(*value, "run")) {
                page.startTime = static_cast<std::int64_t>(std::time(nullptr));
                page.limitOn = 1;
                page.StartFitting();
                Call(host.waitWhileBusy);
                Call(host.copyCoefficients);
                return;
            }
            if (MacroWordIs(*value, "setDefaultSteps")) {
                page.SetDefaultSteps();
                return;
            }
        } else if (MacroWordIs(*key, "limit_coeff")) {
            page.stopCondition = MacroNumber(*value);
            FieldsToControls(page);
        } else if (MacroWordIs(*key, "limit_hours")) {
            page.limitHours = MacroNumber(*value);
            FieldsToControls(page);
        }
    }
}

void AddNewCoefficient(const Pairs& pairs) {
    useruf& page = theUseruf;
    for (const auto& [key, value] : pairs) {
        if (MacroWordIs(*key, "name")) page.nameEdit = *value;
        else if (MacroWordIs(*key, "value")) page.valueEdit = MacroNumber(*value);
        else if (MacroWordIs(*key, "step")) page.stepEdit = MacroNumber(*value);
        else if (MacroWordIs(*key, "min")) page.minEdit = MacroNumber(*value);
        else if (MacroWordIs(*key, "max")) page.maxEdit = MacroNumber(*value);
    }
    FieldsToControls(page);
    page.AddCoefficient();
    page.OnOk();
}

void SaveResults(const Pairs& pairs, const MacroHost& host) {
    std::string location, what;
    int addEndOfString = 0, replaceTabs = 0;
    for (const auto& [key, value] : pairs) {
        if (MacroWordIs(*key, "location")) location = *value;
        else if (MacroWordIs(*key, "what") && (MacroWordIs(*value, "coefficients") || MacroWordIs(*value, "titleOfTxtFile")))
            what = *value;
        else if (MacroWordIs(*key, "addEndOfString") && MacroWordIs(*value, "yes")) addEndOfString = 1;
        else if (MacroWordIs(*key, "replaceTabs") && MacroWordIs(*value, "yes")) replaceTabs = 1;
    }
    if (MacroWordIs(what, "coefficients")) {
        Call(host.copyCoefficients);
        AppendMacroResultText(location, coefficientsText, addEndOfString, replaceTabs);
    } else if (MacroWordIs(what, "titleOfTxtFile") && theData.fileNameBuffer.size() > 3) {
        AppendMacroResultText(location, theData.fileNameBuffer + ",", addEndOfString, replaceTabs);
    }
}

}  // namespace

void RunMacroCommand(const macroParser& parser, const MacroHost& host) {
    const Pairs pairs = PairsOf(parser);
    const std::string& word = parser.command;
    if (MacroWordIs(word, "AddSeriesFromTextFile")) AddSeriesFromTextFile(pairs);
    else if (MacroWordIs(word, "HandleData")) HandleData(pairs);
    else if (MacroWordIs(word, "ModifyParameter")) ModifyParameter(pairs, host);
    else if (MacroWordIs(word, "SelectStatisticsScheme")) SelectStatisticsScheme(pairs, host);
    else if (MacroWordIs(word, "SetForUserDefinedFormula")) SetForUserDefinedFormula(pairs, host);
    else if (MacroWordIs(word, "AddNewCoefficient")) AddNewCoefficient(pairs);
    else if (MacroWordIs(word, "SaveResults")) SaveResults(pairs, host);
}

void RunMacroLines(const std::vector<std::string>& lines, macroParser& parser, const MacroHost& host) {
    for (std::string line : lines) {
        const int parsed = parser.ParseMacroLine(line);
        if (host.pause) host.pause(kMacroLinePauseMs);
        Call(host.pumpWaitingMessages);
        // A line that gives no pair (a blank line, a comment, a broken pair) runs nothing:
        // the parser's word may still be the last line's, and running it would repeat that
        // line (import the same file again, add the same coefficient again).
        if (parsed > 0 && !parser.keys.empty()) RunMacroCommand(parser, host);
    }
}

void RunMacroFile(const std::string& path, macroParser& parser, const MacroHost& host) {
    std::string why;
    std::FILE* file = OpenChosenFile(path, "r", 0, 0, why);
    if (file == nullptr) {
        platform::MessageBox(why);  // as the text import says it
        return;
    }
    const std::vector<std::string> lines = ReadMacroLines(file);
    std::fclose(file);
    RunMacroLines(lines, parser, host);
}

void AppendMacroResultText(const std::string& location, const std::string& text, int addEndOfString, int replaceTabs) {
    std::FILE* file = std::fopen(location.c_str(), "a");
    if (file == nullptr) return;
    std::string out = text;
    if (replaceTabs) std::replace(out.begin(), out.end(), '\t', ',');
    if (addEndOfString) out += '\n';
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
}
