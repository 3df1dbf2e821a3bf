#pragma once

#include <QTest>

// A data table's columns in one line: addColumns<QString, int>("text", "count").
template <typename... Types, typename... Names> void addColumns(const Names&... names) {
    (QTest::addColumn<Types>(names), ...);
}

// One row of a data table; every value must have its column's type (a string literal fills a QString).
template <typename... Values> void addRow(const char* name, const Values&... values) {
    (QTest::newRow(name) << ... << values);
}
