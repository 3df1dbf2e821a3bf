#include "TimetableGenerator.h"
#include "TimetableReport.h"
#include "app/AppError.h"
#include "chart/GanttData.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <limits>
#include <optional>

// qunta-tool: generates timetables and prints what they hold, without a display.
// Exit status: 0 done, 1 wrong usage, 2 a file that cannot be read or written.
namespace {
const char* const usage =
    "usage: qunta-tool generate OUT.qtf --resources R --items N [--series S] [--seed K] "
    "[--from YYYY-MM-DD] [--days D]\n"
    "       qunta-tool info FILE.qtf\n"
    "       qunta-tool items FILE.qtf\n";

struct UsageError {
    QString reason;
};

void write(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

qint64 number(const QString& option, const QString& text, qint64 minimum, qint64 maximum) {
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < minimum || value > maximum)
        throw UsageError{
            QStringLiteral("%1 needs a whole number from %2 to %3").arg(option).arg(minimum).arg(maximum)};
    return value;
}

int generate(const QStringList& arguments) {
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1String("--")))
        throw UsageError{QStringLiteral("generate needs the name of the new file")};
    const QString path = arguments.first();
    TimetableGenerator::Options options;
    bool haveResources = false;
    bool haveItems = false;
    for (qsizetype i = 1; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        if (i + 1 >= arguments.size())
            throw UsageError{option + QStringLiteral(" needs a value")};
        const QString& value = arguments[i + 1];
        if (option == QLatin1String("--resources")) {
            options.resources = int(number(option, value, 1, 100000));
            haveResources = true;
        } else if (option == QLatin1String("--items")) {
            options.items = int(number(option, value, 0, 10000000));
            haveItems = true;
        } else if (option == QLatin1String("--series")) {
            options.series = int(number(option, value, 0, 10000000));
        } else if (option == QLatin1String("--seed")) {
            options.seed = std::uint64_t(number(option, value, 0, std::numeric_limits<qint64>::max()));
        } else if (option == QLatin1String("--days")) {
            options.days = int(number(option, value, 1, 36500));
        } else if (option == QLatin1String("--from")) {
            options.from = QDate::fromString(value, Qt::ISODate);
            if (!options.from.isValid())
                throw UsageError{QStringLiteral("--from needs a date YYYY-MM-DD")};
        } else {
            throw UsageError{QStringLiteral("unknown option ") + option};
        }
    }
    if (!haveResources || !haveItems)
        throw UsageError{QStringLiteral("generate needs --resources and --items")};
    if (QFileInfo::exists(path))
        throw AppError(QStringLiteral("'%1' already exists; it is not overwritten.").arg(path));

    GanttData chart;
    TimetableGenerator(options).fill(chart);
    chart.save(path);
    return 0;
}

int show(const QString& command, const QStringList& arguments) {
    if (arguments.size() != 1)
        throw UsageError{command + QStringLiteral(" needs exactly one file")};
    GanttData chart;
    chart.load(arguments.first());
    const TimetableReport report(chart);
    write(stdout, command == QLatin1String("info") ? report.summary() : report.itemLines());
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments();
    arguments.removeFirst();
    try {
        const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
        if (command == QLatin1String("generate"))
            return generate(arguments);
        if (command == QLatin1String("info") || command == QLatin1String("items"))
            return show(command, arguments);
        throw UsageError{command.isEmpty() ? QStringLiteral("no command")
                                           : QStringLiteral("unknown command ") + command};
    } catch (const UsageError& error) {
        write(stderr, "qunta-tool: " + error.reason.toUtf8() + "\n" + usage);
        return 1;
    } catch (const AppError& error) {
        write(stderr, "qunta-tool: " + error.description().toUtf8() + "\n");
        return 2;
    } catch (const std::exception& error) {
        write(stderr, QByteArray("qunta-tool: ") + error.what() + "\n");
        return 2;
    }
}
