#pragma once

#include <QTest>

// Adds a data table's columns and returns the function that adds a row: a name, then one value for
// each column, converted to the column's type.
//   const auto row = columns<QString, int>("text", "count");
//   row("two", "ab", 2);
template <typename... Types, typename... Names> auto columns(const Names&... names) {
    (QTest::addColumn<Types>(names), ...);
    return [](const char* name, const Types&... values) { (QTest::newRow(name) << ... << values); };
}
