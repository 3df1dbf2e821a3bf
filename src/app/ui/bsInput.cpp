#include "bsInput.h"

#include "app/GlobalData.h"
#include "app/MessageFlags.h"
#include "app/NumericText.h"
#include "app/TimePoint.h"
#include "app/bsVelkorHelper.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
QString acceptedCharacters(int kind) {
    switch (kind) {
    case InputKind::Integer:
        return "-0123456789";
    case InputKind::Number:
    case InputKind::PositiveNumber:
        return "-0123456789.,";
    case InputKind::Time:
        return "0123456789:";
    case InputKind::Date:
        return "01234567890-/.";
    case InputKind::PositiveInteger:
        return "0123456789";
    default:
        return {};
    }
}

bool isRestricted(int kind) {
    return kind >= InputKind::Integer && kind <= InputKind::PositiveNumber;
}

// A date may also be typed as it is shown, with a month name ("1 Dec 2026").
bool accepts(int kind, QChar c) {
    if (kind == InputKind::Date && (c.isLetter() || c == u' '))
        return true;
    return acceptedCharacters(kind).contains(c);
}

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Whole numbers in the 32-bit range: the value rounded to an integer must equal the value kept to
// four decimals (so 12.5 fails).
bool isWholeNumber(double value) {
    const double whole = std::nearbyint(value);
    if (whole < std::numeric_limits<qint32>::min() || whole > std::numeric_limits<qint32>::max())
        return false;
    return whole * 10000 == std::nearbyint(value * 10000);
}

