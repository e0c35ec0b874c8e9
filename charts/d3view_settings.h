#pragma once
// Saved fields of the three-dimensional view page: the nine view values and "2D". Plain
// data, so the document code reads and writes it without the page.

struct d3view_settings {
    double eyeX = 0;           // edit 1077
    double eyeY = 0;           // edit 1078
    double eyeZ = 0;           // edit 1079
    double azimuth = 0;        // edit 1080
    double elevation = 0;      // edit 1081
    double zoom = 0;           // edit 1087
    double orbitDistance = 0;  // edit 1094
    double eyeStep = 0;        // edit 1091
    double angleStep = 0;      // edit 1099
    int twoDimensional = 0;    // "2D": the plane view is asked for

    bool operator==(const d3view_settings&) const = default;
};
