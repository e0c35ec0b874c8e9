#pragma once
// The three-dimensional view page: it owns the camera the three-dimensional painters draw
// through and shows its numbers. The main window and the painters read and write its flags
// directly; the camera controls come with the page's own work.
#include "charts/scene3d.h"
#include "platform/dialog.h"

class d3view : public platform::Dialog {
public:
    static constexpr int kTemplateId = 137;

    enum : int { kTwoDimensionalButton = 1097 };

    d3view();

    scene3d& theScene3d;           // the program's one camera
    int sceneRebuildRequest = 1;   // the next three-dimensional paint sets the camera up afresh
    int viewportChanged = 1;       // the main window was resized: the picture must be rebuilt
    int changed = 0;
    double eyeX = 0;
    double zoom = 0;
    double elevation = 0;
    double orbitDistance = 0;
    double eyeStep = 0;
    double angleStep = 0;
    double azimuth = 0;
    double eyeY = 0;
    double eyeZ = 0;
    int showNet = 0;
    int twoDimensional = 0;  // "2D": the plane view is asked for

    // "2D".
    void On2D();
};

extern d3view theD3view;
