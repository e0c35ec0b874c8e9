#include "platform/scripted_dialogs.h"

#include "platform/dialog.h"
#include "platform/font_choice.h"

namespace platform {

namespace {

template <class T>
std::optional<T> Next(std::deque<std::optional<T>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<T> answer = answers.front();
    answers.pop_front();
    return answer;
}

int FirstButtonAnswer(unsigned type) {
    switch (type & 0x0F) {
        case kButtonsYesNoCancel:
        case kButtonsYesNo: return kYes;
        default: return kOk;
    }
}

}  // namespace

ScriptedDialogs::ScriptedDialogs() : previous_(InstallDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() { InstallDialogs(previous_); }

std::vector<std::string> ScriptedDialogs::Messages() const {
    std::vector<std::string> texts;
    for (const Shown& s : shown) {
        if (s.kind == "message") texts.push_back(s.text);
    }
    return texts;
}

int ScriptedDialogs::CountOf(const std::string& kind) const {
    int n = 0;
    for (const Shown& s : shown) n += s.kind == kind ? 1 : 0;
    return n;
}

int ScriptedDialogs::MessageBox(const std::string& text, const std::string& caption, unsigned type) {
    shown.push_back({"message", text, caption, type});
    if (messageAnswers.empty()) return FirstButtonAnswer(type);
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const FileDialogRequest& request) {
    shown.push_back({"open", request.title, request.filter, 0});
    return Next(fileAnswers);
}

std::optional<std::string> ScriptedDialogs::SaveFile(const FileDialogRequest& request) {
    shown.push_back({"save", request.title, request.filter, 0});
    return Next(fileAnswers);
}

std::optional<ColorRef> ScriptedDialogs::ChooseColor(ColorRef) {
    shown.push_back({"color", "", "", 0});
    return Next(colorAnswers);
}

std::optional<FontChoice> ScriptedDialogs::ChooseFont(const FontRequest& request) {
    shown.push_back({"font", request.font.faceName, "", 0});
    fontRequests.push_back(request);
    const std::optional<Font> font = Next(fontAnswers);
    if (!font) return std::nullopt;
    FontChoice choice;
    choice.font = *font;
    choice.color = request.color;
    if (!fontColorAnswers.empty()) {
        if (request.effects) choice.color = fontColorAnswers.front();
        fontColorAnswers.pop_front();
    }
    choice.pointSize = PointSizeTenths(*font);
    return choice;
}

void ScriptedDialogs::RunModal(Dialog& dialog) {
    shown.push_back({"modal", dialog.Caption(), "", static_cast<unsigned>(dialog.TemplateId())});
    if (modalSteps.empty()) return;  // the layer ends it with kCancel
    std::function<void(Dialog&)> step = std::move(modalSteps.front());
    modalSteps.pop_front();
    step(dialog);
}

bool ScriptedDialogs::OpenWithShell(const std::string& pathOrUrl) {
    shown.push_back({"shell", pathOrUrl, "", 0});
    if (shellAnswers.empty()) return true;
    const bool opened = shellAnswers.front();
    shellAnswers.pop_front();
    return opened;
}

}  // namespace platform
