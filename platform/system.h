#pragma once
// Program folder, command line, files and folders, local time, key state.
#include <string>

namespace platform {

// The folder of the program file, ending in '/'.
std::string ProgramFolder();
// The user's own folder for the program's data (no '/' at the end); empty when there is none.
std::string UserDataFolder();

// The command line after the program name: the arguments joined with single blanks, so
// "a b" given as two arguments and as one read the same. Set at start-up (Application).
const std::string& CommandLine();
void SetCommandLine(const std::string& commandLine);
std::string JoinArguments(int argc, const char* const* argv);

std::string CurrentDirectory();
bool SetCurrentDirectory(const std::string& path);
bool CreateDirectory(const std::string& path);  // one level; false when it exists or fails
bool FileExists(const std::string& path);        // a file or a folder
bool IsDirectory(const std::string& path);

// File attributes: kAttributesInvalid when the path does not exist.
enum FileAttribute : unsigned {
    kAttributeReadOnly = 0x01,
    kAttributeHidden = 0x02,
    kAttributeDirectory = 0x10,
    kAttributeNormal = 0x80,
};
constexpr unsigned kAttributesInvalid = 0xFFFFFFFFu;
unsigned FileAttributes(const std::string& path);

struct LocalTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};
LocalTime Now();

// Whether a key or mouse button (KeyCode) is down now, as far as the program's windows saw it.
bool KeyDown(int key);

// Opens a file or an address with the desktop's program for it (through the dialog service).
bool OpenWithShell(const std::string& pathOrUrl);

}  // namespace platform
