#include "app/main_resources.h"

#include "app/resource_ids.h"
#include "platform/dialog_template.h"

namespace {

using platform::ControlKind;

// The tab control, the two scroll bars of the result pane and the hidden help button; the
// layout places them for the window's size.
const platform::DialogTemplateRegistration mainTemplate({
    .id = kTemplateMain,
    .caption = "Tabulon",
    .cx = 900,
    .cy = 460,
    .style = platform::kDialogPopup | platform::kDialogResizable | platform::kDialogMinMax,
    .controls =
        {
            {kTabControl, ControlKind::TabControl, "", 3, 300, 300, 150, platform::kStyleOwnerDraw},
            {kResultVScroll, ControlKind::ScrollBar, "", 880, 2, 12, 280, platform::kStyleVertical},
            {kResultHScroll, ControlKind::ScrollBar, "", 2, 285, 870, 12, platform::kStyleHorizontal},
            {kHelpButton, ControlKind::Button, "&Help", 840, 440, 50, 14, platform::kStyleHidden},
        },
});

}  // namespace

platform::MenuTemplate MainMenu() {
    using platform::MenuCommand;
    using platform::MenuPopup;
    using platform::MenuSeparator;
    return {
        MenuPopup("&File",
                  {
                      MenuCommand("Open", kCommandFileOpen),
                      MenuCommand("Save", kCommandFileSave),
                      MenuCommand("Save as", kCommandFileSaveAs),
                      MenuSeparator(),
                      MenuCommand("Print", kCommandFilePrint),
                      MenuSeparator(),
                      MenuPopup("Recent Files",
                                {
                                    MenuCommand("File1", kCommandRecentFile1),
                                    MenuCommand("File2", kCommandRecentFile1 + 1),
                                    MenuCommand("File3", kCommandRecentFile1 + 2),
                                    MenuCommand("File4", kCommandRecentFile1 + 3),
                                }),
                      MenuSeparator(),
                      MenuCommand("Exit", kCommandExit),
                  }),
        // "Run macro file" and the separator before it are removed at start-up.
        MenuPopup("&Data",
                  {
                      MenuCommand("Import from text file", kCommandImportFromTextFile),
                      MenuCommand("Import from database", kCommandImportFromDatabase),
                      MenuCommand("Paste from clipboard", kCommandPasteFromClipboard),
                      MenuPopup("Read image file",
                                {
                                    MenuCommand("as RGB", kCommandReadImageAsRgb),
                                    MenuCommand("as HSV", kCommandReadImageAsHsv),
                                }),
                      MenuSeparator(),
                      MenuCommand("Change time data format", kCommandChangeTimeDataFormat),
                      MenuSeparator(),
                      MenuCommand("Full analysis", kCommandFullAnalysis),
                      MenuSeparator(),
                      MenuCommand("Run macro file", kCommandRunMacroFile),
                      MenuPopup("Modify marks of all variables",
                                {
                                    MenuCommand("all black lines", kCommandAllBlackLines),
                                    MenuCommand("distinct color lines", kCommandDistinctColorLines),
                                    MenuCommand("distinct color marks", kCommandDistinctColorMarks),
                                    MenuCommand("all marks are horizontal dashes", kCommandMarksHorizontalDashes),
                                    MenuCommand("all marks are lines", kCommandMarksLines),
                                    MenuCommand("increase size of marks", kCommandIncreaseMarkSize),
                                    MenuCommand("decrease size of marks", kCommandDecreaseMarkSize),
                                    MenuCommand("all marks the same size", kCommandMarksSameSize),
                                }),
                      MenuPopup("Modify names of all variables",
                                {
                                    MenuCommand("Copy names of all series", kCommandCopyNamesOfAllSeries),
                                    MenuCommand("Copy names of all series plus their order number",
                                                kCommandCopyNamesWithOrder),
                                }),
                      MenuPopup("Normalize",
                                {
                                    MenuCommand("All parameters from 0 to 1", kCommandNormalizeAllParameters),
                                    MenuCommand("Value parametes from 0 to 1", kCommandValueParametersFrom0To1),
                                    MenuCommand("All value parameters start at 1", kCommandValueParametersStartAt1),
                                }),
                      MenuCommand("Unite all series in one", kCommandUniteAllSeries),
                  }),
        MenuPopup("&Results",
                  {
                      MenuCommand("Copy screen", kCommandCopyScreen),
                      MenuCommand("Save screen in file", kCommandSaveScreenInFile),
                      MenuCommand("Copy content of result control", kCommandCopyContentOfResultControl),
                      MenuCommand("Copy coefficients", kCommandCopyCoefficients),
                      MenuSeparator(),
                      MenuCommand("Report as MS Word file", kCommandReportAsWord),
                      MenuCommand("Report as HTML file", kCommandReportAsHtml),
                  }),
        MenuPopup("&Help",
                  {
                      MenuCommand("Online help", kCommandOnlineHelp),
                      MenuCommand("About Tabulon", kCommandAbout),
                  }),
    };
}
