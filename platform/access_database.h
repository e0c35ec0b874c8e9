#pragma once
// Reading Access database files (.mdb of Jet 3 and Jet 4, .accdb) over mdbtools:
// the user tables, and the rows of one table or of a simple SELECT statement, one
// result set at a time. The file is only read, never written.
//
//   AccessDatabase db;
//   if (!db.Open(path)) report(db.Error());
//   db.Execute("SELECT * FROM " + db.TableNames()[0]);
//   long total = db.RecordCount();
//   std::vector<AccessValue> row;
//   while (db.NextRow(row)) ...
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/access_values.h"

namespace platform {

struct AccessField {
    std::string name;
    AccessFieldType type = AccessFieldType::Unknown;
};

class AccessDatabase {
public:
    AccessDatabase();
    ~AccessDatabase();
    AccessDatabase(const AccessDatabase&) = delete;
    AccessDatabase& operator=(const AccessDatabase&) = delete;

    // Opens the file (closing any database open before); false with Error() on failure.
    bool Open(const std::string& path);
    void Close();
    const std::string& Path() const;
    // The last failure's text, "" after a success.
    const std::string& Error() const;

    // User tables in catalog order; system tables ("MSys...") are left out.
    const std::vector<std::string>& TableNames() const;

    // Opens a result set (closing the previous one): "SELECT * FROM name" with the name
    // plain or in brackets, or a simple statement
    //   SELECT [TOP n] * | field, ... | COUNT(*) FROM table [WHERE condition] [LIMIT n]
    // where a condition combines comparisons (=, <>, <, >, <=, >=, LIKE, IS [NOT] NULL)
    // of a field with a number or a 'text' by AND, OR and NOT (no brackets). Anything
    // else fails with Error() saying so; rows are never returned for a statement that
    // was not understood.
    bool Execute(const std::string& statement);
    bool IsResultOpen() const;

    int FieldCount() const;
    const std::vector<AccessField>& Fields() const;

    // The next row of the result set, one value per field; false at the end.
    bool NextRow(std::vector<AccessValue>& row);
    // The number of rows of the result set (one counting pass on first use). The next
    // NextRow starts again at the first row. counted, when given, hears of every row counted.
    long RecordCount(const std::function<void(long)>& counted = {});
    // The rows the table holds as its header says, without a counting pass: the result
    // set's size for a whole table, at most that with conditions (1 for COUNT(*)).
    long StoredRowCount() const;
    // Called for every row fetched, matching or not, with the count so far (a long search
    // for matching rows can show it is alive).
    void SetFetchTick(std::function<void(long)> tick);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
