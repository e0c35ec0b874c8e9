#pragma once
// The data store: every loaded data series in memory, as parallel arrays.
//
// A series is a table of records, each holding one double per parameter. All series
// have the same parameters per record and a column's role (argument, value or
// inactive) is the same in every series. The value of record r of column p of
// series s is allValues[firstValue(s) + r*nParameters(s) + p].
//
// The Data page derives from this class, so its members are reached as the page's
// own. Where the store needs the page or other pages (refreshing the series table,
// progress, message boxes, the re-read timer, repaint requests) it calls the virtual
// hooks below, which do nothing here and which the page overrides.
//
// Every change of the store raises the change count. A long pass that lets other
// handlers run (through SetProgress) compares the count before and after and
// abandons its work when the store changed meanwhile. Code that writes the arrays
// directly calls NoteStoreChanged() afterwards.
#include <cstdint>
#include <string>
#include <vector>

#include "data/record_text.h"
#include "data/series.h"

class DataStore : public RecordText {
public:
    DataStore();
    virtual ~DataStore() = default;
    DataStore(const DataStore&) = default;
    DataStore& operator=(const DataStore&) = default;
    DataStore(DataStore&&) = default;
    DataStore& operator=(DataStore&&) = default;

    // ---- The store -------------------------------------------------------------
    std::vector<double> allValues;            // every value of every series, series after series
    std::vector<Series> series;               // one record per series, in display order
    std::vector<std::string> seriesNames;     // parallel to series
    std::vector<Initial> parameters;          // one record per parameter of every series
    std::vector<std::string> parameterNames;  // parallel to parameters
    std::vector<std::string> parameterTexts;  // parallel to parameters; the data sheet's entry row
    std::int32_t parametersPerSeries = 0;     // 0 when empty
    std::int32_t activeParameter = 0;         // column the role commands act on
    std::int32_t selectedParameter = -1;      // global parameter index chosen in the table, -1 none
    std::int32_t selectedSeries = -1;         // -1 none
    std::int32_t selectedRow = -1;            // table row holding the selection mark, -1 none
    Series pendingSeries;                     // shape of the series being added / last read
    std::int32_t argumentCount = 0;           // arguments of the first series when it was added
    std::vector<std::uint32_t> markColors;    // palette of distinct mark colours (COLORREF)
    std::int32_t markColorCount = 0;          // palette entries used in the colour modulo
    std::int32_t dataModified = 0;            // raised by changes, cleared by the main window
    std::int32_t dataPageChanged = 0;         // the Data page's changed flag

    // The undo copy: one earlier state of every array and count above that it needs
    // to be whole again. Filled by SaveUndoCopy, read back by RestoreUndoCopy.
    std::vector<double> undoValues;
    std::vector<Series> undoSeries;
    std::vector<Initial> undoParameters;
    std::vector<std::string> undoSeriesNames;
    std::vector<std::string> undoParameterNames;
    std::vector<std::string> undoParameterTexts;
    std::int32_t undoParametersPerSeries = 0;
    std::int32_t undoActiveParameter = 0;
    std::int32_t undoArgumentCount = 0;

    // The 11 palette colours; markColorCount = 11. Done by the constructor.
    void FillMarkPalette();
    // markColors[c mod markColorCount] (0 for an empty palette).
    std::uint32_t PaletteColor(long long c) const;

    // ---- Change tracking --------------------------------------------------------
    std::uint64_t ChangeCount() const { return changeCount_; }
    // Counts a change made outside the store's operations (a cell edit, a formula
    // over a parameter, a document read). Drops the undo copy unless an undoable
    // step is open.
    void NoteStoreChanged();

