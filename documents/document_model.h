#pragma once
// The document: every series with its parameters and values, and the saved settings of every
// page, as 47 named global attributes and a set of variables of the document file. This code
// knows the names, types, counts and order of the values; it works on the pages' settings
// records and on copies of the data store's arrays, never on windows.
//
// Reading fills a staging copy: the caller starts it from the current settings (fields that
// the document does not name keep their values), reads, and only when the whole document has
// been accepted copies the staging copy into the pages and the data store.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "charts/chart_settings.h"
#include "charts/d3view_settings.h"
#include "charts/legend_settings.h"
#include "charts/xyview_settings.h"
#include "data/series.h"
#include "documents/cdf_file.h"
#include "documents/result_settings.h"
#include "fitting/multistat_settings.h"
#include "fitting/parameters_of_multi_search1_settings.h"
#include "fitting/sinaldlg_settings.h"
#include "fitting/useruf_item.h"
#include "fitting/useruf_settings.h"
#include "fitting/xystatistic_settings.h"
#include "formula/approxcustom_settings.h"
#include "formula/calculator_settings.h"
#include "formula/collection_settings.h"
#include "formula/constructor_multi_settings.h"
#include "formula/constructor_settings.h"
#include "statistics/distribution2_settings.h"
#include "statistics/distrimution_settings.h"

// Everything of the main window and the pages that a document keeps.
struct DocumentSettings {
    int activeParameter = 0;  // of the data store
    int activePage = 0;       // page shown (page-table order 0 to 16)
    int selectedTab = 0;      // the tab control's tab (0 to 6)
    int view3D = 0;           // the main window's three-dimensional view flag
    legend_settings legend;
    chart_settings chart;
    xyview_settings xyview;
    d3view_settings d3view;
    xystatistic_settings xystatistic;
    distrimution_settings distrimution;
    distribution2_settings distribution2;
    result_settings result;
    constructor_settings constructor;
    approxcustom_settings approxcustom;
    useruf_settings useruf;
    collection_settings collection;
    sinaldlg_settings sinaldlg;
    multistat_settings multistat;
    constructor_multi_settings constructorMulti;
    parameters_of_multi_search1_settings search;
    calculator_settings calculator;
};

class DataStore;

// The data store's arrays as a document carries them.
struct DocumentData {
    std::vector<double> allValues;
    std::vector<Series> series;
    std::vector<std::string> seriesNames;
    std::vector<Initial> parameters;
    std::vector<std::string> parameterNames;
};

// Moves data's arrays into store with the fields that follow from them, and compacts the
// values (CompactValues' answer); the store's other fields are left as they are.
int MoveDocumentDataInto(DocumentData& data, int activeParameter, DataStore& store);

// The same arrays as the writer reads them, wherever they live (the data store's own).
struct DocumentDataView {
    std::span<const double> allValues;
    std::span<const Series> series;
    std::span<const std::string> seriesNames;
    std::span<const Initial> parameters;
    std::span<const std::string> parameterNames;
};

// What reading found besides the fields: the caller acts on it while applying.
struct DocumentReadNotes {
    bool hasActiveTab = false;
    bool hasUserCoefficients = false;  // "User defiened" replaced the coefficient table
    bool ranBestPolynome = false;      // the "Best polynome" scheme was chosen by the document
    bool schemesReset = false;         // two or more several-argument schemes: plane alone
    bool hasCounts = false;            // "Number series and parameters" was read
    bool hasPolyTerms = false;         // "Constructor Poly" set the polynomial's terms
    int seriesCount = 0;
    int parameterCount = 0;
    // What the reader left out or cut (items of "User defiened", long names): the caller
    // shows them in one message.
    std::vector<std::string> messages;
};

// Fills an empty file model with the document.
// The file takes the values from data without a copy: data must outlive the save.
void BuildDocument(const DocumentSettings& settings, const DocumentDataView& data, cdfFile& file);
// The same with a copy of the values in the file.
void BuildDocument(const DocumentSettings& settings, const DocumentData& data, cdfFile& file);

// Applies a loaded file model to staging (settings as they are now) and data (emptied and
// filled). Returns "" when the document was accepted, else the reason; file's double data
// may be moved out.
std::string ReadDocumentModel(cdfFile& file, DocumentSettings& staging, DocumentData& data, DocumentReadNotes& notes);

// The "Custom approximation" text and its reading.
std::string CustomApproximationText(const approxcustom_settings& a);
void ApplyCustomApproximationText(const std::string& text, approxcustom_settings& a);

// Whether two sets of settings hold the same work of the user: the page shown, the selected
// parameter, the three-dimensional view flag that follows the data's shape, the camera
// of the three-dimensional view and the fields the painters write by themselves (ranges under
// Autozoom, the image size that follows the screen, the largest record count) do not count.
bool SameWork(DocumentSettings a, DocumentSettings b);
// A fingerprint of the data arrays: equal arrays give equal fingerprints.
std::uint64_t DataFingerprint(const DocumentDataView& data);
