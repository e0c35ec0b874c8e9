#include "platform/access_database.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

// mdbtools' headers include glib inside their extern "C" block, which C++ glib refuses.
#include <glib.h>
#include <mdbsql.h>

#include "platform/access_condition.h"
#include "platform/access_statement.h"

namespace platform {

namespace {

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareTextNoCase(a, b) == 0;
}

bool IsSystemName(const char* name) { return g_ascii_strncasecmp(name, "MSys", 4) == 0; }

AccessCondition::Op OpFromSarg(int op, bool& known) {
    known = true;
    switch (op) {
        case MDB_EQUAL: return AccessCondition::Op::Equal;
        case MDB_NEQ: return AccessCondition::Op::NotEqual;
        case MDB_LT: return AccessCondition::Op::Less;
        case MDB_GT: return AccessCondition::Op::Greater;
        case MDB_LTEQ: return AccessCondition::Op::LessEqual;
        case MDB_GTEQ: return AccessCondition::Op::GreaterEqual;
        case MDB_LIKE: case MDB_ILIKE: return AccessCondition::Op::Like;
        default: known = false; return AccessCondition::Op::Equal;
    }
}

// Bytes a fixed-size value of this type takes in the row.
int FixedSize(int colType) {
    switch (colType) {
        case MDB_BYTE: return 1;
        case MDB_INT: return 2;
        case MDB_LONGINT: case MDB_FLOAT: return 4;
        case MDB_MONEY: case MDB_DOUBLE: case MDB_DATETIME: return 8;
        case MDB_NUMERIC: return 17;
        default: return 0;
    }
}

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

struct AccessDatabase::Impl {
    MdbHandle* mdb = nullptr;
    std::string path;
    std::string error;
    // Table names as stored (UTF-8).
    std::vector<std::string> userTables;
    std::vector<std::string> allTables;  // system tables too: a typed statement may read them

    // The open result set: a table read whole, or a statement run by libmdbsql.
    MdbSQL* sql = nullptr;
    MdbTableDef* ownTable = nullptr;
    MdbTableDef* table = nullptr;
    std::vector<MdbColumn*> columns;  // one per field
    std::vector<AccessField> fields;
    std::unique_ptr<AccessCondition> condition;
    bool countResult = false;  // COUNT(*): libmdbsql gives the count as text
    long limit = -1;
    long delivered = 0;
    long count = -1;
    std::function<void(long)> fetchTick;
    long fetched = 0;
    std::vector<AccessValue> conditionValues;  // by table column, decoded on demand per row
    std::vector<char> conditionDecoded;

    bool Fail(std::string text) {
        error = std::move(text);
        return false;
    }
    void CloseResult();
    void Rewind();
    bool ReadCatalog();
    bool OpenWholeTable(size_t index);
    bool RunStatement(const std::string& statement);
    std::string MissingField(const std::string& tableName, const std::vector<std::string>& names);
    bool TakeCondition();
    bool BuildCondition(MdbSargNode* root, std::unique_ptr<AccessCondition>& result);
    bool BuildNode(MdbSargNode* node, std::unique_ptr<AccessCondition>& out);
    int ColumnIndex(const MdbColumn* column) const;
    void FillFields();
    AccessValue Decode(const MdbColumn* column) const;
    bool FetchMatchingRow();
};

bool AccessDatabase::Impl::ReadCatalog() {
    userTables.clear();
    allTables.clear();
    if (!mdb_read_catalog(mdb, MDB_TABLE)) return false;
    for (unsigned int i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE) continue;
        allTables.push_back(std::string(entry->object_name));
        if (mdb_is_user_table(entry) && !IsSystemName(entry->object_name)) {
            userTables.push_back(allTables.back());
        }
    }
    return true;
}

void AccessDatabase::Impl::CloseResult() {
    if (sql) {
        // The handle belongs to us: mdb_sql_exit would close it.
        sql->mdb = nullptr;
        mdb_sql_exit(sql);
        sql = nullptr;
    }
    if (ownTable) {
        mdb_free_tabledef(ownTable);
        ownTable = nullptr;
    }
    table = nullptr;
    columns.clear();
    fields.clear();
    condition.reset();
    countResult = false;
    limit = -1;
    delivered = 0;
    count = -1;
    conditionValues.clear();
    conditionDecoded.clear();
}

void AccessDatabase::Impl::Rewind() {
    mdb_rewind_table(table);
    delivered = 0;
}

void AccessDatabase::Impl::FillFields() {
    fields.clear();
    for (const MdbColumn* column : columns)
        fields.push_back({std::string(column->name),
                          countResult ? AccessFieldType::Long : AccessFieldTypeFromCode(column->col_type)});
}

