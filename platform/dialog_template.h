#pragma once
// Declarative dialog templates: one table per dialog, keyed by the template id the dialog
// class is built on. The layer turns each row into a Qt widget with absolute geometry.
//
// Geometry is in dialog units of the dialog font (an 11-pixel face, DialogFont), which scale
// with that font as dialog templates are meant to:
//   x pixels = round(x units * w / 4),   y pixels = round(y units * h / 8)
// where w is the font's average character width (the 52 letters "A".."Z", "a".."z" measured
// together, divided by 52 and rounded) and h its line height: a caption that fits its
// rectangle in the font it was laid out for fits it in this one.
#include <string>
#include <utility>
#include <vector>

namespace platform {

enum class ControlKind : int {
    Static,       // text label
    Edit,         // one-line edit; multi-line with kStyleMultiline
    Button,       // push button; owner-drawn with kStyleOwnerDraw
    CheckBox,
    RadioButton,  // a run of radio buttons forms a group; kStyleGroup starts a new one
    GroupBox,
    ComboBox,     // drop-down list
    ListBox,
    Slider,
    Spin,         // up/down arrows; kStyleAutoBuddy binds the control before it
    ScrollBar,
    Picture,      // shows an image set with Control::SetImage
    TabControl,   // a row of tabs; owner-drawn with kStyleOwnerDraw
    ListView,     // report list with columns
};

enum ControlStyle : unsigned {
    kStyleNone = 0,
    kStyleHidden = 1u << 0,        // created hidden
    kStyleDisabled = 1u << 1,
    kStyleGroup = 1u << 2,         // starts a radio group
    kStyleDefault = 1u << 3,       // the default push button (Return presses it)
    kStyleOwnerDraw = 1u << 4,     // button or tab painted by Dialog::OnDrawItem
    kStyleMultiline = 1u << 5,     // edit
    kStyleReadOnly = 1u << 6,      // edit
    kStyleSort = 1u << 8,          // combo or list box keeps its items sorted
    kStyleMultiSelect = 1u << 9,   // list box or list view: several items selectable
    kStyleVertical = 1u << 10,     // slider or scroll bar standing upright
    kStyleHorizontal = 1u << 11,   // spin with left/right arrows
    kStyleAutoBuddy = 1u << 12,    // spin: the control before it in the table is its buddy
    kStyleSetBuddyInt = 1u << 13,  // spin: writes its position into the buddy as text
    kStyleAlignRight = 1u << 14,   // spin sits inside the buddy's right edge; static text right-aligned
    kStyleCenter = 1u << 15,       // static text centred; edit text centred
    kStyleBorder = 1u << 16,       // static or picture with a sunken frame
    kStylePushLike = 1u << 18,     // check box drawn as a toggle button
};

struct ControlTemplate {
    int id = -1;  // -1 for labels and frames the program never addresses
    ControlKind kind = ControlKind::Static;
    std::string caption;
    int x = 0;  // dialog units
    int y = 0;
    int cx = 0;
    int cy = 0;
    unsigned style = kStyleNone;
};

enum DialogStyle : unsigned {
    kDialogPopup = 0,           // a window of its own
    kDialogChild = 1u << 0,     // a page inside its parent's client area
    kDialogResizable = 1u << 1,
    kDialogMinMax = 1u << 2,    // minimise and maximise buttons
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    int cx = 0;  // client size, dialog units
    int cy = 0;
    unsigned style = kDialogPopup;
    std::vector<ControlTemplate> controls;
};

// Dialog units to pixels (and back), as documented above.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

// The template registry. Registering an id twice replaces the earlier table.
void RegisterDialogTemplate(DialogTemplate dialogTemplate);
const DialogTemplate* FindDialogTemplate(int id);
std::vector<int> DialogTemplateIds();  // every registered id, ascending

// Registers a template while static objects are built: one per template file.
struct DialogTemplateRegistration {
    explicit DialogTemplateRegistration(DialogTemplate dialogTemplate) {
        RegisterDialogTemplate(std::move(dialogTemplate));
    }
};

}  // namespace platform
