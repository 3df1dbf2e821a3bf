#include "SqlScript.h"

#include <QFile>
#include <QTest>
#include <sqlite3.h>

void execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    char* error = nullptr;
    const int result = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    const QString message = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    QVERIFY2(result == SQLITE_OK, qPrintable(message));
}
