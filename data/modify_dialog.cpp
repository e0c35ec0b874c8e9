#include "data/modify_dialog.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTextBoundaryFinder>

#include "data/data_page.h"
#include "data/data_page_widgets.h"
#include "platform/control.h"
#include "platform/dialog_template.h"
#include "platform/dialogs.h"
#include "platform/exchange.h"
#include "platform/requests.h"
#include "widgets/page_look.h"

modify theModify;

const char* const modify::kActionTexts[modify::kActionCount] = {
    "delete >",  "delete <",  "delete in interval", "delete out of interval", "normalize",
    "sort down", "sort up",   "split into series (if one series in data only)",
};

namespace {

using platform::ControlKind;

constexpr unsigned kGroup = platform::kStyleGroup;
constexpr unsigned kOwnerDraw = platform::kStyleOwnerDraw;

platform::DialogTemplate ModifyTemplate() {
    platform::DialogTemplate t;
    t.id = modify::kTemplateId;
    t.caption = "Modify the parameter";
    t.cx = 300;
    t.cy = 150;
    auto& c = t.controls;
    c.push_back({modify::kParameterLabel, ControlKind::Static, "Parameter to modify:", 8, 8, 76, 10});
    c.push_back({modify::kParameterText, ControlKind::Static, "", 86, 8, 206, 10});
    c.push_back({modify::kFormulaRadio, ControlKind::RadioButton, "By formula:", 8, 24, 58, 10, kGroup});
    c.push_back({modify::kFormulaEdit, ControlKind::Edit, "", 68, 22, 224, 13});
    c.push_back({modify::kHelpText, ControlKind::Static, "", 68, 38, 224, 42});
    c.push_back({modify::kActionRadio, ControlKind::RadioButton, "Do:", 8, 86, 58, 10});
    c.push_back({modify::kActionList, ControlKind::ComboBox, "", 68, 84, 110, 100, kGroup});
    c.push_back({modify::kFromEdit, ControlKind::Edit, "", 182, 84, 48, 13});
    c.push_back({modify::kToLabel, ControlKind::Static, "to", 234, 86, 10, 10, platform::kStyleCenter});
    c.push_back({modify::kToEdit, ControlKind::Edit, "", 246, 84, 46, 13});
    c.push_back({modify::kCurrentSeriesCheck, ControlKind::CheckBox, "for current series only", 68, 104, 120, 10});
    c.push_back({modify::kModifyButton, ControlKind::Button, "Modify", 68, 124, 60, 16,
                 kOwnerDraw | platform::kStyleDefault});
    c.push_back({modify::kCancelButton, ControlKind::Button, "Cancel", 134, 124, 60, 16, kOwnerDraw});
    c.push_back({modify::kUndoButton, ControlKind::Button, "Undo", 232, 124, 60, 16});
    return t;
}

const platform::DialogTemplateRegistration registration(ModifyTemplate());

// trunc(v) as a part count; values beyond the int range (or not a number) ask for no split.
int PartCount(double v) {
    if (!(std::fabs(v) < 2147483647.0)) return 0;
    return static_cast<int>(std::trunc(v));
}

// `text` with a zero-width break opportunity between the characters of every word wider than
// `width`: a wrapping label breaks such a word where its line ends instead of running past
// its edge, and measures it the same way; words that fit still wrap at their spaces.
QString BreakableWords(const QString& text, const QFontMetrics& metrics, int width) {
    QString out;
    for (qsizetype i = 0; i < text.size();) {
        const bool space = text[i].isSpace();
        qsizetype j = i;
        while (j < text.size() && text[j].isSpace() == space) ++j;
        const QString run = text.mid(i, j - i);
        i = j;
        if (space || metrics.horizontalAdvance(run) <= width) {
            out += run;
            continue;
        }
        QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, run);
        qsizetype from = 0;
        for (qsizetype to = characters.toNextBoundary(); to > from; to = characters.toNextBoundary()) {
            if (from > 0) out += QChar(0x200B);
            out += run.mid(from, to - from);
            from = to;
        }
    }
    return out;
}

}  // namespace

modify::modify() : Dialog(kTemplateId) {
    RouteCommand(kFormulaRadio, &modify::OnByFormula);
    RouteCommand(kActionRadio, &modify::OnDoAction);
    RouteCommand(kUndoButton, &modify::OnUndo);
    RouteCommand(kCurrentSeriesCheck, &modify::OnCurrentSeriesOnly);
    Route(kActionList, platform::Notification::SelChange, &modify::OnCloseUpAction);
    Route(kFormulaEdit, platform::Notification::EditSetFocus, &modify::OnSetFocusFormula);
    Route(kFromEdit, platform::Notification::EditSetFocus, &modify::OnSetFocusRange);
    Route(kToEdit, platform::Notification::EditSetFocus, &modify::OnSetFocusRange);
}