int windowedYear(int twoDigitYear) {
    return twoDigitYear < 30 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

QString withFourDigitYears(QString format) {
    if (!format.contains("yyyy"))
        format.replace("yy", "yyyy");
    return format;
}

std::optional<QDate> dateWithFormat(const QString& text, QString format) {
    QString input = text;
    if (!format.contains("yyyy") && format.endsWith("yy")) {
        // Qt reads two-digit years as 19xx, which refuses 29 February 2000: the year is widened first.
        static const QRegularExpression twoDigitYear(R"((?<!\d)(\d{2})$)");
        const QRegularExpressionMatch match = twoDigitYear.match(text);
        if (!match.hasMatch())
            return {};
        input = text.left(match.capturedStart(1)) + QString::number(windowedYear(match.captured(1).toInt()));
        format += "yy";
    }
    const QDate date = QLocale().toDate(input, format);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

// Day, month and year digits: six digits with a two-digit year, eight with four; fewer are padded with
// leading zeros to six, seven to eight.
std::optional<QDate> dateFromDigits(const QString& text) {
    if (!isDigits(text))
        return {};
    const QString digits = text.rightJustified(text.size() < 7 ? 6 : 8, '0');
    const int day = digits.left(2).toInt();
    const int month = digits.mid(2, 2).toInt();
    const QString yearDigits = digits.mid(4);
    if (yearDigits.size() != 2 && yearDigits.size() != 4)
        return {};
    const int year = yearDigits.size() == 2 ? windowedYear(yearDigits.toInt()) : yearDigits.toInt();
    const QDate date(year, month, day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<QTime> timeFromHours(double hours) {
    if (!std::isfinite(hours) || hours < 0)
        return {};
    const double whole = std::floor(hours);
    const double seconds = whole * 3600 + std::nearbyint((hours - whole) * 3600);
    if (seconds >= 86400)
        return {};
    return QTime(0, 0).addSecs(int(seconds));
}

struct TimeEntry {
    std::optional<QTime> time;
    bool alreadyTime = false;
};

TimeEntry timeFromEntry(const QString& text) {
    const QLocale locale;
    if (text.contains(locale.decimalPoint())) {
        bool ok = false;
        const double hours = locale.toDouble(text, &ok);
        return {ok ? timeFromHours(hours) : std::nullopt};
    }
    if (!text.contains('.')) {
        if (const auto time = FieldTime(text))
            return {time, true};
        if (!FieldNumber(text))
            return {};
        const QString digits = text.size() == 1 ? "0" + text + "00" : text.leftJustified(4, '0', true);
        const QTime time = QTime::fromString(digits.left(2) + ':' + digits.mid(2), "hh:mm");
        return {time.isValid() ? std::optional(time) : std::nullopt};
    }
    bool found = false;
    const double hours = leadingNumber(text, &found);
    return {found ? timeFromHours(hours) : std::nullopt};
}

struct FieldColours {
    QColor base;
    QColor window;
    QColor button;
    QColor text;
};

void setFieldColours(QWidget* field, const FieldColours& colours) {
    QPalette palette = field->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, colours.base);
        palette.setColor(group, QPalette::Window, colours.window);
        palette.setColor(group, QPalette::Button, colours.button);
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(group, role, colours.text);
    }
    field->setPalette(palette);
}

bool isOption(const QWidget* field) {
    return qobject_cast<const QCheckBox*>(field) || qobject_cast<const QRadioButton*>(field);
}
} // namespace

bool FilterKeyPress(int& keyCode, int kind) {
    if (keyCode < 32 || !isRestricted(kind))
        return true;
    if (keyCode <= 0xFFFF && accepts(kind, QChar(keyCode)))
        return true;
    keyCode = 0;
    return false;
}

bool IsValidInput(const QString& text, int kind) {
    if (!isRestricted(kind))
        return true;
    return std::all_of(text.cbegin(), text.cend(), [kind](QChar c) { return accepts(kind, c); });
}

bool ValidateField(QString& text, int kind) {
    bool valid = true;
    switch (kind) {
    case InputKind::Integer:
    case InputKind::PositiveInteger: {
        const auto value = FieldNumber(text);
        valid = value && isWholeNumber(*value) && (kind == InputKind::Integer || *value >= 0);
        break;
    }
    case InputKind::Number:
    case InputKind::PositiveNumber: {
        const auto value = FieldNumber(text);
        valid = value && (kind == InputKind::Number || *value >= 0);
        break;
    }
    case InputKind::Time: {
        const auto time = timeFromEntry(text).time;
        valid = time.has_value();
        if (valid)
            text = FieldTimeText(*time);
        break;
    }
    case InputKind::Date: {
        auto date = dateFromDigits(text);
        if (!date)
            date = FieldDate(text);
        valid = date.has_value();
        if (valid)
            text = FieldDateText(*date);
        break;
    }
    default:
        break;
    }
    // A refused date or time stays as typed, so that the user sees what to mend.
    if (!valid && kind != InputKind::Time && kind != InputKind::Date)
        text.clear();
    return valid;
}

bool NormalizeDate(QString& value) {
    if (FieldDate(value))
        return false;
    const auto date = dateFromDigits(value);
    if (!date)
        return false;
    value = FieldDateText(*date);
    return true;
}

bool NormalizeTime(QString& value) {
    if (value.isEmpty())
        return false;
    const TimeEntry entry = timeFromEntry(value);
    if (!entry.time)
        return false;
    if (!entry.alreadyTime)
        value = FieldTimeText(*entry.time);
    return true;
}

std::optional<double> FieldNumber(const QString& text) {
    if (text.contains('.') && text.contains(','))
        return {};
    QString normal = text.trimmed();
    normal.replace(',', '.');
    bool ok = false;
    const double value = QLocale::c().toDouble(normal, &ok);
    if (!ok || !std::isfinite(value))
        return {};
    return value;
}

std::optional<QDate> FieldDate(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QLocale locale;
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    // The locale's own forms first, so that its order of day and month decides; then the forms shown
    // elsewhere (with a month name), ISO, and day, month and year with the usual separators.
    for (const QString& format :
         {shortFormat, withFourDigitYears(shortFormat), locale.dateFormat(QLocale::LongFormat),
          QString("d MMM yyyy"), QString("d-MMM-yyyy"), QString("d MMMM yyyy"), QString("yyyy-M-d"),
          QString("d.M.yyyy"), QString("d.M.yy"), QString("d/M/yyyy"), QString("d/M/yy")}) {
        if (const auto date = dateWithFormat(trimmed, format))
            return date;
    }
    return {};
}

QString FieldDateText(const QDate& date) {
    return TimePoint::fromDate(date).shortDate();
}

QString FieldTimeText(const QTime& time) {
    return time.second() == 0 ? QLocale().toString(time, TimePoint::shortTimeFormat())
                              : time.toString(QStringLiteral("HH:mm:ss"));
}

std::optional<QTime> FieldTime(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QLocale locale;
    for (const QString& format :
         {locale.timeFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::LongFormat), QString("H:mm:ss"),
          QString("H:mm"), QString("H:m")}) {
        const QTime time = locale.toTime(trimmed, format);
        if (time.isValid())
            return time;
    }
    return {};
}

