#pragma once
// Saved fields of the Legend page: texts, checks, alignments, colours and the three fonts
// the document keeps. Plain data, so the document code reads and writes it without the page.
#include <cstdint>
#include <string>

// The fourteen values of a logical-font record and its face name, kept raw so a stored
// font round-trips unchanged.
struct FontRecord {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    unsigned char italic = 0;
    unsigned char underline = 0;
    unsigned char strikeOut = 0;
    unsigned char charSet = 0;
    unsigned char outPrecision = 0;
    unsigned char clipPrecision = 0;
    unsigned char quality = 0;
    unsigned char pitchAndFamily = 0;
    std::string faceName;  // at most 31 characters
    bool operator==(const FontRecord&) const = default;
};

struct legend_settings {
    std::string title = "New chart";  // edit 1002
    std::string xCaption;              // edit 1004
    std::string yCaption;              // edit 1005
    int showFormulas = 1;              // check 1010: the formula legend is drawn
    int overlap = 1;                   // check 1011: the legend block may lie over the plot
    int titleAlign = 50;               // slider 1287
    int xCaptionAlign = 50;            // slider 1289
    int yCaptionAlign = 50;            // slider 1290
    int formulaAlign = 0;              // slider 1291
    std::uint32_t titleColor = 0;      // COLORREF
    std::uint32_t captionColor = 0;    // COLORREF: captions and axis labels
    // The fonts as the document keeps them; the y caption fonts derive from the axis font.
    FontRecord titleFontRecord{24, 0, 0, 0, 600, 0, 0, 0, 0, 0, 0, 0, 0, "Times"};
    FontRecord formulaFontRecord{16, 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 0, "Times"};
    FontRecord axisFontRecord{16, 0, 0, 0, 600, 0, 0, 0, 0, 0, 0, 0, 0, "Times"};

    bool operator==(const legend_settings&) const = default;
};
