#pragma once
// A dialog service for tests: records everything shown and answers from scripts, never blocks.
// Unscripted questions get a harmless answer: a message box its first button (kOk or kYes),
// file, colour and font dialogs are cancelled, and a modal dialog with no step queued ends at
// once with kCancel. Installed for the lifetime of the object.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string kind;     // "message", "open", "save", "color", "font", "modal", "shell"
        std::string text;     // message text, dialog title or caption, opened path
        std::string caption;  // message box caption; filter of file dialogs
        unsigned type = 0;    // message box type; template id of a modal dialog
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // Scripts, consumed in order.
    std::deque<int> messageAnswers;
    std::deque<std::optional<std::string>> fileAnswers;  // for open and save alike
    std::deque<std::optional<ColorRef>> colorAnswers;
    std::deque<std::optional<Font>> fontAnswers;
    std::deque<bool> shellAnswers;  // whether the desktop opened it; true when none is queued
    // Colours the font dialog ends with, one per font answered; when none is queued it hands
    // back the colour it was opened on. The size comes from the answered font's height.
    std::deque<ColorRef> fontColorAnswers;
    // Runs while the modal dialog is up, its widgets real; end it with EndDialog (or let the
    // step return: the dialog then ends with kCancel).
    std::deque<std::function<void(Dialog&)>> modalSteps;

    std::vector<Shown> shown;
    std::vector<FontRequest> fontRequests;  // every font dialog as it was asked for
    std::vector<std::string> Messages() const;  // texts of the message boxes, in order
    int CountOf(const std::string& kind) const;

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<ColorRef> ChooseColor(ColorRef initial) override;
    std::optional<FontChoice> ChooseFont(const FontRequest& request) override;
    void RunModal(Dialog& dialog) override;
    bool OpenWithShell(const std::string& pathOrUrl) override;

private:
    Dialogs* previous_;
};

}  // namespace platform
