#pragma once
// Data exchange between a dialog's controls and its members, in one direction per pass:
// saving (controls -> members) or loading (members -> controls). A dialog's DoDataExchange
// lists its fields in order; a range check follows the field it checks.
//
// When saving, a field that does not read stops the pass: the message box says why
// ("Please enter an integer." ...), the control gets the focus, the members after it keep
// their values (those before it were already stored) and UpdateData returns false.
#include <string>

namespace platform {

class Dialog;

class Exchange {
public:
    Exchange(Dialog& dialog, bool saving);

    bool Saving() const { return saving_; }
    bool Failed() const { return failed_; }

    // Edits (any control with a text). Integers are written "%d", doubles "%.15g".
    void Int(int id, int& value);
    void Double(int id, double& value);
    void Text(int id, std::string& value);
    // Check box state 0 or 1.
    void Check(int id, int& value);
    // Index of the checked button in the radio group starting at firstId; -1 for none.
    void Radio(int firstId, int& value);
    // Selected index of a combo box or list box; -1 for none.
    void ComboIndex(int id, int& value);
    // Position of a slider, spin or scroll bar.
    void Slider(int id, int& value);

    // Range and length checks of the field exchanged last (only when saving).
    void Range(int value, int minimum, int maximum);
    void Range(double value, double minimum, double maximum);
    void MaxChars(const std::string& value, int maximum);

    // Parsing as the exchange does it: blanks around the number are allowed, nothing else.
    static bool ParseInt(const std::string& text, int& value);
    static bool ParseDouble(const std::string& text, double& value);

private:
    bool Active() const { return !failed_; }
    void Fail(const std::string& message);

    Dialog& dialog_;
    bool saving_;
    bool failed_ = false;
    int lastId_ = 0;
};

}  // namespace platform
