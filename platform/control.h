#pragma once
// A handle on one control of a dialog. Copies are cheap; a handle whose control does not exist
// (unknown id, window destroyed) does nothing and reads as empty, zero or -1.
//
// As with the classic controls, changes the program makes send no notification, except that
// setting an edit's text reports EditChange. Texts are UTF-8.
#include <string>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "platform/canvas.h"
#include "platform/dialog_template.h"

class QImage;

namespace platform {

class Control {
public:
    Control() = default;
    Control(QWidget* widget, ControlKind kind, int id, unsigned style);

    bool IsValid() const { return !widget_.isNull(); }
    int Id() const { return id_; }
    ControlKind Kind() const { return kind_; }
    QWidget* Widget() const { return widget_.data(); }

    // Any control.
    std::string Text() const;  // caption, edit text, combo text (edit field or selected item)
    void SetText(const std::string& text);
    void Enable(bool enable = true);
    bool IsEnabled() const;
    void Show(bool show = true);
    bool IsVisible() const;  // shown as far as the control itself goes (its window may be hidden)
    void Move(int x, int y, int width, int height);  // pixels, in the dialog's client area
    Rect Bounds() const;                              // pixels, in the dialog's client area
    void SetFocus();
    bool HasFocus() const;
    void Invalidate();
    void Click();  // as if the user pressed the button: notifies and toggles check boxes

    // Check boxes and radio buttons: 0 unchecked, 1 checked.
    int Check() const;
    void SetCheck(int state);

    // Edits.
    void LimitText(int maxChars);
    void SetSelection(int start, int end);  // end -1: to the end

    // Combo boxes, list boxes and tab controls: items by index.
    int AddString(const std::string& text);                // index of the new item
    int InsertString(int index, const std::string& text);  // index -1 appends
    bool DeleteString(int index);
    void ResetContent();  // removes every item (and every row of a list view)
    // A list box's whole content at once (one model change, one selection range), for
    // lists of many thousand items; every item selected when selectAll.
    void SetItems(const std::vector<std::string>& texts, bool selectAll);
    int Count() const;
    int CurSel() const;   // -1 for none
    void SetCurSel(int index);
    std::string ItemText(int index) const;
    bool SetItemText(int index, const std::string& text);
    // Several selected items (list boxes and list views with kStyleMultiSelect).
    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);
    std::vector<int> SelectedItems() const;
    Rect ItemRect(int index) const;  // tab item or list row, pixels in the control
    void EnsureVisible(int index);

    // Sliders, spins and scroll bars.
    void SetRange(int minimum, int maximum);
    int RangeMax() const;
    int Pos() const;
    void SetPos(int pos);

    // List views: columns and cells (rows use the item calls above).
    int InsertColumn(int column, const std::string& heading, int width);
    bool DeleteColumn(int column);
    int ColumnCount() const;
    int ColumnWidth(int column) const;
    int InsertItem(int row, const std::string& text);  // list view row or tab; index -1 appends
    bool SetItemText(int row, int column, const std::string& text);
    std::string ItemText(int row, int column) const;

    // Pictures.
    void SetImage(const QImage& image);

    // Look (control_look.cpp): the control's text font, and the picture of a tab item, shown at
    // the picture's own size (owner-drawn tabs keep room for it and paint it themselves).
    void SetFont(const Font& font);
    void SetItemImage(int index, const QImage& image);

private:
    QPointer<QWidget> widget_;
    ControlKind kind_ = ControlKind::Static;
    int id_ = -1;
    unsigned style_ = 0;
};

}  // namespace platform
