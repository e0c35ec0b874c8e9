#pragma once
// The custom approximation page: a least-squares model F(y,x) = a0*f0(x) + ... + an*fn(x)
// written as formula text, one list line for the transform F and one per basis function.
// The fitting code takes the texts through GetModelFormulas (the model formula pair:
// transform text, basis texts, basis count).
#include <string>
#include <vector>

#include "formula/approxcustom_settings.h"
#include "platform/dialog.h"
#include "widgets/page_look.h"

class approxcustom : public platform::Dialog, public approxcustom_settings {
public:
    static constexpr int kTemplateId = 143;

    enum : int {
        kFormulaList = 1143,
        kEditLabel = 1144,
        kEditBox = 1145,
        kAddButton = 1146,
        kCutButton = 1027,
        kEditButton = 1148,
        kOkButton = 1142,
        kApplyButton = 1149,
        kModelStatic = 1309,
    };

    approxcustom();

    approxcustom_settings& settings = *this;  // the saved fields

    int changed = 0;
    int applyRequested = 0;
    std::string lineText;          // scratch: the line being read or written
    int currentLine = 0;           // list line being edited
    std::string editText;          // edit 1145: formula part of the line being edited
    std::string editLabel;         // static 1144: label part, up to and including "="

    // Hands out the model formula pair read from the list; always 1. Blanks are removed from
    // every text. Without a window (no list yet) the outputs are left as they were.
    int GetModelFormulas(std::string& transform, std::vector<std::string>& basis, int& count);
    // Rebuilds the list from transformText and basisTexts (after a document was read).
    void RestoreFormulaList();
    // Numbers the basis lines 0, 1, 2 ... again, texts unchanged.
    void RenumberFormulas();

    void OnAdd();
    void OnCut();
    void OnEdit();
    void OnDblClkFormulaList();
    void OnOk();
    void OnApply();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;  // 0: the page itself
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

    // The list lines, in order (empty without a window).
    std::vector<std::string> Lines() const;

private:
    // Selects the first line that begins with `prefix` (case-insensitive), searching from
    // line 1 on and then line 0, as a list box's string selection does.
    void SelectLineStartingWith(const std::string& prefix);
};

extern approxcustom theApproxcustom;