bool AccessDatabase::Impl::OpenWholeTable(size_t index) {
    std::string name = userTables[index];
    ownTable = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!ownTable || !mdb_read_columns(ownTable)) {
        CloseResult();
        return Fail("Cannot read the table \"" + userTables[index] + "\".");
    }
    mdb_rewind_table(ownTable);
    table = ownTable;
    for (unsigned int i = 0; i < table->num_cols; ++i)
        columns.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i)));
    FillFields();
    return true;
}

int AccessDatabase::Impl::ColumnIndex(const MdbColumn* column) const {
    for (unsigned int i = 0; i < table->num_cols; ++i)
        if (g_ptr_array_index(table->columns, i) == column) return static_cast<int>(i);
    return -1;
}

bool AccessDatabase::Impl::BuildCondition(MdbSargNode* root, std::unique_ptr<AccessCondition>& result) {
    // Node by node from a list of our own: a statement's conditions may nest deeper than the stack.
    struct Pending {
        MdbSargNode* node;
        std::unique_ptr<AccessCondition>* out;
    };
    std::vector<Pending> pending{{root, &result}};
    while (!pending.empty()) {
        const Pending next = pending.back();
        pending.pop_back();
        if (!BuildNode(next.node, *next.out)) return false;
        AccessCondition& c = **next.out;
        // Left before right, as the statement reads.
        const bool both = c.kind == AccessCondition::Kind::And || c.kind == AccessCondition::Kind::Or;
        if (both) pending.push_back({next.node->right, &c.right});
        if (both || c.kind == AccessCondition::Kind::Not) pending.push_back({next.node->left, &c.left});
    }
    return true;
}

bool AccessDatabase::Impl::BuildNode(MdbSargNode* node, std::unique_ptr<AccessCondition>& out) {
    out = std::make_unique<AccessCondition>();
    AccessCondition& c = *out;
    if (node->op == MDB_AND || node->op == MDB_OR) {
        c.kind = node->op == MDB_AND ? AccessCondition::Kind::And : AccessCondition::Kind::Or;
        if (!node->left || !node->right) return Fail(std::string(kSimpleSelectOnly) + "; the condition is incomplete.");
        return true;
    }
    if (node->op == MDB_NOT) {
        c.kind = AccessCondition::Kind::Not;
        if (!node->left) return Fail(std::string(kSimpleSelectOnly) + "; the condition is incomplete.");
        return true;
    }
    if (!node->col) {
        // A comparison of two literals carries its result; otherwise the field name was not found.
        if (node->parent)
            return Fail("The field \"" + std::string(static_cast<const char*>(node->parent)) +
                        "\" of the condition is not in the table.");
        c.kind = AccessCondition::Kind::Constant;
        c.constantTruth = node->value.i != 0;
        return true;
    }
    c.column = ColumnIndex(node->col);
    if (c.column < 0) return Fail(std::string(kSimpleSelectOnly) + "; the condition names an unknown field.");
    if (node->op == MDB_ISNULL || node->op == MDB_NOTNULL) {
        c.kind = node->op == MDB_ISNULL ? AccessCondition::Kind::IsNull : AccessCondition::Kind::IsNotNull;
        return true;
    }
    bool known = false;
    c.kind = AccessCondition::Kind::Compare;
    c.op = OpFromSarg(node->op, known);
    if (!known) return Fail(std::string(kSimpleSelectOnly) + "; the condition uses an unknown operator.");
    if (node->val_type == MDB_TEXT) {
        c.constantIsText = true;
        c.text = std::string(node->value.s, strnlen(node->value.s, sizeof node->value.s));
    } else if (node->val_type == MDB_INT) {
        c.number = node->value.i;
    } else if (node->val_type == MDB_DOUBLE) {
        c.number = node->value.d;
    } else {
        return Fail(std::string(kSimpleSelectOnly) + "; the condition compares with an unknown kind of value.");
    }
    std::string problem =
        CheckComparison(c, AccessFieldTypeFromCode(node->col->col_type), std::string(node->col->name));
    if (!problem.empty()) return Fail(problem);
    return true;
}

// Takes the condition out of mdbtools' hands (its own row tests are unsafe, see
// access_condition.h) into ours, and frees its tree, which libmdbsql would leak.
bool AccessDatabase::Impl::TakeCondition() {
    MdbSargNode* tree = table->sarg_tree;
    table->sarg_tree = nullptr;
    if (!tree) return true;
    const bool ok = BuildCondition(tree, condition);
    mdb_sql_free_tree(tree);
    if (!ok) condition.reset();
    return ok;
}