bool ListTypeAhead(QAbstractItemView* list, int& keyCode, int charIndex) {
    const QAbstractItemModel* model = list ? list->model() : nullptr;
    if (!model || charIndex < 0 || keyCode <= 0 || keyCode > 0xFFFF)
        return false;
    const QModelIndex root = list->rootIndex();
    const auto* listView = qobject_cast<const QListView*>(list);
    const int column = listView ? listView->modelColumn() : 0;
    const int rows = model->rowCount(root);
    const int current = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
    const QChar typed = QChar(keyCode).toCaseFolded();
    const auto matches = [&](int row) {
        const QString text = model->index(row, column, root).data(Qt::DisplayRole).toString();
        return charIndex < text.size() && text[charIndex].toCaseFolded() == typed;
    };
    for (int step = 1; step <= rows; ++step) {
        const int row = (current + step) % rows;
        if (!matches(row))
            continue;
        const QModelIndex found = model->index(row, column, root);
        list->selectionModel()->clearSelection();
        list->selectionModel()->setCurrentIndex(found, QItemSelectionModel::ClearAndSelect);
        list->scrollTo(found);
        keyCode = 0;
        return true;
    }
    return false;
}

void FieldGotFocus(QWidget* field) {
    const QPalette standard = QApplication::palette(field);
    const QColor tip = standard.color(QPalette::ToolTipBase);
    setFieldColours(field, {tip, tip, tip, standard.color(QPalette::ToolTipText)});
    // Check boxes and option buttons paint no background of their own.
    if (isOption(field))
        field->setAutoFillBackground(true);
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
        spin->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto* text = qobject_cast<QTextEdit*>(field))
        text->selectAll();
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        plain->selectAll();
}

void FieldLostFocus(QWidget* field) {
    const QPalette standard = QApplication::palette(field);
    const QColor text = standard.color(QPalette::Text);
    if (isOption(field)) {
        const QColor face = standard.color(QPalette::Button);
        setFieldColours(field, {standard.color(QPalette::Base), face, face, text});
        field->setAutoFillBackground(true);
    } else {
        setFieldColours(field, {standard.color(QPalette::Base), standard.color(QPalette::Window),
                                standard.color(QPalette::Button), text});
    }
}

bool HandleDialogKey(int& keyCode, Qt::KeyboardModifiers modifiers) {
    if (keyCode != Qt::Key_F1)
        return false;
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (held == Qt::NoModifier)
        OpenManual();
    else if (held == Qt::ControlModifier)
        OpenHelpFile();
    else if (held == Qt::AltModifier)
        ShowMessage(AboutText(), MessageFlags::Information);
    else
        return false;
    keyCode = 0;
    return true;
}

QString AboutText() {
    return AppTitle() + "\nVersion " + AppVersion() +
           "\n\nPlans people, rooms, vehicles and anything else that can be booked, on one board.\n\nVELKOR";
}