    // ---- Reading ---------------------------------------------------------------
    // Copies column p of series s into out (nRecords values) and returns 1. Returns 0
    // and leaves out untouched when s or p is out of range, or when the store changed
    // while progress was reported (15000 records and more). Leaves series s's record
    // in pendingSeries when s is valid.
    int GetParameterValues(int s, int p, std::vector<double>& out);
    // Series owning a global parameter index, or -1.
    int SeriesOfParameter(int globalIndex) const;
    // First global index whose name equals name without regard to case, or -1.
    int IndexOfParameterName(const std::string& name) const;
    // Minimum, maximum and record 0's value of a parameter; 0 when no series owns the
    // index or the series has no record.
    int ParameterRange(int globalIndex, double& minimum, double& maximum, double& first) const;

    // ---- Adding ----------------------------------------------------------------
    // Before an import appends values: with no series, empties the store (OnDeleteAll)
    // and makes out a shape of n parameters; with series, out becomes series 0's
    // record when n matches, else the refusal message is shown and 0 returned.
    // n below 1 is refused without a message.
    int CheckNewSeriesShape(int n, Series& out);
    // Appends the series described by pendingSeries whose n*recordCount values the
    // importer has appended to allValues. Returns 1, or 0 when the shape does not
    // match series 0 or the values appended are not exactly n*recordCount (the
    // appended values are then removed again).
    int AddNewSeries(int recordCount, const std::vector<std::string>& names);

    // ---- Removing --------------------------------------------------------------
    // Removes count values (whole records of series s) from allValues at index and
    // lowers nRecords(s). Returns 0, changing nothing, unless the values are whole
    // records inside series s.
    int RemoveRecordValues(int s, int index, int count);
    // Removes series s whole: its values, its record, its name and its parameter
    // block; later series shift down. When none is left the store is emptied as
    // "Delete all" does. Returns 0 for an s out of range.
    int RemoveSeries(int s);
    // The "Delete" button: the selected parameter column in every series, or the
    // selected series.
    void OnDeleteParameter();
    // The "Delete all" button: empties the store.
    void OnDeleteAll();
    // Re-packs allValues so that series follow one another without gaps (after a
    // document was read). Returns 0, changing nothing, when a series' values lie
    // outside allValues or overlap the series before.
    int CompactValues();

    // ---- Roles and marks -------------------------------------------------------
    // Column activeParameter becomes argument / value / inactive in every series;
    // every series' argument and value counts follow.
    void MakeActiveParameterArgument();
    void MakeActiveParameterValue();
    void MakeActiveParameterInactive();
    // "Make all inactive": every parameter inactive, counts 0, dataModified set.
    void OnMakeAllInactive();
    // Every value parameter drawn as a line in palette colour 0.
    void ShowValuesAsLines();

    // ---- Values ----------------------------------------------------------------
    // x -> (x - b)*c + a for every value of the parameter; 0 when no series owns it
    // or the series has no record.
    int RescaleParameter(int globalIndex, double a, double b, double c);
    // Maps the parameter's range linearly onto [low, high] when |high - low| > 1e-40;
    // a parameter with no spread is left unchanged. Returns 1 when values changed.
    int NormalizeParameter(int globalIndex, double low, double high);
    // Divides the parameter by its first value; refuses a first value below 1e-40 in
    // magnitude with "The procedure cannot be complete".
    int NormalizeParameterByFirst(int globalIndex);

    // Record operations over allValues with stride n and absolute record numbers.
    // Each returns 0, changing nothing, when a record lies outside allValues.
    int GetRecord(int n, int k, std::vector<double>& out) const;
    int PutRecord(int n, int k, const std::vector<double>& record);
    int CopyRecord(int n, int from, int to);
    // Stable sort of records first..last by the value at column parameter of each
    // record, in O(R log R); NaN keys go after every number in either direction.
    int SortRecordsAscending(int parameter, int n, std::vector<double>& scratch, int first, int last);
    int SortRecordsDescending(int parameter, int n, std::vector<double>& scratch, int first, int last);

