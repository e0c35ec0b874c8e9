// The program-wide objects, defined in the order they are built before the program starts;
// they are destroyed in the reverse order when it ends. Every object whose constructor reads
// another comes after it.
#include <string>

#include "app/program_objects.h"
#include "app/tabulon_app.h"

CTabulonApp theApp;

std::string documentPath;
