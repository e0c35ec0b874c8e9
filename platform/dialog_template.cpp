#include "platform/dialog_template.h"

#include <algorithm>
#include <map>

#include <QFontMetrics>
#include <QGuiApplication>

#include "platform/dialog_widgets.h"

namespace platform {

namespace {

struct BaseUnits {
    int x = 6;  // pixels per 4 horizontal units
    int y = 13; // pixels per 8 vertical units
};

// Measured once the application exists; the classic 6 x 13 before that.
const BaseUnits& Base() {
    static BaseUnits measured;
    static bool known = false;
    if (!known && QGuiApplication::instance()) {
        const QFontMetrics fm(DialogFont());
        const int letters = fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        measured.x = std::max(1, (letters + 26) / 52);
        measured.y = std::max(1, fm.height());
        known = true;
    }
    return measured;
}

std::map<int, DialogTemplate>& Registry() {
    static std::map<int, DialogTemplate> registry;
    return registry;
}

// round(units * numerator / denominator), halves away from zero
int Scale(int units, int numerator, int denominator) {
    const long long n = static_cast<long long>(units) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(n >= 0 ? (n + half) / denominator : -((-n + half) / denominator));
}

}  // namespace

int DialogUnitsToPixelsX(int units) { return Scale(units, Base().x, 4); }

int DialogUnitsToPixelsY(int units) { return Scale(units, Base().y, 8); }

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
    const int id = dialogTemplate.id;
    Registry()[id] = std::move(dialogTemplate);
}

std::vector<int> DialogTemplateIds() {
    std::vector<int> ids;
    for (const auto& entry : Registry()) ids.push_back(entry.first);
    return ids;
}

const DialogTemplate* FindDialogTemplate(int id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace platform
