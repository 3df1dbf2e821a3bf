#pragma once

#include "app/AppError.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

struct sqlite3;
struct sqlite3_stmt;

// A SQLite connection whose every failure throws SqliteConnection::Error with SQLite's own message.
// Texts go in and out as UTF-8 with explicit lengths, so that NUL characters survive.
class SqliteConnection {
public:
    class Error : public AppError {
    public:
        Error(const QString& message, int code)
            : AppError(message, code) {}
        [[nodiscard]] int code() const { return int(number()); }
    };

    class Statement {
    public:
        Statement(sqlite3* db, const char* sql);
        ~Statement();
        Statement(const Statement&) = delete;
        Statement& operator=(const Statement&) = delete;

        void bind(int parameter, qint64 value);
        void bind(int parameter, double value);
        void bind(int parameter, const QString& value);
        // Bytes that stay unchanged until the statement has stepped, bound without a copy.
        void bindUtf8(int parameter, QByteArrayView value);
        void bindBlob(int parameter, QByteArrayView value);
        // True while a result row is ready; false when done.
        bool step();
        // Ready to step again; the bound values stay bound.
        void reset();

        [[nodiscard]] int type(int column) const;
        [[nodiscard]] qint64 integer(int column) const;
        [[nodiscard]] double real(int column) const;
        [[nodiscard]] QString text(int column) const;
        // The UTF-8 bytes of a text column as SQLite holds them, valid until the next step.
        [[nodiscard]] QByteArrayView utf8(int column) const;
        // The bytes of a BLOB column, valid until the next step.
        [[nodiscard]] QByteArrayView blob(int column) const;
        // The length of a text or blob value in bytes.
        [[nodiscard]] qint64 bytes(int column) const;

    private:
        void check(int result) const;

        sqlite3* m_db;
        sqlite3_stmt* m_statement = nullptr;
    };

    // `flags` are sqlite3_open_v2's.
    SqliteConnection(const QString& path, int flags);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    void execute(const char* sql);
    [[nodiscard]] qint64 queryInteger(const char* sql);
    [[nodiscard]] sqlite3* handle() const { return m_db; }
    // Closes now, so that a failure to finish the file is reported.
    void close();

private:
    sqlite3* m_db = nullptr;
};
