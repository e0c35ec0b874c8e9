#pragma once
// The seventeen pages of the main window in page-table order, and its seven tabs.
#include <array>
#include <cstdint>

#include "platform/color.h"

namespace platform {
class Dialog;
}

enum PageIndex : int {
    kPageData = 0,
    kPageLegend = 1,
    kPageChart = 2,
    kPageXyview = 3,
    kPageD3view = 4,
    kPageDistrimution = 5,
    kPageDistribution2 = 6,
    kPageXystatistic = 7,
    kPageConstructor = 8,
    kPageApproxcustom = 9,
    kPageUseruf = 10,
    kPageCollection = 11,
    kPageSinaldlg = 12,
    kPageMultistat = 13,
    kPageResult = 14,
    kPageCalculator = 15,
    kPageConstructorMulti = 16,
};
constexpr int kPageCount = 17;

// One page of the tab control, laid out as a tab item: only the mask and the page are set.
struct pageRecord {
    std::int32_t mask = 0;
    std::int32_t state = 0;
    std::int32_t text = 0;
    std::int32_t image = 0;
    platform::Dialog* page = nullptr;
};
constexpr std::int32_t kTabItemParam = 8;  // the mask of a record that holds its page

// The page objects in page-table order.
std::array<platform::Dialog*, kPageCount> PageObjects();

enum TabIndex : int {
    kTabData = 0,
    kTabLegend = 1,
    kTabChart = 2,
    kTabView = 3,
    kTabStatistics = 4,
    kTabResults = 5,
    kTabCalculator = 6,
};
constexpr int kTabCount = 7;

struct TabLook {
    const char* text;
    int picture;
    platform::ColorRef fill;       // the selected tab's face
    platform::ColorRef textColor;  // the selected tab's text
};
extern const std::array<TabLook, kTabCount> kTabs;
// The face of the tabs not selected.
constexpr platform::ColorRef kTabFaceUnselected = 0xDCDCDC;
