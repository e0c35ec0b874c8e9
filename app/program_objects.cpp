// The program-wide objects of this folder, defined in the order they are built before the
// program starts; they are destroyed in the reverse order when it ends.
//
// The pages and dialogs are defined beside their classes (theData in data/data_page.cpp,
// theXyview in charts/xyview_page.cpp, ...). C++ orders those definitions only within one
// file, which is safe here because no page constructor reads another program-wide object:
// each only sets its own fields, and what several share (the 3-D camera, the analysis hooks)
// is built on first use. The main dialog, which does read them, is built by the start routine
// after all of them.
#include <string>

#include "app/program_objects.h"
#include "app/tabulon_app.h"
#include "fitting/poly_fit.h"

CTabulonApp theApp;

std::string correlationText;
std::string documentPath;
int activeTab = 0;
macroParser theMacroParser;
polyFit currentPolyFit{};
polyFit bestPolyFit{};
std::vector<polyFit> polyFitList;
std::vector<int> argumentColumns;
