#include "platform/dialog_template.h"

#include <map>

namespace platform {

namespace {

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

int DialogUnitsToPixelsX(int units) { return Scale(units, 6, 4); }

int DialogUnitsToPixelsY(int units) { return Scale(units, 13, 8); }

void RegisterDialogTemplate(DialogTemplate dialogTemplate) {
    const int id = dialogTemplate.id;
    Registry()[id] = std::move(dialogTemplate);
}

const DialogTemplate* FindDialogTemplate(int id) {
    auto it = Registry().find(id);
    return it == Registry().end() ? nullptr : &it->second;
}

}  // namespace platform
