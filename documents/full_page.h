#pragma once
// The options dialog of the full analysis, run modally before it: the report file, the
// sections to run and two filters that switch badly fitting schemes off. While the analysis
// runs it also carries what the painters leave for those filters.
#include <string>
#include <vector>

#include "documents/full_settings.h"
#include "platform/bitmap.h"
#include "platform/dialog.h"

class full : public platform::Dialog, public full_settings {
public:
    static constexpr int kTemplateId = 190;
    static constexpr int kBrowseButton = 1445;
    static constexpr int kReportFileStatic = 1446;
    static constexpr int kCorrelationFilterCheck = 1449;
    static constexpr int kCorrelationEdit = 1450;
    static constexpr int kCorrelationSpin = 1451;
    static constexpr int kCoefficientFilterCheck = 1452;
    static constexpr int kFilterPicture = 1453;  // the picture beside the coefficient filter
    static constexpr int kCoefficientEdit = 1454;
    static constexpr int kCoefficientSpin = 1455;
    static constexpr int kDistributionCheck = 1457;
    static constexpr int kTimeSeriesCheck = 1458;
    static constexpr int kRunAnalysisButton = 1460;
    static constexpr int kCurveFittingCheck = 1462;
    static constexpr int kDistributionAllCheck = 1464;
    static constexpr int kCorrelationMatrixCheck = 1465;
    static constexpr int kSurfaceFittingCheck = 1467;
    static constexpr int kMultivariateCheck = 1469;
    static constexpr int kTwoVariablesCheck = 1471;
    static constexpr int kConditionalCheck = 1473;
    // Group labels that follow the parameter count.
    static constexpr int kMultivariateGroup = 1601;
    static constexpr int kTwoArgumentsGroup = 1602;
    static constexpr int kOneArgumentGroup = 1603;
    static constexpr int kGeneralGroup = 1604;
    static constexpr int kThreeOrMoreGroup = 1605;
    static constexpr int kTwoVariablesGroup = 1606;

    full();

    full_settings& settings = *this;  // the saved fields

    std::string documentName;  // handed in before the page opens
    int parameterCount = 0;
    int running = 0;           // set by "Run analysis", cleared when the analysis ends

    // Left by the painters while the analysis runs.
    double termFitResidual = 1;
    std::vector<double> termErrors;
    double planeCriterion = 0, planeResidual = 1, parabolicCriterion = 0, parabolicResidual = 1;
    std::vector<double> planeErrors, parabolicErrors;

    // 1 keeps the fit, 0 switches it off; both accept everything while no analysis runs.
    int PassesCorrelationFilter(double correlation, int n, const double* values, const double* errors) const;
    int PassesCoefficientFilter(double correlation, const std::vector<double>& relativeErrors) const;
    void EnableSchemesForParameterCount(int n);

    void OnBrowse();
    void OnRunAnalysis();
    void OnDeltaposCorrelationSpin(platform::Notify& n);
    void OnDeltaposCoefficientSpin(platform::Notify& n);

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;

    // The picture beside the coefficient filter: a fitted value with its error bar.
    static platform::Bitmap MakeFilterPicture();

private:
    platform::Bitmap picture_;
    platform::Bitmap filterPicture_;
};

extern full theFull;
