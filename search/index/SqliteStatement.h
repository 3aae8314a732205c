// One prepared SQLite statement: binds by position from 1, steps, reads columns from 0.
#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement();

    SqliteStatement& Bind(int index, qint64 value);
    SqliteStatement& Bind(int index, const QString& text);
    SqliteStatement& Bind(int index, const QByteArray& blob);
    // The next row: false once done. Raises SqliteError.
    bool Step();
    // Steps to the end, for statements without rows, and makes the statement ready again.
    void Run();
    void Reset();

    qint64 Int(int column) const;
    QString Text(int column) const;
    QByteArray Blob(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};
