#include "documents/full_page.h"

#include <cmath>
#include <optional>

#include "documents/html_report.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/system.h"
#include "widgets/owner_button.h"
#include "widgets/page_look.h"

// Its constructor reads no other program-wide object, so this file may build it in any order.
full theFull;

namespace {

using platform::ControlKind;
using platform::Rgb;

constexpr platform::ColorRef kPageColor = Rgb(247, 255, 235);
constexpr platform::ColorRef kLabelText = Rgb(70, 0, 70);
constexpr int kPictureId = 181;
constexpr double kCorrelationStep = 0.025;  // one step both ways
constexpr double kCoefficientStep = 0.5;

platform::DialogTemplate FullTemplate() {
    platform::DialogTemplate t;
    t.id = full::kTemplateId;
    t.caption = "Full satatistical analysis";
    t.cx = 300;
    t.cy = 236;
    t.style = platform::kDialogPopup;
    const unsigned owner = platform::kStyleOwnerDraw;
    t.controls = {
        {1440, ControlKind::Static, "File to save report:", 6, 6, 70, 10},
        {full::kReportFileStatic, ControlKind::Static, "", 78, 6, 170, 10},
        {full::kBrowseButton, ControlKind::Button, "Browse", 252, 4, 42, 14, owner},
        {1441, ControlKind::GroupBox, "Schemes:", 4, 22, 292, 136},
        {full::kGeneralGroup, ControlKind::GroupBox, "General:", 10, 32, 136, 36},
        {full::kCorrelationMatrixCheck, ControlKind::CheckBox, "matrix of correlations", 16, 42, 126, 10},
        {full::kDistributionAllCheck, ControlKind::CheckBox, "distribution of all parameters", 16, 54, 126, 10},
        {1442, ControlKind::GroupBox, "One variable:", 10, 70, 136, 36},
        {full::kDistributionCheck, ControlKind::CheckBox, "distribution", 16, 80, 126, 10},
        {full::kTimeSeriesCheck, ControlKind::CheckBox, "time series", 16, 92, 126, 10},
        {full::kTwoVariablesGroup, ControlKind::GroupBox, "Two variables:", 10, 108, 136, 24},
        {full::kTwoVariablesCheck, ControlKind::CheckBox, "distribution of two variables", 16, 118, 126, 10},
        {full::kThreeOrMoreGroup, ControlKind::GroupBox, "Three or more variables:", 152, 32, 138, 24},
        {full::kConditionalCheck, ControlKind::CheckBox, "probability of conditional selelection", 156, 42, 132, 10},
        {full::kOneArgumentGroup, ControlKind::GroupBox, "Variable as function of one argument:", 152, 58, 138, 24},
        {full::kCurveFittingCheck, ControlKind::CheckBox, "curve fitting", 156, 68, 126, 10},
        {full::kTwoArgumentsGroup, ControlKind::GroupBox, "Variable as function of two arguments:", 152, 84, 138, 24},
        {full::kSurfaceFittingCheck, ControlKind::CheckBox, "surface fitting", 156, 94, 126, 10},
        {full::kMultivariateGroup, ControlKind::GroupBox, "Multirariate analysis:", 152, 110, 138, 24},
        {full::kMultivariateCheck, ControlKind::CheckBox, "multivariate regression", 156, 120, 126, 10},
        {1443, ControlKind::GroupBox, "Filter out fitting schemes if:", 4, 160, 292, 48},
        {full::kCorrelationFilterCheck, ControlKind::CheckBox, "Coefficient of correlation is  less then:", 10, 172,
         170, 10},
        {full::kCorrelationEdit, ControlKind::Edit, "", 184, 170, 40, 12},
        {full::kCorrelationSpin, ControlKind::Spin, "", 224, 170, 10, 12},
        {full::kCoefficientFilterCheck, ControlKind::CheckBox, "", 10, 190, 10, 10},
        {full::kFilterPicture, ControlKind::Button, "", 22, 186, 16, 16, owner},
        {1444, ControlKind::Static, "of each coefficient is more then:", 40, 190, 140, 10},
        {full::kCoefficientEdit, ControlKind::Edit, "", 184, 188, 40, 12},
        {full::kCoefficientSpin, ControlKind::Spin, "", 224, 188, 10, 12},
        {full::kRunAnalysisButton, ControlKind::Button, "Run analysis", 220, 214, 74, 16, owner | platform::kStyleDefault},
    };
    return t;
}

const platform::DialogTemplateRegistration registration(FullTemplate());

}  // namespace