std::string AccessDatabase::Impl::MissingField(const std::string& tableName, const std::vector<std::string>& names) {
    if (tableName.empty() || names.empty()) return "";
    std::string copy = tableName;
    MdbTableDef* def = mdb_read_table_by_name(mdb, copy.data(), MDB_TABLE);
    if (!def) return "";
    std::string missing;
    if (mdb_read_columns(def)) {
        for (const std::string& name : names) {
            bool found = false;
            for (unsigned int j = 0; j < def->num_cols && !found; ++j)
                found = CompareTextNoCase(std::string(static_cast<MdbColumn*>(g_ptr_array_index(def->columns, j))->name),
                                          name) == 0;
            if (!found && missing.empty()) missing = name;
        }
    }
    mdb_free_tabledef(def);
    return missing;
}

bool AccessDatabase::Impl::RunStatement(const std::string& statement) {
    CheckedStatement checked = CheckSelectStatement(statement);
    if (!checked.ok) return Fail(checked.error);
    if (!checked.tableName.empty()) {
        bool found = false;
        for (const std::string& name : allTables) found = found || EqualNoCase(name, checked.tableName);
        if (!found) return Fail("There is no table \"" + checked.tableName + "\" in this database.");
    }
    sql = mdb_sql_init();
    sql->mdb = mdb;
    if (!mdb_sql_run_query(sql, checked.statement.c_str())) {
        // libmdbsql overwrites its precise message with a general one; a missing field is the usual cause.
        std::string why = mdb_sql_last_error(sql);
        CloseResult();
        std::string missing = MissingField(checked.tableName, checked.fieldNames);
        if (!missing.empty()) return Fail("The field \"" + missing + "\" is not in the table.");
        return Fail(std::string(kSimpleSelectOnly) + " (SELECT fields FROM table [WHERE conditions]). mdbtools: " + why);
    }
    table = sql->cur_table;
    countResult = sql->sel_count != 0;
    limit = sql->limit >= 0 ? sql->limit : -1;
    // Values are decoded from the row bytes; the text copies libmdbsql would make are not needed.
    for (unsigned int i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        column->bind_ptr = nullptr;
        column->len_ptr = nullptr;
    }
    for (unsigned int i = 0; i < sql->num_columns; ++i) {
        const char* name = static_cast<MdbSQLColumn*>(g_ptr_array_index(sql->columns, i))->name;
        MdbColumn* match = nullptr;
        for (unsigned int j = 0; j < table->num_cols && !match; ++j) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, j));
            if (g_ascii_strcasecmp(column->name, name) == 0) match = column;
        }
        if (!match) {
            std::string missing = name;
            CloseResult();
            return Fail("The field \"" + missing + "\" is not in the table.");
        }
        columns.push_back(match);
    }
    if (!TakeCondition()) {
        std::string why = error;
        CloseResult();
        return Fail(why);
    }
    if (table->strategy == MDB_INDEX_SCAN) {  // an index scan would apply the dropped conditions
        mdb_index_scan_free(table);
        table->strategy = MDB_TABLE_SCAN;
    }
    mdb_rewind_table(table);
    FillFields();
    return true;
}

AccessValue AccessDatabase::Impl::Decode(const MdbColumn* column) const {
    AccessValue v;
    v.type = AccessFieldTypeFromCode(column->col_type);
    if (column->col_type == MDB_BOOL) {
        // A yes/no value lives in the null mask; mdbtools reports "null" (bit clear) as No.
        v.isNull = false;
        v.number = column->cur_value_len ? 0.0 : 1.0;
        return v;
    }
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length <= 0 || start < 0 || start >= MDB_PGSIZE) return v;
    const unsigned char* p = mdb->pg_buf + start;
    const int need = FixedSize(column->col_type);
    if (need > 0 && (length < need || start + need > MDB_PGSIZE)) return v;
    v.isNull = false;
    switch (column->col_type) {
        case MDB_BYTE: v.number = p[0]; break;
        case MDB_INT: v.number = static_cast<std::int16_t>(p[0] | (p[1] << 8)); break;
        case MDB_LONGINT: v.number = static_cast<std::int32_t>(Le32(p)); break;
        case MDB_MONEY: v.number = DecodeAccessCurrency(p); break;
        case MDB_FLOAT: {
            std::uint32_t bits = Le32(p);
            float f;
            std::memcpy(&f, &bits, sizeof f);
            v.number = f;
            break;
        }
        case MDB_DOUBLE:
        case MDB_DATETIME: {
            std::uint64_t bits = Le32(p) | (static_cast<std::uint64_t>(Le32(p + 4)) << 32);
            std::memcpy(&v.number, &bits, sizeof v.number);
            if (column->col_type == MDB_DATETIME) v.date = OleDateToDateTime(v.number);
            break;
        }
        case MDB_NUMERIC: {
            // mdbtools keeps precision and scale in swapped members; the scale is the smaller.
            const int scale = column->col_scale < column->col_prec ? column->col_scale : column->col_prec;
            v.number = DecodeAccessDecimal(p, scale);
            break;
        }
        case MDB_TEXT:
        case MDB_MEMO:
        case MDB_REPID: {
            char* text = mdb_col_to_string(mdb, mdb->pg_buf, start, column->col_type, length);
            if (text) {
                v.text = text;
                g_free(text);
            }
            if (v.text.empty()) v.isNull = true;
            break;
        }
        default:
            break;  // binary, OLE and complex fields carry no value the program can use
    }
    return v;
}

