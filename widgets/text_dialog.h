#pragma once
// "Read from text file": shows the fields of a text file's first line, split at tab, line
// feed and the separators the user types, and lets the user choose the fields to read. One
// instance serves the text-file import (theText2), another the calculator's argument files
// (theText); the members outlive each use, so the typed separators are offered again.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "widgets/page_look.h"

class Text : public platform::Dialog {
public:
    static constexpr int kTemplateId = 171;

    enum : int {
        kOkButton = platform::kOk,
        kCancelButton = platform::kCancel,
        kSeparatorsLabel = 1301,
        kSeparatorsEdit = 1302,
        kFieldList = 1303,
        kSynchronizeCheck = 1304,
    };

    // Only this many typed separators count: the line reader honours 199 in all.
    static constexpr int kMaxTypedSeparators = 197;
    // The list shows at most this many fields; a line with more cannot be read.
    static constexpr int kMaxFields = 10000;

    static constexpr platform::ColorRef kDialogBrush = 0x87FF00;
    static constexpr platform::ColorRef kFieldBack = 0x73FF46;
    static constexpr platform::ColorRef kTextColor = 0xC80000;

    Text();

    std::string fixedSeparators = "\t\n";  // always in force
    std::string separators = " ";          // the edit box: typed separators
    std::string allSeparators;             // fixedSeparators + separators
    std::string firstLine;                 // the preview: the file's first line
    int fieldCount = 0;                    // fields of the preview line (the list holds at most kMaxFields)
    std::vector<std::string> selectedTexts;  // texts of the selected fields, in list order (whole)
    std::vector<unsigned> selectedFlags;     // per item: 1 selected, 0 not
    int synchronizeRequested = 0;          // the "synchronize" box
    int offerSynchronize = 0;              // 1 when no series exists yet: the box is shown
    int accepted = 0;                      // 1 when ended by "OK"

    // Fills the list with the fields of firstLine (the first kMaxFields of them), every item
    // selected and shown cut to the name limit (a field of megabytes cannot be drawn); returns the line's field count (at least 1: a line without a field gives one
    // empty item).
    int SplitPreviewLines();
    void OnChangeSeparators();
    void OnOk();
    void OnCancelText();
    void UpdateSynchronizeBox();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnShowWindow(bool show) override;
    void OnOK() override { OnOk(); }
    void OnCancel() override { OnCancelText(); }
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;  // 0: the dialog itself
    // The layer asks here for every control and the dialog (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

private:
    bool previewFresh_ = false;  // the list was just filled by OnInitDialog
    std::vector<std::string> previewFields_;  // the listed fields whole: the caller cuts names and says so
};

// The fields of a preview line as the list shows them: cut at any character of the
// separator set (runs count as one, none at the ends), the first field as it stands and
// every later one with white space removed at both ends. A line without a field gives one
// empty field. Only the first `limit` fields are kept; total (when given) receives the count
// of them all.
std::vector<std::string> SplitPreviewFields(const std::string& line, const std::string& separatorSet,
                                            std::size_t limit = SIZE_MAX, std::size_t* total = nullptr);

// The refusal of a line with more fields than the list can show, naming its count.
std::string TooManyFieldsText(int fieldCount);

extern Text theText;   // the calculator's argument files
extern Text theText2;  // the text-file import
