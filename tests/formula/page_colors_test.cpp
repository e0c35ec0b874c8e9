// The colours the model pages and the calculator hand out reach their real widgets.
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include "formula/approxcustom.h"
#include "formula/calculator.h"
#include "formula/collection.h"
#include "formula/constructor.h"
#include "formula/constructor_multi.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using platform::ColorRef;
using platform::Rgb;

ColorRef Role(const platform::Dialog& page, int id, QPalette::ColorRole role) {
    const QWidget* w = id == 0 ? page.ClientWidget() : page.Control(id).Widget();
    return w ? platform::FromQColor(w->palette().color(QPalette::Active, role)) : 0xFFFFFFFFu;
}

struct Expect {
    int id;  // 0: the page's background
    QPalette::ColorRole role;
    ColorRef color;
};

template <class Page>
void CheckPage(const char* name, std::initializer_list<Expect> expects) {
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    Page page;
    ASSERT_TRUE(page.Create(nullptr)) << name;
    for (const Expect& e : expects) EXPECT_EQ(Role(page, e.id, e.role), e.color) << name << " control " << e.id;
    page.DestroyWindow();
}

constexpr ColorRef kBlue = Rgb(30, 30, 205), kCyan = Rgb(100, 255, 255), kListBack = Rgb(255, 250, 240);

TEST(PageColours, ReachTheWidgets) {
    CheckPage<approxcustom>("approxcustom", {{0, QPalette::Window, kBlue},
                                             {approxcustom::kFormulaList, QPalette::Base, kListBack},
                                             {approxcustom::kFormulaList, QPalette::Text, kBlue},
                                             {approxcustom::kEditLabel, QPalette::WindowText, kCyan},
                                             {approxcustom::kEditLabel, QPalette::Window, kBlue}});
    CheckPage<collection>("collection", {{0, QPalette::Window, kBlue},
                                         {collection::kModelList, QPalette::Base, kListBack},
                                         {collection::kDeviationLinesCheck, QPalette::WindowText, kCyan},
                                         {collection::kHintStatic, QPalette::Window, kBlue}});
    CheckPage<constructor>("constructor", {{0, QPalette::Window, kBlue},
                                           {constructor::kFirstPeriodEdit, QPalette::Text, kCyan},
                                           {constructor::kFirstPeriodEdit, QPalette::Base, kBlue},
                                           {constructor::kPeriodsStatic, QPalette::WindowText, kCyan}});
    CheckPage<constructor_multi>("constructor_multi", {{0, QPalette::Window, kBlue}});
    CheckPage<calculator>("calculator", {{0, QPalette::Window, Rgb(212, 240, 252)},
                                         {calculator::kArgumentEdit, QPalette::Base, Rgb(215, 250, 240)},
                                         {calculator::kArgumentEdit, QPalette::Text, Rgb(50, 11, 10)},
                                         {calculator::kFileGroup, QPalette::WindowText, Rgb(128, 0, 128)},
                                         {calculator::kFileGroup, QPalette::Window, Rgb(212, 240, 252)}});
}

}  // namespace
