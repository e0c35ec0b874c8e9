#pragma once
// The "View" page: the ranges shown on the chart (x, y and a third axis z for colour or
// height), Autozoom, the colour scale and the view switches. Painters read its fields
// directly; the chart frame takes the ranges from it unless Autozoom is on, and the chart
// paint writes the computed ranges back while it is on. The main window hands it the shape
// of the first series. The range pads and the other controls come with the page's own work.
#include "platform/color.h"
#include "platform/dialog.h"

class xyview : public platform::Dialog {
public:
    static constexpr int kTemplateId = 136;

    enum : int {
        kParameterCombo = 1104,
        kValueOnlyButton = 1105,  // three-dimensional view of data without arguments
    };

    xyview();

    int changed = 0;
    double yMin = 0, yMax = 0;
    double xMin = 0, xMax = 0;
    int autozoom = 1;
    unsigned stepPercent = 5;
    int colorSteps = 10;
    double zMax = 0, zMin = 0;
    int show3D = 0;       // button 1105
    int histogram = 0;    // "histogram."
    platform::ColorRef lowColor = 0xFF0000;
    platform::ColorRef highColor = 0x0000FF;
    int colorMapMode = 0;  // button 1300
    int twoValueColorMap = 0;
    int fitSchemeChosen = 0;  // a several-argument fit scheme is chosen (written by the main window)
    int argumentCount = 0;    // the shape last given to SetDataShape
    int valueCount = 0;
    // The tab rules know the two view switches by these names.
    int& twoVariableView = show3D;
    int& mode3D = colorMapMode;

    // The argument and value counts of the first series.
    void SetDataShape(int arguments, int values);
    // Button 1105 is shown only while the data have no argument.
    void UpdateValueOnlyButton();
    // Button 1105: the three-dimensional view of data without arguments.
    void OnButton1105();

    bool OnInitDialog() override;
};

extern xyview theXyview;
