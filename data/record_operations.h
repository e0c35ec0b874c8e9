#pragma once
// Operations on whole records and whole series of the data store, and the commands of
// the main menu that rewrite every parameter's display record, name or values. They
// change the store only; the caller refreshes the tables, marks the data modified and
// asks for a repaint.
#include <string>

#include "data/data_store.h"

// 1 when v meets the condition: mode 0 v > a, 1 v < a, 2 a < v < b, 3 v < a or v > b;
// any other mode never does.
int ConditionTest(double v, int mode, double a, double b);

// Series holding global parameter index p: writes it to seriesOut, leaves its record in
// pendingSeries and returns p's column; -1 (seriesOut unchanged) when none does.
int FindSeriesOfParameter(DataStore& store, int p, int& seriesOut);

// allValues[row * stride + column]; an index outside allValues throws std::out_of_range.
double ValueAt(const DataStore& store, int column, int row, int stride);

// After the caller removed or inserted delta records' values of series s in allValues:
// series s takes its new record count and later series move. A series left without a
// record is removed whole (its parameters and name too); the last one empties the store.
// Returns 0 for an s outside the series.
int ResizeSeriesRecords(DataStore& store, int s, int delta);

// Stable sort of whole records by column p mod nParameters, of every series or, with
// modifyCurrentSeriesOnly, of series modifySeriesIndex only. NaN keys go after every
// number in either direction, keeping their order.
void SortSeriesRecords(DataStore& store, int p, int ascending);

// Deletes the records whose value in column p mod nParameters(current series) meets
// ConditionTest, in every series or, with modifyCurrentSeriesOnly, in series
// modifySeriesIndex only. Nothing happens for a currentSeries outside the series; when no
// record would remain the refusal is shown and nothing changes. Returns 1 when it ran.
int DeleteRecordsByCondition(DataStore& store, int currentSeries, int p, int mode, double a, double b);

// Maps parameter p's values in its series linearly from [minimum, maximum] onto
// [low, high]; a parameter without spread is left alone. Returns 1 when values changed.
int ScaleParameterToRange(DataStore& store, int p, double low, double high);

// Splits the only series into k consecutive series (the last takes the rest). Refuses
// parts of fewer than 5 records with a message. Returns 1 when split.
int SplitSeries(DataStore& store, int p, int k);

// Every series' records become records of series 0, in stored order. Returns 1 when
// there were two or more series.
int UniteAllSeries(DataStore& store);

// ---- Display records and names of all parameters --------------------------------------
// Every value parameter with ordinal n: colour = palette[n], shape 15 (lines) or n mod 14.
void DistinctColorLines(DataStore& store);
void DistinctColorMarks(DataStore& store);
// Every value parameter takes the mark shape.
void SetValueMarkShape(DataStore& store, int shape);
// Every value parameter's mark size changes by delta, without bound.
void ChangeValueMarkSize(DataStore& store, int delta);
// Every value parameter takes the size of the selected parameter when that is a value.
// Returns 1 when it applied.
int MarksSameSize(DataStore& store);
// Parameter i takes the name of column i mod n of series 0, with "_<series number>"
// added when withOrder is 1. Returns 1 when there was a series.
int CopyNamesOfAllSeries(DataStore& store, int withOrder);
// Parameter i takes palette colour i (when shapeSeries >= 1 and there is a parameter).
void AssignPaletteColors(DataStore& store, int shapeSeries);
// Every parameter a value (shape 0, automatic size); returns 1 when applied (shapeSeries
// >= 1 and at least two parameters per series).
int PrepareAllParametersAsValues(DataStore& store, int shapeSeries);
// Column p mod n becomes the only value (shape 0, automatic size) and every other column
// an argument, in every series. Returns 1 when applied (shapeSeries >= 1 and at least 4
// parameters per series).
int SetSingleValueColumn(DataStore& store, int p, int shapeSeries);
// The three parameters of an image series added last become values with the colours of
// the mode (0 RGB, 1 HSV). Returns 1 when there are exactly three parameters per series.
int ColorImageParameters(DataStore& store, int mode);
