// An SQLite connection, closed with the object.
#pragma once

#include "search/index/SqliteStatement.h"

#include <QString>
#include <memory>
#include <string_view>
#include <unordered_map>

class SqliteDatabase {
public:
    // Opens or creates the file. Raises SqliteError.
    explicit SqliteDatabase(const QString& file);
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;
    ~SqliteDatabase();

    // Runs one or more statements without results.
    void Execute(const char* sql);
    // The statement prepared once for the connection, ready to bind; callers reset it.
    SqliteStatement& Statement(const char* sql);
    // The code of the last failure, a busy or damaged file among them.
    static void Check(sqlite3* db, int result);

private:
    sqlite3* db_ = nullptr;
    std::unordered_map<std::string_view, std::unique_ptr<SqliteStatement>> statements_;
};
