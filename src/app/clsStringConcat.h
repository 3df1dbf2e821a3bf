#pragma once

#include <QString>

// Collects a long text piece by piece without quadratic copying; Clear keeps the storage for reuse.
class clsStringConcat {
public:
    clsStringConcat() = default;

    void Clear();
    void Concat(const QString& text);
    [[nodiscard]] QString Value() const { return m_buffer; }

private:
    QString m_buffer;
};