bool modify::ActionsAvailable() const {
    return operations.deleteByCondition && operations.scaleToRange && operations.sortRecords &&
           operations.splitSeries;
}

bool modify::OnInitDialog() {
    SetDefaultButton(kModifyButton);
    ApplyColors();
    proceed = 0;
    undoRequested = 0;
    platform::Control list = Control(kActionList);
    list.ResetContent();
    for (const char* text : kActionTexts) list.AddString(text);
    formulaEnabled = 1;
    actionEnabled = 0;
    Control(kActionRadio).Enable(ActionsAvailable());
    UpdateData(false);
    FitTexts();
    EnableByMode();
    Control(kUndoButton).Enable(undoAvailable == 1);
    Invalidate();
    return true;
}

void modify::DoDataExchange(platform::Exchange& dx) {
    dx.Text(kParameterText, parameterText);
    dx.Check(kFormulaRadio, formulaEnabled);
    dx.Text(kFormulaEdit, formula);
    dx.Text(kHelpText, helpText);
    dx.Check(kActionRadio, actionEnabled);
    dx.ComboIndex(kActionList, action);
    dx.Double(kFromEdit, fromValue);
    dx.Double(kToEdit, toValue);
    dx.Check(kCurrentSeriesCheck, currentSeriesOnly);
    // Only the labels get the break opportunities; the members, read back from the
    // controls' own texts, keep the names as they are.
    if (!dx.Saving()) {
        for (int id : {kParameterText, kHelpText}) {
            if (auto* label = qobject_cast<QLabel*>(Control(id).Widget()))
                label->setText(BreakableWords(label->text(), QFontMetrics(label->font()), label->contentsRect().width()));
        }
    }
}

// The parameter line and the help text hold the names of the parameter and its series (the
// help text those of every parameter of the series too), so the lines they take follow those
// names and the font they are painted in. What they need beyond the table's room moves the
// controls under them down and makes the dialog taller, as far as the screen allows; short
// names leave the dialog as its table lays it out.
void modify::FitTexts() {
    const platform::Rect window = WindowRect();
    int spare = INT_MAX;
    if (const QScreen* screen = ClientWidget() ? ClientWidget()->screen() : nullptr)
        spare = screen->availableGeometry().height() - window.Height();
    int grown = 0;
    for (int id : {kParameterText, kHelpText}) grown += GrowToText(id, spare - grown);
    if (grown <= 0) return;
    Move(window.left, window.top, window.Width(), window.Height() + grown);
    CenterWindow();
}

// Makes the label `id` as tall as its text wrapped at its width, by at most `limit` pixels,
// moving every control that starts below it down as far; returns the pixels it grew.
int modify::GrowToText(int id, int limit) {
    auto* label = qobject_cast<QLabel*>(Control(id).Widget());
    if (!label) return 0;
    const QRect room = label->contentsRect();
    const QRect need = QFontMetrics(label->font())
                           .boundingRect(QRect(0, 0, room.width(), 1 << 20), Qt::TextWordWrap | label->alignment(),
                                         label->text());
    const int grow = std::min(need.height() - room.height(), limit);
    if (grow <= 0) return 0;
    const platform::Rect box = Control(id).Bounds();
    if (const platform::DialogTemplate* t = platform::FindDialogTemplate(kTemplateId)) {
        for (const platform::ControlTemplate& c : t->controls) {
            platform::Control other = Control(c.id);
            const platform::Rect r = other.Bounds();
            if (c.id != id && r.top >= box.bottom) other.Move(r.left, r.top + grow, r.Width(), r.Height());
        }
    }
    Control(id).Move(box.left, box.top, box.Width(), box.Height() + grow);
    return grow;
}

void modify::OnByFormula() {
    formulaEnabled = 1;
    actionEnabled = 0;
    EnableByMode();
    UpdateData(false);
}

void modify::OnDoAction() {
    formulaEnabled = 0;
    actionEnabled = 1;
    EnableByMode();
    UpdateData(false);
}

void modify::EnableByMode() {
    const bool byFormula = formulaEnabled != 0;
    Control(kFormulaEdit).Enable(byFormula);
    Control(kHelpText).Enable(byFormula);
    Control(kActionList).Enable(!byFormula);
    ShowValueBoxes();
}

void modify::ShowValueBoxes() {
    const bool sorting = action == kSortDown || action == kSortUp;
    const bool oneValue = action == kDeleteAbove || action == kDeleteBelow || action == kSplit;
    Control(kFromEdit).Show(!sorting);
    for (int id : {kToLabel, kToEdit}) Control(id).Show(!sorting && !oneValue);
    const bool enable = !sorting && actionEnabled != 0;
    for (int id : {kFromEdit, kToLabel, kToEdit}) Control(id).Enable(enable);
}

void modify::OnCloseUpAction() {
    UpdateData(true);
    ShowValueBoxes();
}

