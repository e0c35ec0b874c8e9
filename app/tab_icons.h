#pragma once
// The seven 21 x 21 tab pictures, drawn here rather than loaded; each is known by its
// picture number (152 data, 155 legend, 156 chart, 153 view, 157 statistics, 140 results,
// 158 calculator). An unknown number gives an empty picture of that size.
#include <QImage>

constexpr int kTabIconSize = 21;

QImage TabIcon(int pictureId);
