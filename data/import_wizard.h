#pragma once
// "Import data": the data page's "Add" leads here to every source of a new series (an
// Access file, the clipboard, a chart picture, a text file) or to an empty series of typed
// parameter names. One instance, theImportData; the last choice is offered again.
#include <cstdint>
#include <string>

#include "platform/dialog.h"
#include "widgets/page_look.h"

class data;

class ImportData : public platform::Dialog {
public:
    static constexpr int kTemplateId = 233;

    enum : int {
        kSourceGroup = 1521,
        kAccessRadio = 1522,
        kClipboardRadio = 1523,
        kImageRadio = 1524,
        kTextFileRadio = 1525,
        kEmptySeriesRadio = 1526,
        kNamesLabel = 1527,
        kNamesEdit = 1528,
        kSeparatorsLabel = 1529,
        kNextButton = 1530,
        kCancelButton = platform::kCancel,
    };

    // Sources in the order of the radio group.
    enum Source : int { kAccessFile = 0, kClipboard = 1, kImage = 2, kTextFile = 3, kEmptySeries = 4 };

    static constexpr platform::ColorRef kDialogBrush = 0x96F096;
    static constexpr platform::ColorRef kTextColor = 0xC80000;
    static constexpr platform::ColorRef kFieldBack = 0x73FF46;

    ImportData();

    std::int32_t proceed = 0;  // 1 when ended by "Next -->"
    std::int32_t source = kClipboard;
    std::string newNames;      // names of an empty series

    void OnSourceAccessFile();
    void OnSourceClipboard();
    void OnSourceImage();
    void OnSourceTextFile();
    void OnSourceEmptySeries();
    void OnNext();
    void OnCancelImport();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnOK() override { OnNext(); }
    void OnCancel() override { OnCancelImport(); }
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the dialog (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }

private:
    void ChooseSource(int chosen);
};

extern ImportData theImportData;

// The data page's "Add": the whole command.
void RunImportWizard(data& page);
// Adds a series without records named by the text (names cut at ',', ';' and ' ').
// Returns 1 when added; refusals are shown.
int AddEmptySeries(data& page, const std::string& namesText);
