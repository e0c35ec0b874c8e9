#pragma once
// Small shared codes of the window layer. The numeric values are the classic ones, so ids and
// codes that the program keeps in its tables and documents keep their meaning.

namespace platform {

// Results of modal dialogs and message boxes; also the ids of the OK and Cancel buttons.
enum Answer : int {
    kOk = 1,
    kCancel = 2,
    kYes = 6,
    kNo = 7,
};

// Message box buttons (low nibble) and icon (next nibble), combined with |.
enum MessageBoxType : unsigned {
    kButtonsOk = 0x00,
    kButtonsOkCancel = 0x01,
    kButtonsYesNoCancel = 0x03,
    kButtonsYesNo = 0x04,
    kIconError = 0x10,
    kIconQuestion = 0x20,
    kIconWarning = 0x30,
};

// Control notifications a dialog can route to its members. Button clicks and menu commands
// are one code, so a menu item and a button with the same id reach the same member.
enum class Notification : int {
    Clicked = 0,      // button pressed, menu command
    DoubleClicked,    // button, list box or list view item double-clicked
    EditChange,       // edit text changed (also when the program sets the text)
    EditSetFocus,
    EditKillFocus,
    SelChange,        // combo, list box, tab or list view selection changed by the user
    SelChanging,      // tab about to change (always allowed)
    SpinDelta,        // spin arrow: Notify::delta; set Notify::result non-zero to refuse the change
    Scroll,           // slider or scroll bar moved: Notify::code, Notify::pos
    ItemClick,        // list view item clicked (Notify::item, Notify::subItem)
    ColumnClick,      // list view header clicked (Notify::subItem)
};

// Scroll and slider action codes.
enum ScrollCode : int {
    kScrollLineUp = 0,  // also line left
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollTop = 6,
    kScrollBottom = 7,
    kScrollEnd = 8,
};

// Window show commands.
enum ShowCommand : int {
    kShowHide = 0,
    kShowNormal = 1,
    kShowMinimized = 2,
    kShowMaximized = 3,
    kShow = 5,
    kShowRestore = 9,
};

// OnSize types.
enum SizeType : int { kSizeRestored = 0, kSizeMinimized = 1, kSizeMaximized = 2 };

// Mouse handler flags (which buttons and modifier keys are down).
enum MouseFlags : unsigned {
    kMouseLeft = 0x01,
    kMouseRight = 0x02,
    kMouseShift = 0x04,
    kMouseControl = 0x08,
    kMouseMiddle = 0x10,
};

// Key codes: letters and digits are their upper-case ASCII codes ('A', '0').
enum KeyCode : int {
    kKeyLeftButton = 0x01,
    kKeyRightButton = 0x02,
    kKeyMiddleButton = 0x04,
    kKeyBack = 0x08,
    kKeyTab = 0x09,
    kKeyClear = 0x0C,    // the keypad's 5 with NumLock off
    kKeyReturn = 0x0D,
    kKeyShift = 0x10,
    kKeyControl = 0x11,
    kKeyAlt = 0x12,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyPageUp = 0x21,
    kKeyPageDown = 0x22,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyInsert = 0x2D,
    kKeyDelete = 0x2E,
    kKeyNumpad0 = 0x60,  // the keypad's digits with NumLock on: kKeyNumpad0 + digit
    kKeyMultiply = 0x6A,  // the keypad's operator keys
    kKeyAdd = 0x6B,
    kKeySubtract = 0x6D,
    kKeyDecimal = 0x6E,
    kKeyDivide = 0x6F,
    kKeyF1 = 0x70,
};

// The system menu's About item and other system commands reach Dialog::OnSysCommand.
constexpr unsigned kSysCommandMask = 0xFFF0;

}  // namespace platform
