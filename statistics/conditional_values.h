#pragma once
// The records of a stored series that pass the distribution page's condition list.
#include <vector>

#include "statistics/conditions.h"

class DataStore;

// Values of parameter p (within the series) of series s in the records that pass the list, in
// record order; empty for a series or parameter outside the store.
void GetConditionalValues(const DataStore& store, int s, int p, const std::vector<conditions>& list,
                          std::vector<double>& out);
// Smallest and largest of those values; 0 when there is none or they span less than 1e-50.
int ConditionalRange(const DataStore& store, int s, int p, const std::vector<conditions>& list, double& minimum,
                     double& maximum);
