#include "TimetableGenerator.h"
#include "TimetableReport.h"
#include "app/AppError.h"
#include "app/GlobalData.h"
#include "app/bsFileUtil.h"
#include "chart/GanttData.h"
#include "chart/widget/RenderChartImage.h"
#include "model/clsItems.h"
#include "views/GridExport.h"
#include "views/GridLayoutFile.h"
#include "views/MonthChart.h"
#include "views/bsGridSupport.h"
#include "views/frmListview.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

// qunta-tool: generates timetables, prints what they hold, exports their items and draws them,
// without a display.
// Exit status: 0 done (also for --help and -h, which print the usage), 1 wrong usage, 2 a file that
// cannot be read or written.
namespace {
const char* const usage =
    "usage: qunta-tool generate OUT.qtf --resources R --items N [--series S] [--seed K] "
    "[--from YYYY-MM-DD] [--days D]\n"
    "       qunta-tool info FILE.qtf\n"
    "       qunta-tool items FILE.qtf\n"
    "       qunta-tool export FILE.qtf OUT (HTML when OUT contains \".ht\", else \";\"-separated text)\n"
    "       qunta-tool render FILE.qtf OUT.png [--from YYYY-MM-DD[Thh:mm]] [--scale N] [--size WxH]\n"
    "       qunta-tool render FILE.qtf OUT.png --month RESOURCE-KEY-OR-CAPTION YYYY-MM [--size WxH]\n";

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

// The item list's export: every item in the item table's order, the columns the default layout
// shows (the built-in ones when the program has no default layout).
int exportItems(const QStringList& arguments) {
    if (arguments.size() != 2)
        throw UsageError{QStringLiteral("export needs the timetable and the output file")};
    GanttData chart;
    chart.load(arguments[0]);
    clsItems items(chart);
    if (!items.ReadItems())
        throw AppError(QStringLiteral("The items of '%1' cannot be read.").arg(arguments[0]));
    GridLayout layout = GridLayout::builtIn();
    try {
        layout = GridLayoutFile::read(bsGridSupport::DefaultLayoutFile(), frmListview::windowKey);
    } catch (const AppError&) {
        // The built-in columns serve.
    }
    layout.setReservedCaptions();
    GridExport(items, layout).writeFile(arguments[1], GridExport::allRows(items.Count()), AppTitle());
    return 0;
}

TimePoint timeOption(const QString& option, const QString& text) {
    const QStringList parts = text.split(QLatin1Char('T'));
    const QDate date = QDate::fromString(parts.first(), QStringLiteral("yyyy-MM-dd"));
    const QTime time =
        parts.size() == 2 ? QTime::fromString(parts.last(), QStringLiteral("HH:mm")) : QTime(0, 0);
    if (parts.size() > 2 || !date.isValid() || !time.isValid())
        throw UsageError{option + QStringLiteral(" needs a date YYYY-MM-DD or a time YYYY-MM-DDThh:mm")};
    return TimePoint::fromDateTime(date, time);
}

QSize sizeOption(const QString& option, const QString& text) {
    // Large enough for any screen; the image of the largest size still fits into memory.
    constexpr int largest = 10000;
    static const QRegularExpression form(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = form.match(text);
    const QSize size =
        match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
    if (size.isEmpty() || size.width() > largest || size.height() > largest)
        throw UsageError{QStringLiteral("%1 needs WIDTHxHEIGHT, each from 1 to %2").arg(option).arg(largest)};
    return size;
}

// Where the board would open the timetable: the saved shown time, else the day of the first booking.
TimePoint firstShownTime(const GanttData& chart) {
    if (chart.settings().firstShownTime != TimePoint())
        return chart.settings().firstShownTime;
    const ItemCollection& items = chart.items();
    if (items.count() == 0)
        return TimePoint::today();
    TimePoint earliest = items.byPosition(1)->start();
    for (int position = 2; position <= items.count(); ++position)
        earliest = std::min(earliest, items.byPosition(position)->start());
    return earliest.datePart();
}

// The resource with the key, else the first one with the caption.
QString resourceKey(const GanttData& chart, const QString& keyOrCaption) {
    if (chart.rows().byKey(keyOrCaption))
        return keyOrCaption;
    for (int position = 1; position <= chart.rows().count(); ++position) {
        if (chart.rows().byPosition(position)->caption == keyOrCaption)
            return chart.rows().byPosition(position)->key();
    }
    throw UsageError{QStringLiteral("the timetable has no resource with the key or caption ") + keyOrCaption};
}

// The monthly overview of a resource: a row for every day, the day across the width.
QImage renderMonth(const GanttData& chart, const QString& key, const QDate& month,
                   std::optional<QSize> size) {
    MonthChart overview;
    const int rowHeight = QFontMetrics(QGuiApplication::font()).height();
    overview.MakeGantt(chart, rowHeight);
    overview.ReadItems(chart, key, month);
    const QSize natural(overview.headingColumnWidth() + MonthChart::dayWidth,
                        MonthChart::rowCount * rowHeight);
    return renderChartImage(overview.data(), MonthChart::shownDay, MonthChart::shownDay.addDays(1),
                            size.value_or(natural));
}

int render(const QStringList& arguments, int& argc, char** argv) {
    if (arguments.size() < 2 || arguments[0].startsWith(QLatin1String("--")) ||
        arguments[1].startsWith(QLatin1String("--")))
        throw UsageError{QStringLiteral("render needs the timetable and the image file")};
    const QString& path = arguments[0];
    const QString& out = arguments[1];
    std::optional<TimePoint> from;
    std::optional<int> scale;
    std::optional<QSize> size;
    std::optional<QString> resource;
    QDate month;
    for (qsizetype i = 2; i < arguments.size(); i += 2) {
        const QString& option = arguments[i];
        if (i + 1 >= arguments.size())
            throw UsageError{option + QStringLiteral(" needs a value")};
        const QString& value = arguments[i + 1];
        if (option == QLatin1String("--from")) {
            from = timeOption(option, value);
        } else if (option == QLatin1String("--scale")) {
            scale = int(number(option, value, 0, ChartSettings::zoomLevels - 1));
        } else if (option == QLatin1String("--size")) {
            size = sizeOption(option, value);
        } else if (option == QLatin1String("--month")) {
            month = QDate::fromString(arguments.value(i + 2) + QStringLiteral("-01"),
                                      QStringLiteral("yyyy-MM-dd"));
            if (!month.isValid())
                throw UsageError{QStringLiteral("--month needs a resource and a month YYYY-MM")};
            resource = value;
            ++i;
        } else {
            throw UsageError{QStringLiteral("unknown option ") + option};
        }
    }
    if (resource && (from || scale))
        throw UsageError{
            QStringLiteral("--month shows one day from midnight: it takes no --from or --scale")};

    GanttData chart;
    chart.load(path);
    const QString key = resource ? resourceKey(chart, *resource) : QString();
    const auto unwritable = [&out](const QString& reason) {
        return AppError(QStringLiteral("The image '%1' cannot be written: %2").arg(out, reason));
    };
    if (!IsRegularOrMissing(out) || !QFileInfo(QFileInfo(out).absolutePath()).isDir())
        throw unwritable(QStringLiteral("it is no file in an existing folder."));
    // Only drawing needs the GUI library, and only once both files are known to be usable, so that a
    // wrong file is reported before the platform has its say. The image needs no display: offscreen
    // serves unless another platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const QImage image =
        resource ? renderMonth(chart, key, month, size)
                 : renderChartImage(chart, from.value_or(firstShownTime(chart)),
                                    scale.value_or(chart.settings().scale), size.value_or(QSize(1600, 900)));
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    if (!buffer.open(QIODevice::WriteOnly) || !writer.write(image))
        throw unwritable(writer.errorString());
    // Written whole or not at all: a full disk leaves no cut-off image behind.
    QString reason;
    if (!WriteFileAtomically(out, png, &reason))
        throw unwritable(reason);
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    try {
        const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
        if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
            write(stdout, usage);
            return 0;
        }
        if (command == QLatin1String("render"))
            return render(arguments, argc, argv);
        const QCoreApplication application(argc, argv);
        if (command == QLatin1String("generate"))
            return generate(arguments);
        if (command == QLatin1String("info") || command == QLatin1String("items"))
            return show(command, arguments);
        if (command == QLatin1String("export"))
            return exportItems(arguments);
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