void modify::OnSetFocusFormula() { focusBox = 1; }

void modify::OnSetFocusRange() { focusBox = 2; }

void modify::OnCurrentSeriesOnly() { UpdateData(true); }

void modify::OnModify() {
    if (!UpdateData(true)) return;
    undoAvailable = 0;
    proceed = 1;
    EndDialog(platform::kOk);
}

void modify::OnUndo() {
    if (!UpdateData(true)) return;
    proceed = 1;
    undoRequested = 1;
    EndDialog(platform::kOk);
}

void modify::OnCancel() {
    proceed = 0;
    EndDialog(platform::kCancel);
}

bool modify::OnDrawItem(platform::DrawItem& item) {
    return DrawActionAndCancelButtons(item, kModifyButton, kEditBack, kTextColor, kCancelButton);
}

void modify::OnPaint() { FillPageBackground(*this, kDialogBrush); }

void modify::ApplyColors() {
    for (int id : {kParameterLabel, kParameterText, kFormulaRadio, kHelpText, kActionRadio, kActionList, kToLabel,
                   kCurrentSeriesCheck})
        SetControlColors(Control(id), kTextColor, kDialogBrush);
    for (int id : {kFormulaEdit, kFromEdit, kToEdit}) SetControlColors(Control(id), kTextColor, kEditBack);
}

namespace {

// Returns false when the action was refused and the command ends without its tail.
bool RunAction(data& page, modify& m, int p) {
    const modify::RecordOperations& ops = m.operations;
    switch (m.action) {
        case modify::kDeleteAbove:
        case modify::kDeleteBelow:
        case modify::kDeleteInside:
        case modify::kDeleteOutside:
            ops.deleteByCondition(p, m.action, m.fromValue, m.toValue);
            break;
        case modify::kNormalize:
            if (m.currentSeriesOnly) {
                ops.scaleToRange(p, m.fromValue, m.toValue);
            } else if (!page.series.empty()) {
                const int n = page.series[0].nParameters;
                for (int k = 0; k < static_cast<int>(page.series.size()); ++k)
                    ops.scaleToRange(n * k + p % n, m.fromValue, m.toValue);
            }
            break;
        // The sorts go the way their captions say; the split follows an ascending sort.
        case modify::kSortDown:
            ops.sortRecords(p, 0);
            break;
        case modify::kSortUp:
            ops.sortRecords(p, 1);
            break;
        case modify::kSplit:
            if (page.series.size() != 1) {
                platform::MessageBox(
                    "An operation of splitting into series is availiable\n only if there are only one series in data set");
                return false;
            }
            ops.sortRecords(p, 1);
            ops.splitSeries(p, PartCount(m.fromValue));
            break;
        default:
            break;
    }
    return true;
}

}  // namespace

void ModifyParameterCommand(data& page) {
    const int p = page.selectedParameter;
    const int s = page.SeriesOfParameter(p);
    if (s < 0) return;  // nothing selected: the command has nothing to act on
    modify& m = theModify;
    page.modifySeriesIndex = s;

    const std::size_t ps = static_cast<std::size_t>(p);
    const std::size_t ss = static_cast<std::size_t>(s);
    m.parameterText = "'" + (ps < page.parameterNames.size() ? page.parameterNames[ps] : std::string()) + "' from '" +
                      (ss < page.seriesNames.size() ? page.seriesNames[ss] : std::string()) + "' series";
    std::string names;
    const Series& owner = page.series[ss];
    for (int j = 0; j < owner.nParameters; ++j) {
        const std::size_t k = static_cast<std::size_t>(owner.firstParameter + j);
        if (j > 0) names += ", ";
        if (k < page.parameterNames.size()) names += page.parameterNames[k];
    }
    m.helpText = "A formula for modification of the " + m.parameterText +
                 " can contain basic arithmetic operations and names of parameters for selected data series:'" + names +
                 "' and 'N' for index value; in square brackets can be integer for index shift of the parameter";
    // The copy goes with any other change of the store.
    if (!page.HasUndoCopy()) m.undoAvailable = 0;

    const int result = m.RunModal();
    if (result != platform::kOk || !m.proceed) return;

    if (m.undoRequested) {
        page.RestoreUndoCopy();
        page.dataModified = 1;
        page.RefreshSeriesList(1);
        platform::PostRepaintRequest();
        return;
    }

    page.SaveUndoCopy();
    m.undoAvailable = 1;
    page.modifyCurrentSeriesOnly = m.currentSeriesOnly;
    bool done = true;
    if (m.formulaEnabled) {
        page.ModifyParameterByFormula(m.formula, p);
    } else if (m.ActionsAvailable()) {
        done = RunAction(page, m, p);
    }
    page.CloseUndoStep();
    if (!done) return;

    page.dataModified = 1;
    page.RefreshSeriesList(1);
    platform::PostRepaintRequest();
    page.saveUndoRequest = 0;
}
