#pragma once
// The peak settings page: spike width, noise factor, "only chromatograms peaks" and the
// base-line model. The peak finding, its report, the base-line correction, the function view
// and the document read its fields directly. A picture with four hot spots steps the two
// numbers; a framed panel names them with subscripted labels.
#include <array>

#include "widgets/page_look.h"
#include "fitting/normal_equations.h"
#include "fitting/peak_detection.h"
#include "fitting/sinaldlg_settings.h"
#include "platform/bitmap.h"
#include "platform/dialog.h"

class sinaldlg : public platform::Dialog, public sinaldlg_settings {
public:
    static constexpr int kTemplateId = 146;
    static constexpr int kPictureWidth = 201, kPictureHeight = 125;
    static constexpr int kHotSpotCount = 4;

    enum : int {
        kOkButton = 1179,
        kSpikeWidthEdit = 1180,
        kNoiseFactorEdit = 1182,
        kMoreButton = 1184,
        kChromatogramCheck = 1186,
        kPictureButton = 1316,
        kBaseLineLabel = 1427,
        kBaseLineCombo = 1428,
    };

    sinaldlg();

    int moreRequest = 0;  // ">>": the main window shows the scheme page again
    platform::Bitmap picture;
    std::array<platform::Rect, kHotSpotCount> hotSpots{};  // in button pixels
    std::array<int, kHotSpotCount> pressedSpots{};
    int pressed = 0;
    int changed = 0;
    sinaldlg_settings& settings = *this;  // spike width, noise factor, chromatograms only, base line

    // The peaks of the last peak pass, in the order found, read by the peaks report and the
    // theoretical values; of peakSummary only base (the refined model's constant) and noise
    // (the first peak's) are used.
    std::vector<peakSignal> peakList;
    peakSignal peakSummary;
    // The last base-line correction: 1 when it corrected the signal, with its fit.
    int baseLineCorrected = 0;
    LeastSquaresResult baseLineFit;

    void OnOk();
    void OnMore();
    void OnOnlyChromatogramsPeaks();
    // direction < 1: one less (not below 3), else one more.
    void StepSpikeWidth(int direction);
    // direction > 0: times 1.1, else times 0.9; kept to two significant digits.
    void StepNoiseFactor(int direction);
    // Every hot spot holding the point (button pixels; right and bottom edges excluded) acts.
    void HitTestPicture(platform::Point p);

    // The hot spots in the picture's own pixels.
    static const std::array<platform::Rect, kHotSpotCount>& HotSpotsInPicture();
    // The picture: a noisy signal with a spike and peaks, and the two pairs of arrows.
    static platform::Bitmap MakePicture();

    // Shows the saved fields again (after a document is read).
    void ShowSettings();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    bool OnCtlColor(int controlId, platform::CtlColor& out) override;
    bool PreTranslateInput(const platform::InputEvent& input) override;

private:
    void ScaleHotSpots();
};

extern sinaldlg theSinaldlg;
