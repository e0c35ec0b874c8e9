// Every caption of every dialog and page fits its control at the dialog font: dialog units
// scale with the font's average character, as the templates were laid out for; captions a
// control paints in its own font fit in that font; a caption a page paints above a frame
// stands whole, clear of the frame and the edits inside it.
#include <algorithm>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include <gtest/gtest.h>

#include "charts/d3view_page.h"
#include "data/data_page.h"
#include "main_window_steps.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/dialog_widgets.h"
#include "platform/scripted_dialogs.h"
#include "platform/text_metrics.h"
#include "user_path.h"

namespace {

using platform::ControlKind;

// What a control shows of a caption: '&' marks the next letter, "&&" stands for '&'.
QString Shown(const std::string& caption) {
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return QString::fromUtf8(shown.c_str());
}

TEST(Captions, EveryCaptionFitsItsControl) {
    platform::ScriptedDialogs dialogs;
    const int indicator = QApplication::style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                          QApplication::style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    int checked = 0;
    for (const int id : platform::DialogTemplateIds()) {
        const platform::DialogTemplate* t = platform::FindDialogTemplate(id);
        platform::Dialog dialog(id);
        ASSERT_TRUE(dialog.Create(nullptr)) << id;
        for (const platform::ControlTemplate& c : t->controls) {
            if (c.caption.empty() || c.id == -2) continue;
            const QString text = Shown(c.caption);
            const platform::Rect r{platform::DialogUnitsToPixelsX(c.x), platform::DialogUnitsToPixelsY(c.y),
                                   platform::DialogUnitsToPixelsX(c.x + c.cx), platform::DialogUnitsToPixelsY(c.y + c.cy)};
            const QFontMetrics fm(dialog.ClientWidget()->font());
            const int width = fm.horizontalAdvance(text);
            SCOPED_TRACE("template " + std::to_string(id) + " (" + t->caption + "): \"" + c.caption + "\"");
            if (c.kind == ControlKind::Static) {
                if (c.style & platform::kStyleBorder) continue;
                // Labels wrap at word boundaries; the wrapped lines must fit the height. The
                // last letter's advance may reach a pixel past its ink.
                const QRect need = fm.boundingRect(QRect(0, 0, r.Width(), 10000), Qt::TextWordWrap, text);
                EXPECT_LE(need.width(), r.Width() + 1);
                EXPECT_LE(need.height(), r.Height() + fm.descent());
                ++checked;
                continue;
            }
            // The room a control keeps beside its caption; -1: the caption is not shown as text. A
            // square owner-drawn button shows a picture, its caption only names it; owner-drawn faces
            // put the caption inside a 2-pixel edge.
            const bool picture = (c.style & platform::kStyleOwnerDraw) && c.cx <= c.cy;
            const bool check = c.kind == ControlKind::CheckBox || c.kind == ControlKind::RadioButton;
            int margin = -1;
            if (c.kind == ControlKind::Button && !picture) margin = 4;
            if (check && !(c.style & platform::kStylePushLike)) margin = indicator;
            if (c.kind == ControlKind::GroupBox) margin = 8;
            if (margin < 0) continue;
            EXPECT_LE(width + margin, r.Width());
            ++checked;
        }
        dialog.DestroyWindow();
    }
    EXPECT_GT(checked, 100);
}

}  // namespace

namespace {

// Controls that paint their captions themselves, in fonts of their own, at the main window's
// default size: the Data page's owner-drawn buttons in "Times", and the series table's names in
// its own font (a long parameter name of examples/sunspots.txt).
TEST(Captions, OwnerDrawnCaptionsFitInTheirOwnFont) {
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            dlg.MoveToDefaultSize();
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, TABULON_SOURCE_DIR "/examples/sunspots.txt"));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "Data"));
            const platform::TextMetrics& caption = platform::MetricsFor(theData.captionFont);
            for (const int id : {data::kAddButton, data::kInsertButton, data::kModifyButton, data::kDeleteButton,
                                 data::kMakeAllInactiveButton, data::kDeleteAllButton, data::kShowSheetButton}) {
                const platform::Control button = theData.Control(id);
                SCOPED_TRACE(button.Text());
                EXPECT_LE(caption.Width(button.Text()) + 2, button.Bounds().Width());
            }
            const platform::TextMetrics& cells = platform::MetricsFor(theData.listFont);
            const platform::Control table = theData.Control(data::kSeriesList);
            int found = 0;
            for (int row = 0; row < table.Count(); ++row) {
                for (int c = 0; c < 3; ++c) {
                    const std::string name = table.ItemText(row, c);
                    if (name != "SUNACTIVITY" && name != "YEAR") continue;
                    ++found;
                    EXPECT_LE(data::kCellTextIndent + cells.Width(name), table.ColumnWidth(c)) << name;
                }
            }
            EXPECT_EQ(found, 2);
        },
        &dialogs);
}

// Pixels of `image` within `area` that are not `background`.
int InkPixels(const QImage& image, const QRect& area, QRgb background) {
    int ink = 0;
    for (int y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
        for (int x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x)
            ink += (image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
    return ink;
}

// The View page of three-dimensional data: its eye group's caption shows as much ink above
// the frame as the caption drawn alone has (it used to sit across the frame's top line with
// its lower part under the eye-x edit).
TEST(Captions, EyeGroupCaptionStandsWholeAboveItsFrame) {
    mainwin_test::ScratchFolder folder("eye_caption");
    const std::string file = folder / "plane.txt";
    user_path::WritePlaneRecords(file);
    platform::ScriptedDialogs dialogs;
    mainwin_steps::InWindow(
        [&](CTabulonDlg& dlg) {
            ASSERT_TRUE(user_path::ImportTextFile(dlg, dialogs, file));
            ASSERT_TRUE(user_path::ChooseTab(dlg, "View"));
            QWidget* page = theD3view.TopWidget();
            ASSERT_TRUE(page && page->isVisible());
            const QImage image = page->grab().toImage();
            const QRgb background = platform::ToQRgb(theD3view.backgroundBrush.color);
            const QString caption = "Coordinates (normalized) of eye:";
            const QFont font = platform::ToQFont(platform::Font::Make("Times", 14, platform::kWeightSemiBold));
            const QFontMetrics metrics(font);
            QImage alone(metrics.horizontalAdvance(caption) + 4, metrics.height() + 4, QImage::Format_RGB32);
            alone.fill(background);
            {
                QPainter p(&alone);
                p.setFont(font);
                p.setPen(QColor(0, 50, 0));
                p.drawText(2, 2 + metrics.ascent(), caption);
            }
            const int expected = InkPixels(alone, alone.rect(), background);
            const platform::Rect eye = theD3view.Control(d3view::kEyeXEdit).Bounds();
            // Above the frame's top line (pen 3 on eye.top - 4), over the caption's columns.
            const QRect above(QPoint(eye.left - 50 + 3, 0), QPoint(eye.left - 50 + 7 + alone.width(), eye.top - 7));
            EXPECT_NEAR(InkPixels(image, above, background), expected, expected / 10);
        },
        &dialogs);
}

}  // namespace
