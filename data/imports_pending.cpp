// Removed when the import commands land.
// Stand-ins for the import commands not written yet, so the program links meanwhile:
// they show nothing and change nothing.
#include "data/data_page.h"

void data::ReadTextFileForMacro(const std::vector<std::string>&, int) {}
