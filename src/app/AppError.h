#pragma once

#include <QString>
#include <stdexcept>

// A run-time error as the common exception handler reports it: number, optional line, description
// and source.
class AppError : public std::runtime_error {
public:
    explicit AppError(QString description, long number = 5, QString source = {}, int line = 0)
        : std::runtime_error(description.toStdString())
        , m_number(number)
        , m_line(line)
        , m_description(std::move(description))
        , m_source(std::move(source)) {}

    [[nodiscard]] long number() const { return m_number; }
    [[nodiscard]] int line() const { return m_line; }
    [[nodiscard]] const QString& description() const { return m_description; }
    [[nodiscard]] const QString& source() const { return m_source; }

private:
    long m_number;
    int m_line;
    QString m_description;
    QString m_source;
};
