// Tabulon: builds the application and runs the main dialog; the program ends with it.
#include "app/program_objects.h"
#include "app/tabulon_app.h"
#include "platform/application.h"

int main(int argc, char** argv) {
    platform::Application application(argc, argv);
    return theApp.InitInstance();
}
