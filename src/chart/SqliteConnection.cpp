#include "SqliteConnection.h"

#include <sqlite3.h>

namespace {
[[noreturn]] void fail(sqlite3* db, int code) {
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    throw SqliteConnection::Error(QString::fromUtf8(message), code & 0xFF);
}
} // namespace

SqliteConnection::Statement::Statement(sqlite3* db, const char* sql)
    : m_db(db) {
    check(sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr));
}

SqliteConnection::Statement::~Statement() {
    sqlite3_finalize(m_statement);
}

void SqliteConnection::Statement::bind(int parameter, qint64 value) {
    check(sqlite3_bind_int64(m_statement, parameter, value));
}

void SqliteConnection::Statement::bind(int parameter, double value) {
    check(sqlite3_bind_double(m_statement, parameter, value));
}

void SqliteConnection::Statement::bind(int parameter, const QString& value) {
    const QByteArray utf8 = value.toUtf8();
    check(sqlite3_bind_text(m_statement, parameter, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

void SqliteConnection::Statement::bindUtf8(int parameter, QByteArrayView value) {
    // SQLite takes a null pointer for NULL: an empty text needs a pointer of its own.
    check(sqlite3_bind_text(m_statement, parameter, value.isNull() ? "" : value.data(), int(value.size()),
                            SQLITE_STATIC));
}

void SqliteConnection::Statement::bindBlob(int parameter, QByteArrayView value) {
    check(sqlite3_bind_blob64(m_statement, parameter, value.isNull() ? "" : value.data(),
                              sqlite3_uint64(value.size()), SQLITE_STATIC));
}

bool SqliteConnection::Statement::step() {
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    fail(m_db, result);
}

void SqliteConnection::Statement::reset() {
    check(sqlite3_reset(m_statement));
}

int SqliteConnection::Statement::type(int column) const {
    return sqlite3_column_type(m_statement, column);
}

qint64 SqliteConnection::Statement::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

double SqliteConnection::Statement::real(int column) const {
    return sqlite3_column_double(m_statement, column);
}

QString SqliteConnection::Statement::text(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QString::fromUtf8(data, sqlite3_column_bytes(m_statement, column)) : QString();
}

QByteArrayView SqliteConnection::Statement::utf8(int column) const {
    const auto* data = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_statement, column)) : QByteArrayView();
}

QByteArrayView SqliteConnection::Statement::blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_statement, column));
    return data ? QByteArrayView(data, sqlite3_column_bytes(m_statement, column)) : QByteArrayView();
}

qint64 SqliteConnection::Statement::bytes(int column) const {
    return sqlite3_column_bytes(m_statement, column);
}

void SqliteConnection::Statement::check(int result) const {
    if (result != SQLITE_OK)
        fail(m_db, result);
}

SqliteConnection::SqliteConnection(const QString& path, int flags) {
    const int result = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (result != SQLITE_OK) {
        const QString message = QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(result));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw Error(message, result & 0xFF);
    }
    sqlite3_extended_result_codes(m_db, 0);
}

SqliteConnection::~SqliteConnection() {
    sqlite3_close_v2(m_db);
}

void SqliteConnection::execute(const char* sql) {
    const int result = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (result != SQLITE_OK)
        fail(m_db, result);
}

qint64 SqliteConnection::queryInteger(const char* sql) {
    Statement statement(m_db, sql);
    return statement.step() ? statement.integer(0) : 0;
}

void SqliteConnection::close() {
    const int result = sqlite3_close(m_db);
    if (result != SQLITE_OK)
        fail(m_db, result);
    m_db = nullptr;
}
