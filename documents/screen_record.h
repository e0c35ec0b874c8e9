#pragma once
// The text record that goes beside a saved picture of the chart: where it is written and the
// lines of one save.
#include <string>

#include "platform/system.h"

// The record beside a picture: the picture's path with the extension of its file name
// replaced by ".txt", or ".txt" added when the name has none. Folders keep their names.
std::string PictureRecordPath(const std::string& picturePath);

// The block one save appends: two lines of 109 underscores, the time line (month, day, year,
// hour, minute) and a line of 110 underscores.
std::string PictureRecordBlock(const platform::LocalTime& t);

// Appends the block to the record (retrying while another program holds it); false when it
// could not be opened.
bool AppendPictureRecord(const std::string& recordPath, const platform::LocalTime& t);
