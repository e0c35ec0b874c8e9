#pragma once
// Cutting a line into fields at any of a set of separator characters.
#include <string>
#include <vector>

// Empties `fields`, then appends every non-empty run of characters between separators, so runs
// of separators give no empty field and separators at either end are dropped. Fields are not
// trimmed otherwise. An empty separator set gives no field at all. Returns the field count.
int SplitFields(const std::string& text, const std::string& separators, std::vector<std::string>& fields);
