#pragma once
// "Tables": the database import asks through it first for a table (or a typed SQL
// statement), then for the fields to read. One instance, theTables; its members outlive
// each use.
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "widgets/page_look.h"

class Tables : public platform::Dialog {
public:
    static constexpr int kTemplateId = 172;

    enum : int {
        kOkButton = platform::kOk,
        kNameList = 1311,
        kListLabel = 1312,
        kSqlLabel = 1313,
        kSqlEdit = 1314,
    };

    static constexpr platform::ColorRef kDialogBrush = 0x87FF00;
    static constexpr platform::ColorRef kFieldBack = 0x73FF46;
    static constexpr platform::ColorRef kTextColor = 0xC80000;

    static constexpr const char* kTableModeLabel = "Select one table that contains data to analyze:";
    static constexpr const char* kFieldModeLabel = "Select fields in dataset to analyse:";

    Tables();

    std::string caption;                  // "Database - " + databaseName
    std::string sqlText = "SELECT * FROM *";  // the edit box; emptied before each use
    std::string sqlLabel = "or place SQL statement:";
    std::string listLabel;                // the label above the list
    std::vector<std::string> names;       // shown in the list; after "OK" the selected ones
    std::string selectedName;             // after "OK": the last selected item, "" for none
    int showFields = 0;                   // 0 table mode, 1 field mode
    std::string databaseName;

    void FillList();
    void OnSelectTable();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnShowWindow(bool show) override;
    void OnOK() override { OnSelectTable(); }
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;  // 0: the dialog itself
    // The layer asks here for every control and the dialog (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }
};

extern Tables theTables;