full::full() : Dialog(kTemplateId) {
    RouteCommand(kBrowseButton, &full::OnBrowse);
    RouteCommand(kRunAnalysisButton, &full::OnRunAnalysis);
    Route(kCorrelationSpin, platform::Notification::SpinDelta, &full::OnDeltaposCorrelationSpin);
    Route(kCoefficientSpin, platform::Notification::SpinDelta, &full::OnDeltaposCoefficientSpin);
}

bool full::OnInitDialog() {
    picture_ = LoadButtonPicture(kPictureId);
    filterPicture_ = MakeFilterPicture();
    Control(kFilterPicture).Enable(false);  // a picture, not a button: no focus, no click
    EnableSchemesForParameterCount(parameterCount);
    // The extension of the file name only, so a ".nc" document's report never takes its name.
    reportFile = HtmlReportPathFor(documentName);
    UpdateData(false);
    Invalidate();
    running = 0;
    return true;
}

void full::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kReportFileStatic, reportFile);
    dx.Double(kCorrelationEdit, correlationThreshold);
    dx.Range(correlationThreshold, 0.0, 1.0);
    dx.Check(kCorrelationFilterCheck, correlationFilter);
    dx.Double(kCoefficientEdit, coefficientThreshold);
    dx.Range(coefficientThreshold, 0.0, 500.0);
    dx.Check(kCoefficientFilterCheck, coefficientFilter);
    dx.Check(kDistributionCheck, doDistribution);
    dx.Check(kTimeSeriesCheck, doTimeSeries);
    dx.Check(kCurveFittingCheck, doCurveFitting);
    dx.Check(kCorrelationMatrixCheck, doCorrelationMatrix);
    dx.Check(kDistributionAllCheck, doDistributionAll);
    dx.Check(kSurfaceFittingCheck, doSurfaceFitting);
    dx.Check(kMultivariateCheck, doMultivariate);
    dx.Check(kTwoVariablesCheck, doTwoVariables);
    dx.Check(kConditionalCheck, doConditional);
}

void full::EnableSchemesForParameterCount(int n) {
    for (const int id : {kMultivariateGroup, kMultivariateCheck}) Control(id).Enable(n >= 4);
    doMultivariate = n >= 4 ? 1 : 0;
    for (const int id : {kTwoArgumentsGroup, kSurfaceFittingCheck}) Control(id).Enable(n >= 3);
    for (const int id : {kCurveFittingCheck, kOneArgumentGroup, kCorrelationMatrixCheck, kDistributionAllCheck,
                         kGeneralGroup, kConditionalCheck, kTwoVariablesCheck, kThreeOrMoreGroup, kTwoVariablesGroup}) {
        Control(id).Enable(n >= 2);
    }
    doSurfaceFitting = n >= 2 ? 1 : 0;
    if (HasWindow()) UpdateData(false);
}

void full::OnBrowse() {
    platform::FileDialogRequest request;
    request.title = "Select file to write results of calculation";
    request.filter = "*.html|*.html||";
    request.initialPath = reportFile.empty() ? platform::CurrentDirectory() + "/*.html" : reportFile;
    request.defaultExtension = "html";
    request.confirmReplace = false;  // the analysis asks before it replaces a report
    if (const std::optional<std::string> chosen = platform::TheDialogs().SaveFile(request); chosen && !chosen->empty()) {
        reportFile = HtmlReportPathWithExtension(*chosen);
    }
    UpdateData(false);
}

