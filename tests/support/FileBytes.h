#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests that compare files byte by byte; a missing file reads as
// "<missing>" so that a comparison names it.
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
