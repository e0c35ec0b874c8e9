#pragma once
// Ids of the main window's templates, commands and pictures.

constexpr int kTemplateAbout = 100;
constexpr int kTemplateMain = 102;

// Commands of the main menu. File > Exit carries the OK command, so it ends the main
// dialog exactly as an OK button would.
constexpr int kCommandExit = 1;
constexpr int kCommandAbout = 32784;

// The system menu's About item.
constexpr unsigned kSysCommandAbout = 16;
constexpr const char* kAboutMenuText = "&About Tabulon...";

// Controls of the About box.
constexpr int kAboutIcon = 1001;
constexpr int kAboutVersion = 1002;