void full::OnRunAnalysis() {
    // Only fields that pass their checks start the analysis; a refused field keeps the page open.
    if (!UpdateData(true)) return;
    running = 1;
    EndDialog(platform::kOk);
}

void full::OnDeltaposCorrelationSpin(platform::Notify& n) {
    correlationThreshold += n.delta < 0 ? kCorrelationStep : -kCorrelationStep;
    if (correlationThreshold >= 1) correlationThreshold = 1;
    if (correlationThreshold <= 0) correlationThreshold = 0;
    UpdateData(false);
    n.result = 0;
}

void full::OnDeltaposCoefficientSpin(platform::Notify& n) {
    coefficientThreshold += n.delta < 0 ? kCoefficientStep : -kCoefficientStep;
    if (coefficientThreshold >= 500) coefficientThreshold = 500;
    if (coefficientThreshold <= 0) coefficientThreshold = 0;
    UpdateData(false);
    n.result = 0;
}

int full::PassesCorrelationFilter(double correlation, int n, const double* values, const double* errors) const {
    if (!running) return 1;
    if (correlationFilter && correlationThreshold > correlation) return 0;
    if (coefficientFilter && n >= 1) {
        const double limit = coefficientThreshold * 0.01;
        for (int i = 0; i < n; ++i) {
            if (std::fabs(errors[i] / values[i]) > limit) return 0;
        }
    }
    return 1;
}

int full::PassesCoefficientFilter(double correlation, const std::vector<double>& relativeErrors) const {
    if (!running) return 1;
    if (correlationFilter && correlationThreshold > correlation) return 0;
    if (coefficientFilter) {
        const double limit = coefficientThreshold * 0.01;
        for (const double e : relativeErrors) {
            if (std::fabs(e) > limit) return 0;
        }
    }
    return 1;
}

platform::Bitmap full::MakeFilterPicture() {
    constexpr int kSize = 32;
    platform::Bitmap bmp(kSize, kSize, kPageColor);
    platform::Canvas dc(bmp);
    // An axis, the fitted value as a dot and its error bar; the bar reaching past the dashed
    // limits is what the filter switches off.
    platform::Pen old = dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 1, kLabelText));
    dc.MoveTo(3, 28);
    dc.LineTo(29, 28);
    dc.SelectPen(platform::Pen(platform::PenStyle::Dash, 1, Rgb(200, 0, 0)));
    for (const int y : {9, 21}) {
        dc.MoveTo(4, y);
        dc.LineTo(28, y);
    }
    dc.SelectPen(platform::Pen(platform::PenStyle::Solid, 2, Rgb(0, 0, 160)));
    dc.MoveTo(16, 4);
    dc.LineTo(16, 26);
    for (const int y : {4, 26}) {
        dc.MoveTo(12, y);
        dc.LineTo(20, y);
    }
    dc.SelectPen(old);
    dc.FillRect({13, 12, 19, 18}, kLabelText);
    return bmp;
}

bool full::OnDrawItem(platform::DrawItem& item) {
    switch (item.controlId) {
        case kFilterPicture:
            if (!item.canvas || filterPicture_.IsNull()) return false;
            item.canvas->StretchFrom(item.rect.left, item.rect.top, item.rect.Width(), item.rect.Height(), filterPicture_,
                                     0, 0, filterPicture_.Width(), filterPicture_.Height());
            return true;
        case kBrowseButton:
            DrawPageButton(item, Rgb(230, 230, 255), kLabelText);
            return true;
        case kRunAnalysisButton:
            DrawPageButton(item, Rgb(20, 255, 20), Rgb(10, 110, 10), picture_.IsNull() ? nullptr : &picture_);
            return true;
        default:
            return false;
    }
}

void full::OnPaint() { FillPageBackground(*this, kPageColor); }

bool full::OnCtlColor(int controlId, platform::CtlColor& out) {
    const bool edit = controlId == kCorrelationEdit || controlId == kCoefficientEdit;
    out = TextOn(kLabelText, edit ? platform::kWhite : kPageColor, edit ? platform::kWhite : kPageColor);
    return true;
}