    // ---- Undo --------------------------------------------------------------------
    // Takes the undo copy and opens an undoable step: changes through the value and
    // record operations (and NoteStoreChanged) keep the copy until CloseUndoStep.
    // After that, and at once for adding, deleting, role changes and "Delete all",
    // any change drops the copy.
    void SaveUndoCopy();
    void CloseUndoStep();
    bool HasUndoCopy() const { return undoAvailable_; }
    // Puts the undo copy back (it stays for a second undo). Returns 0 without a copy.
    int RestoreUndoCopy();

    // ---- Formulas over records (record_formulas.cpp) ------------------------------
    std::int32_t modifyCurrentSeriesOnly = 0;     // 1: the commands below change series modifySeriesIndex only
    std::int32_t modifySeriesIndex = 0;
    std::vector<std::string> formulaNames;        // names a formula at a record sees: parameters, then coefficients
    std::vector<std::string> formulaValueTexts;   // parallel: the text that replaces each name
    std::int32_t formulaNameCount = 0;            // entries of formulaNames in use

    // Computes the formula at every record of every series (or of modifySeriesIndex only)
    // into the column of global parameter index p, then drops the records at either end
    // whose shifted neighbours (name[k]) do not exist. The formula names the parameters of
    // the series owning p, N the record number. Every value is computed before any is
    // written, so the formula sees the old column. Returns 1; 0 with nothing changed when
    // no series owns p, when the shifts would drop every record of a series, or when the
    // formula fails at every record (the evaluator's message is shown then).
    int ModifyParameterByFormula(const std::string& formula, int p);
    // The formula with formulaNames replaced in list order: the first parametersPerSeries
    // value texts are record r of allValues (stride parametersPerSeries), or v, written
    // "%g". A failed evaluation, a record outside allValues or a v that is too short gives 0.
    double EvaluateFormulaAtRecord(const std::string& formula, int r);
    double EvaluateFormulaAtValues(const std::string& formula, const std::vector<double>& v);
    // EvaluateFormulaAtRecord at records 0 .. count-1 into out, NaN where it failed (0 beyond
    // allValues); the value texts and the evaluator's error are left as the last record leaves them.
    void EvaluateFormulaAtRecords(const std::string& formula, int count, std::vector<double>& out);

    // ---- Hooks (overridden by the Data page) -----------------------------------
    virtual void RefreshSeriesList(int /*restoreScroll*/) {}
    virtual void SetProgress(int /*kind*/, const std::string& /*text*/, int /*current*/, int /*total*/) {}
    virtual void UpdateButtonStates() {}
    virtual void RedrawDataPage() {}
    virtual void ApplyPendingRename() {}
    virtual void StopSyncTimer() {}
    virtual void HideDataSheet() {}
    virtual void ClearProgressState() {}
    // Resets the analysis choices that depend on the data (after "Delete all").
    virtual void ResetDependentChoices() {}
    // Another page drops what it holds about a removed global parameter index.
    virtual void DropParameterConditions(int /*globalIndex*/) {}
    virtual void MarkSceneForRebuild() {}
    virtual void RequestRepaint() {}
    // A message box with the application's caption and an OK button.
    virtual void ShowStoreMessage(const std::string& /*text*/) {}

private:
    void DropUndoCopy();
    // A change that no undoable step may span.
    void NoteStructureChanged();
    bool RowIsSeriesRow(int row) const;
    bool DeleteColumn(int column);
    void RecountRoles();
    void SetColumnRole(int column, std::int32_t role);
    long long StoredValueCount() const;
    bool ValuesInside(const Series& x) const;
    int SortRecords(int parameter, int n, std::vector<double>& scratch, int first, int last, bool ascending);

    std::uint64_t changeCount_ = 0;
    bool undoAvailable_ = false;
    bool undoStepOpen_ = false;
};

// "" when the store keeps its invariants, else a description of the first breach:
// parallel arrays of equal size, series contiguous in allValues and in the parameter
// arrays, equal parameter counts, one role per column, counts matching the roles.
std::string CheckStoreInvariants(const DataStore& store);
