#pragma once
// Menus with items that carry command ids. A menu bar is declared as a table and set on a
// dialog; the handle below removes, renames and enables items afterwards.
// Choosing an item sends its command to the dialog (Dialog::SendCommand); items of the
// system menu go to Dialog::OnSysCommand instead.
#include <string>
#include <utility>
#include <vector>

#include <QPointer>
#include <QWidget>

namespace platform {

class Dialog;

// A separator is an item with no text, no command and no items; a popup has items.
struct MenuItemTemplate {
    std::string text;
    int command = 0;
    std::vector<MenuItemTemplate> items;
};
using MenuTemplate = std::vector<MenuItemTemplate>;

inline MenuItemTemplate MenuCommand(std::string text, int command) { return {std::move(text), command, {}}; }
inline MenuItemTemplate MenuSeparator() { return {}; }
inline MenuItemTemplate MenuPopup(std::string text, std::vector<MenuItemTemplate> items) {
    return {std::move(text), 0, std::move(items)};
}

class Menu {
public:
    Menu() = default;
    Menu(QWidget* menu, Dialog* owner, bool system);

    bool IsValid() const { return !menu_.isNull(); }

    // By position.
    int ItemCount() const;
    Menu SubMenu(int pos) const;        // invalid when the item opens no submenu
    std::string ItemText(int pos) const;
    int ItemCommand(int pos) const;     // 0 for separators, -1 for submenus
    bool IsSeparator(int pos) const;
    bool RemoveAt(int pos);             // a submenu goes with its item

    // By command, searching submenus too. All return false when no item has the command.
    bool Has(int command) const;
    bool Rename(int command, const std::string& text);
    std::string Text(int command) const;
    bool Enable(int command, bool enable = true);
    bool IsEnabled(int command) const;

    // Building.
    void Append(const std::string& text, int command);
    void AppendSeparator();
    Menu AppendSubMenu(const std::string& text);
    void InsertAt(int pos, const std::string& text, int command);  // pos past the end appends
    void Build(const std::vector<MenuItemTemplate>& items);

    QWidget* Widget() const { return menu_.data(); }

private:
    QPointer<QWidget> menu_;  // a QMenuBar or a QMenu
    Dialog* owner_ = nullptr;
    bool system_ = false;
};

}  // namespace platform
