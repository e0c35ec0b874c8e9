#pragma once
// Ids of the main window's templates, controls, commands and pictures.

constexpr int kTemplateAbout = 100;
constexpr int kTemplateMain = 102;

// Controls of the main window.
constexpr int kTabControl = 1000;
constexpr int kResultVScroll = 1120;
constexpr int kResultHScroll = 1121;
constexpr int kHelpButton = 57670;

// Commands of the main menu. File > Exit carries the OK command, so it ends the main
// dialog exactly as an OK button would.
constexpr int kCommandExit = 1;
constexpr int kCommandFileOpen = 32771;
constexpr int kCommandFileSave = 32772;
constexpr int kCommandFileSaveAs = 32773;
constexpr int kCommandFilePrint = 32774;
constexpr int kCommandRecentFile1 = 32824;  // to 32827
constexpr int kRecentFileCount = 4;

constexpr int kCommandImportFromDatabase = 32776;
constexpr int kCommandImportFromTextFile = 32777;
constexpr int kCommandPasteFromClipboard = 32778;
constexpr int kCommandReadImageAsRgb = 32800;
constexpr int kCommandReadImageAsHsv = 32801;
constexpr int kCommandChangeTimeDataFormat = 32789;
constexpr int kCommandFullAnalysis = 32794;
constexpr int kCommandRunMacroFile = 32804;
constexpr int kCommandAllBlackLines = 32806;
constexpr int kCommandDistinctColorLines = 32807;
constexpr int kCommandDistinctColorMarks = 32809;
constexpr int kCommandMarksHorizontalDashes = 32813;
constexpr int kCommandMarksLines = 32814;
constexpr int kCommandIncreaseMarkSize = 32815;
constexpr int kCommandDecreaseMarkSize = 32816;
constexpr int kCommandMarksSameSize = 32822;
constexpr int kCommandCopyNamesOfAllSeries = 32811;
constexpr int kCommandCopyNamesWithOrder = 32812;
constexpr int kCommandNormalizeAllParameters = 32818;
constexpr int kCommandValueParametersFrom0To1 = 32819;
constexpr int kCommandValueParametersStartAt1 = 32820;
constexpr int kCommandUniteAllSeries = 32821;

constexpr int kCommandCopyScreen = 32779;
constexpr int kCommandCopyContentOfResultControl = 32781;
constexpr int kCommandSaveScreenInFile = 32785;
constexpr int kCommandReportAsWord = 32787;
constexpr int kCommandReportAsHtml = 32793;
constexpr int kCommandCopyCoefficients = 32803;

constexpr int kCommandOnlineHelp = 57670;
constexpr int kCommandAbout = 32784;

// Positions of the menu bar's menus.
constexpr int kMenuFile = 0;
constexpr int kMenuData = 1;
constexpr int kMenuResults = 2;
constexpr int kMenuHelp = 3;

// The system menu's About item.
constexpr unsigned kSysCommandAbout = 16;
constexpr const char* kAboutMenuText = "&About Tabulon...";

// Controls of the About box.
constexpr int kAboutIcon = 1001;
constexpr int kAboutVersion = 1002;
