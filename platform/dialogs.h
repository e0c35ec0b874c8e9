#pragma once
// Everything that stops the program to ask the user, or hands something to the desktop:
// message boxes, the file, colour and font dialogs, the modal loops of the program's own
// dialogs and opening files or addresses with the desktop's default program. One service
// instance serves the whole program; tests install a scripted one (scripted_dialogs.h) so that
// nothing ever blocks and every text shown is recorded.
#include <optional>
#include <string>

#include "platform/color.h"
#include "platform/font.h"
#include "platform/window_defs.h"

namespace platform {

class Dialog;

struct FileDialogRequest {
    std::string title;
    // Classic filter text: pairs of "description|patterns" separated by '|', patterns by ';',
    // e.g. "Text files (*.txt)|*.txt|All files (*.*)|*.*||".
    std::string filter;
    std::string initialPath;       // a file name, a folder, or a full path
    std::string defaultExtension;  // without the dot; added when the typed name has none
    bool confirmReplace = true;    // the save dialog asks before an existing file is chosen
};

// What the font dialog opens on and offers.
struct FontRequest {
    Font font;                // the description it opens on
    int minPointSize = 0;     // sizes offered, whole points; 0: no limit
    int maxPointSize = 0;
    bool effects = false;     // underline, strike-out and the text colour offered
    ColorRef color = kBlack;  // the text colour it opens on (with effects)
};

// What it ends with: the description, the text colour (as asked without effects) and the
// chosen size in tenths of a point.
struct FontChoice {
    Font font;
    ColorRef color = kBlack;
    int pointSize = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Returns kOk, kCancel, kYes, kNo, ... An empty caption stands for the application title.
    virtual int MessageBox(const std::string& text, const std::string& caption, unsigned type) = 0;
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    virtual std::optional<ColorRef> ChooseColor(ColorRef initial) = 0;
    virtual std::optional<FontChoice> ChooseFont(const FontRequest& request) = 0;
    // Runs the modal part of Dialog::RunModal: the dialog's window exists and is shown; returns
    // once the dialog has ended (Dialog::EndDialog).
    virtual void RunModal(Dialog& dialog) = 0;
    // Opens a file or an address (anything with a scheme such as "https:") with the desktop.
    virtual bool OpenWithShell(const std::string& pathOrUrl) = 0;
};

// The service in use; the real one over Qt until another is installed.
Dialogs& TheDialogs();
// Installs a service (not owned); nullptr puts the real one back. Returns the previous one.
Dialogs* InstallDialogs(Dialogs* dialogs);

// The common call: a message box with the application title unless a caption is given.
int MessageBox(const std::string& text, unsigned type = kButtonsOk, const std::string& caption = std::string());

// The title shown by message boxes without a caption of their own.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

}  // namespace platform
