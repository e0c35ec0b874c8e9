#include "platform/exchange.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/dialog.h"
#include "platform/dialogs.h"
#include "platform/format.h"

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text without blanks at either end.
std::string Trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

Exchange::Exchange(Dialog& dialog, bool saving) : dialog_(dialog), saving_(saving) {}

bool Exchange::ParseInt(const std::string& text, int& value) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    std::size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    if (i == t.size()) return false;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return false;
    }
    errno = 0;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    return true;
}

bool Exchange::ParseDouble(const std::string& text, double& value) {
    const std::string t = Trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

void Exchange::Fail(const std::string& message) {
    failed_ = true;
    MessageBox(message, kButtonsOk | kIconWarning);
    platform::Control c = dialog_.Control(lastId_);
    c.SetFocus();
    if (c.Kind() == ControlKind::Edit) c.SetSelection(0, -1);
}

void Exchange::Int(int id, int& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (!saving_) {
        c.SetText(Format("%d", value));
        return;
    }
    int v = 0;
    if (!ParseInt(c.Text(), v)) {
        Fail("Please enter an integer.");
        return;
    }
    value = v;
}

void Exchange::Double(int id, double& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (!saving_) {
        c.SetText(Format("%.15g", value));
        return;
    }
    double v = 0;
    if (!ParseDouble(c.Text(), v)) {
        Fail("Please enter a number.");
        return;
    }
    value = v;
}

void Exchange::Text(int id, std::string& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (saving_) {
        value = c.Text();
    } else {
        c.SetText(value);
    }
}

void Exchange::Check(int id, int& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (saving_) {
        value = c.Check();
    } else {
        c.SetCheck(value);
    }
}

void Exchange::Radio(int firstId, int& value) {
    if (!Active()) return;
    lastId_ = firstId;
    const std::vector<int> group = dialog_.RadioGroup(firstId);
    if (saving_) {
        value = -1;
        for (std::size_t i = 0; i < group.size(); ++i) {
            if (dialog_.Control(group[i]).Check() == 1) {
                value = static_cast<int>(i);
                break;
            }
        }
        return;
    }
    for (std::size_t i = 0; i < group.size(); ++i) {
        dialog_.Control(group[i]).SetCheck(static_cast<int>(i) == value ? 1 : 0);
    }
}

void Exchange::ComboIndex(int id, int& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (saving_) {
        value = c.CurSel();
    } else {
        c.SetCurSel(value);
    }
}

void Exchange::Slider(int id, int& value) {
    if (!Active()) return;
    lastId_ = id;
    platform::Control c = dialog_.Control(id);
    if (saving_) {
        value = c.Pos();
    } else {
        c.SetPos(value);
    }
}

void Exchange::Range(int value, int minimum, int maximum) {
    if (!saving_ || !Active()) return;
    if (value < minimum || value > maximum) {
        Fail(Format("Please enter an integer between %d and %d.", minimum, maximum));
    }
}

void Exchange::Range(double value, double minimum, double maximum) {
    if (!saving_ || !Active()) return;
    if (value < minimum || value > maximum) {
        Fail(Format("Please enter a number between %.15g and %.15g.", minimum, maximum));
    }
}

void Exchange::MaxChars(const std::string& value, int maximum) {
    if (!saving_ || !Active()) return;
    if (static_cast<int>(value.size()) > maximum) {
        Fail(Format("Please enter no more than %d characters.", maximum));
    }
}

}  // namespace platform