bool AccessDatabase::Impl::FetchMatchingRow() {
    if (limit >= 0 && delivered >= limit) return false;
    while (mdb_fetch_row(table)) {
        if (fetchTick) fetchTick(++fetched);
        if (condition) {
            conditionValues.resize(table->num_cols);
            conditionDecoded.assign(table->num_cols, 0);
            const AccessValueSource valueOf = [this](int index) -> const AccessValue& {
                if (!conditionDecoded[index]) {
                    conditionValues[index] =
                        Decode(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, index)));
                    conditionDecoded[index] = 1;
                }
                return conditionValues[index];
            };
            if (EvaluateCondition(*condition, valueOf) != Truth::True) continue;
        }
        ++delivered;
        return true;
    }
    return false;
}

AccessDatabase::AccessDatabase() : impl_(std::make_unique<Impl>()) {}

AccessDatabase::~AccessDatabase() { Close(); }

bool AccessDatabase::Open(const std::string& path) {
    Close();
    impl_->error.clear();
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        return impl_->Fail("Cannot open the database file \"" + path + "\": there is no such file.");
    impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb)
        return impl_->Fail("Cannot open the database file \"" + path + "\": it is not an Access database.");
    if (!impl_->ReadCatalog()) {
        Close();
        return impl_->Fail("Cannot read the list of tables of \"" + path + "\".");
    }
    impl_->path = path;
    return true;
}

void AccessDatabase::Close() {
    impl_->CloseResult();
    if (impl_->mdb) {
        mdb_close(impl_->mdb);
        impl_->mdb = nullptr;
    }
    impl_->path.clear();
    impl_->userTables.clear();
    impl_->allTables.clear();
}

const std::string& AccessDatabase::Path() const { return impl_->path; }

const std::string& AccessDatabase::Error() const { return impl_->error; }

const std::vector<std::string>& AccessDatabase::TableNames() const { return impl_->userTables; }

bool AccessDatabase::Execute(const std::string& statement) {
    impl_->CloseResult();
    impl_->error.clear();
    if (!impl_->mdb) return impl_->Fail("No database is open.");
    if (std::optional<std::string> name = PlainTableName(statement)) {
        const std::vector<std::string>& tables = impl_->userTables;
        size_t match = std::find(tables.begin(), tables.end(), *name) - tables.begin();
        for (size_t i = 0; i < tables.size() && match == tables.size(); ++i)
            if (EqualNoCase(tables[i], *name)) match = i;
        if (match < tables.size()) return impl_->OpenWholeTable(match);
    }
    return impl_->RunStatement(statement);
}

bool AccessDatabase::IsResultOpen() const { return impl_->table != nullptr; }

int AccessDatabase::FieldCount() const { return static_cast<int>(impl_->columns.size()); }

const std::vector<AccessField>& AccessDatabase::Fields() const { return impl_->fields; }

bool AccessDatabase::NextRow(std::vector<AccessValue>& row) {
    row.clear();
    if (!impl_->table || !impl_->FetchMatchingRow()) return false;
    row.reserve(impl_->columns.size());
    for (const MdbColumn* column : impl_->columns) row.push_back(impl_->Decode(column));
    if (impl_->countResult) {
        for (AccessValue& value : row) {
            value.type = AccessFieldType::Long;
            value.isNull = value.text.empty();
            value.number = std::strtod(value.text.c_str(), nullptr);
            value.text.clear();
        }
    }
    return true;
}

long AccessDatabase::RecordCount(const std::function<void(long)>& counted) {
    if (!impl_->table) return 0;
    if (impl_->count < 0) {
        impl_->Rewind();
        long n = 0;
        while (impl_->FetchMatchingRow()) {
            ++n;
            if (counted) counted(n);
        }
        impl_->count = n;
    }
    impl_->Rewind();
    return impl_->count;
}


void AccessDatabase::SetFetchTick(std::function<void(long)> tick) { impl_->fetchTick = std::move(tick); }

long AccessDatabase::StoredRowCount() const {
    if (!impl_->table) return 0;
    if (impl_->countResult) return 1;
    const long stored = static_cast<long>(impl_->table->num_rows);
    return impl_->limit >= 0 && impl_->limit < stored ? impl_->limit : stored;
}

}  // namespace platform
