#include "platform/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/dialog.h"
#include "platform/qt_text.h"

namespace platform {

namespace {

const char* const kCommandProperty = "tabulonCommand";

int CommandOf(const QAction* action) {
    const QVariant v = action->property(kCommandProperty);
    return v.isValid() ? v.toInt() : 0;
}

// The item with the command, searching submenus depth first.
QAction* FindCommand(const QWidget* menu, int command) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* found = FindCommand(action->menu(), command)) return found;
        } else if (!action->isSeparator() && CommandOf(action) == command) {
            return action;
        }
    }
    return nullptr;
}

QAction* ActionAt(const QWidget* menu, int pos) {
    if (!menu || pos < 0) return nullptr;
    const QList<QAction*> actions = menu->actions();
    return pos < actions.size() ? actions[pos] : nullptr;
}

// Deleted later: the item may be the one whose command is running.
void Discard(QWidget* holder, QAction* action) {
    holder->removeAction(action);
    if (QMenu* sub = action->menu()) {
        sub->deleteLater();
    } else {
        action->deleteLater();
    }
}

}  // namespace

Menu::Menu(QWidget* menu, Dialog* owner, bool system) : menu_(menu), owner_(owner), system_(system) {}

int Menu::ItemCount() const { return menu_ ? static_cast<int>(menu_->actions().size()) : 0; }

Menu Menu::SubMenu(int pos) const {
    QAction* action = ActionAt(menu_, pos);
    return action && action->menu() ? Menu(action->menu(), owner_, system_) : Menu();
}

std::string Menu::ItemText(int pos) const {
    QAction* action = ActionAt(menu_, pos);
    return action ? FromQString(action->text()) : std::string();
}

int Menu::ItemCommand(int pos) const {
    QAction* action = ActionAt(menu_, pos);
    if (!action || action->isSeparator()) return 0;
    return action->menu() ? -1 : CommandOf(action);
}

bool Menu::IsSeparator(int pos) const {
    QAction* action = ActionAt(menu_, pos);
    return action && action->isSeparator();
}

bool Menu::RemoveAt(int pos) {
    QAction* action = ActionAt(menu_, pos);
    if (!action) return false;
    Discard(menu_, action);
    return true;
}

bool Menu::Has(int command) const { return FindCommand(menu_, command) != nullptr; }

bool Menu::Rename(int command, const std::string& text) {
    QAction* action = FindCommand(menu_, command);
    if (action) action->setText(ToQString(text));
    return action != nullptr;
}

std::string Menu::Text(int command) const {
    QAction* action = FindCommand(menu_, command);
    return action ? FromQString(action->text()) : std::string();
}

bool Menu::Enable(int command, bool enable) {
    QAction* action = FindCommand(menu_, command);
    if (action) action->setEnabled(enable);
    return action != nullptr;
}

bool Menu::IsEnabled(int command) const {
    QAction* action = FindCommand(menu_, command);
    return action && action->isEnabled();
}

namespace {

QAction* MakeCommandAction(QWidget* menu, const std::string& text, int command, Dialog* owner, bool system) {
    auto* action = new QAction(ToQString(text), menu);
    action->setProperty(kCommandProperty, command);
    QObject::connect(action, &QAction::triggered, action, [command, owner, system] {
        if (!owner) return;
        if (system) {
            owner->Dispatch([owner, command] { owner->OnSysCommand(static_cast<unsigned>(command), 0); });
        } else {
            owner->SendCommand(command);
        }
    });
    return action;
}

}  // namespace

void Menu::Append(const std::string& text, int command) { InsertAt(ItemCount(), text, command); }

void Menu::AppendSeparator() {
    if (!menu_) return;
    auto* action = new QAction(menu_);
    action->setSeparator(true);
    menu_->addAction(action);
}

Menu Menu::AppendSubMenu(const std::string& text) {
    if (!menu_) return Menu();
    auto* sub = new QMenu(ToQString(text), menu_);
    menu_->addAction(sub->menuAction());
    return Menu(sub, owner_, system_);
}

void Menu::InsertAt(int pos, const std::string& text, int command) {
    if (!menu_) return;
    QAction* action = MakeCommandAction(menu_, text, command, owner_, system_);
    menu_->insertAction(ActionAt(menu_, pos), action);
}

void Menu::Build(const std::vector<MenuItemTemplate>& items) {
    for (const MenuItemTemplate& item : items) {
        if (!item.items.empty()) {
            AppendSubMenu(item.text).Build(item.items);
        } else if (item.text.empty() && item.command == 0) {
            AppendSeparator();
        } else {
            Append(item.text, item.command);
        }
    }
}

}  // namespace platform
