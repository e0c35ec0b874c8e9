#pragma once
// The multi-term constructor page: a model of several arguments built term by term, each
// term a product of one function of a fixed library of 25 for every argument,
// y = a0*T0 + a1*T1 + ..., T = f(x1)*g(x2)*... The chosen terms (currentPolyTerms,
// factorsPerTerm library indices per term) are the starting model and the result of the
// best-polynomial searches, which the page asks for through job requests.
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "formula/constructor_multi_settings.h"
#include "platform/dialog.h"
#include "platform/font.h"
#include "widgets/page_look.h"

class constructor_multi : public platform::Dialog, public constructor_multi_settings {
public:
    static constexpr int kTemplateId = 194;
    static constexpr int kLibrarySize = 25;

    enum : int {
        kOkButton = 1490,
        kApplyButton = 1491,
        kAddTermButton = 1492,
        kDeleteLastButton = 1493,
        kSearchOneNextButton = 1495,
        kStopButton = 1496,
        kStartFullSearchButton = 1497,
        kParametersButton = 1498,
    };

    constructor_multi();

    constructor_multi_settings& settings = *this;  // the saved fields

    int changed = 0;
    int applyRequested = 0;
    platform::Font boxFont;
    platform::Font labelFont;  // boxFont made as small as the library area needs (LayoutTermBoxes)
    platform::Font panelFont;
    std::vector<platform::Rect> boxRects;
    std::vector<std::string> termLibrary;
    int libraryCount = 0;
    std::vector<std::string> argumentNames;     // filled by the data-shape step
    std::vector<unsigned> argumentParameters;   // parameter index of each argument
    int valueParameter = -1;
    std::vector<unsigned> pendingTerm;          // factors chosen so far for the term being composed
    std::string valueName;
    int factorsPerTerm = 0;                     // number of arguments
    int hoverBox = -1;
    int lastHoverBox = -1;
    int notApplicable = 1;
    int boxCount = 0;
    int choosingArgument = -1;                  // -1 when no term is being composed
    int polySearchStop = 0;
    int polySearchOneNext = 0;
    int polySearchFull = 0;

    // Runs the searches' parameter dialog modally and returns 1 when it was accepted. Until it
    // is installed the "Parameters" button stays disabled.
    std::function<int()> runSearchParameters;

    void FillTermLibrary();
    // The formula of term t of a model with n arguments: the library texts of its factors with
    // "_x_" replaced by the argument's parameter name, joined by "*"; "1.0" for a term of
    // constants only. Entries out of range (a term past the end, an unknown library index, a
    // parameter without a name) contribute nothing.
    void ComposeTermFormula(std::string& text, int t, int n, std::span<const unsigned> parameterMap,
                            const std::vector<std::string>& parameterNames, std::span<const unsigned> terms) const;
    void ComposeTermFormulaForFile(std::string& text, int t, int n, std::span<const unsigned> parameterMap,
                                   const std::vector<std::string>& parameterNames, std::span<const int> terms) const;
    // The first library box that holds the point, borders included; -1 for none.
    int HitTestTermBox(platform::Point p) const;
    // Whether a library index may be used: it names a text of the library.
    bool IsLibraryIndex(long long index) const { return index >= 0 && index < libraryCount; }

    void LayoutTermBoxes();
    void AcceptTermSelection();
    void RepaintTermPanel();
    // The text of the term being composed, as the panel shows it.
    std::string ComposingText() const;
    // A library text with "_x_" replaced by the name.
    std::string LibraryTextFor(int index, const std::string& name) const;

    void OnAddATerm();
    void OnDeleteLast();
    void OnOk();
    void OnApply();
    void OnSearchOneNext();
    void OnStartFullSearch();
    void OnStop();
    void OnParameters();

    bool OnInitDialog() override;
    void OnLButtonDown(unsigned flags, platform::Point point) override;
    void OnMouseMove(unsigned flags, platform::Point point) override;
    void OnPaint() override;
    bool OnDrawItem(platform::DrawItem& item) override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the page (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

    // True while a term is being composed: "Add a term" is off and no search runs.
    bool IsComposing() const;

private:
    void PaintPage();
    void DrawTermBox(platform::Canvas& dc, int index);
    // The text of library box `index` for the argument being chosen, no wider than `room`.
    std::string BoxLabel(int index, int room) const;
    void DrawTermBoxes(platform::Canvas& dc);
    void StartSearch(int oneNext, int full);
    std::string ArgumentName(int k) const;
    template <class T>
    void Compose(std::string& text, int t, int n, std::span<const unsigned> parameterMap,
                 const std::vector<std::string>& parameterNames, std::span<const T> terms) const;
};

extern constructor_multi theConstructorMulti;
