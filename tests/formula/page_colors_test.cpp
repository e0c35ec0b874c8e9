// The colours the model pages and the calculator hand out reach their real widgets.
#include <QPalette>
#include <QWidget>
#include <gtest/gtest.h>

#include "formula/approxcustom.h"
#include "formula/calculator.h"
#include "platform/scripted_dialogs.h"
#include "tests/formula/page_test_support.h"

namespace {

using platform::Rgb;

template <class Page>
platform::ColorRef Role(int id, QPalette::ColorRole role) {
    pagetest::MainStub main;
    platform::ScriptedDialogs dialogs;
    Page page;
    EXPECT_TRUE(page.Create(nullptr));
    const QWidget* w = id == 0 ? page.ClientWidget() : page.Control(id).Widget();
    return w ? platform::FromQColor(w->palette().color(QPalette::Active, role)) : 0xFFFFFFFFu;
}

TEST(PageColours, ReachTheWidgets) {
    EXPECT_EQ(Role<approxcustom>(0, QPalette::Window), Rgb(30, 30, 205));
    EXPECT_EQ(Role<approxcustom>(approxcustom::kFormulaList, QPalette::Base), Rgb(255, 250, 240));
    EXPECT_EQ(Role<calculator>(calculator::kArgumentEdit, QPalette::Text), Rgb(50, 11, 10));
}

}  // namespace
