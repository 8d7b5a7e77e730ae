// Owners of SQLite handles: a connection closes and a statement finalises when its owner
// goes. No Qt; the thread that owns the handle.
#pragma once

#include <memory>

#include <sqlite3.h>

namespace tessimo {

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

} // namespace tessimo
