#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <Qt>
#include <optional>

class QAbstractItemView;
class QWidget;

// The kind of an entry field; any other value means no restriction.
namespace InputKind {
enum Kind { Integer = 1, Number = 2, Time = 3, Date = 4, PositiveInteger = 5, PositiveNumber = 6 };
}

// Leaves control keys (below 32) and characters the kind accepts alone and returns true; otherwise
// sets the key code to 0, so that the key is dropped, and returns false.
bool FilterKeyPress(int& keyCode, int kind);
// True when every character of the text is accepted for the kind; an empty text is valid.
bool IsValidInput(const QString& text, int kind);
// Checks a field's text when the field is left. Times and dates are rewritten in the locale's short
// form; false is returned for an invalid text, which is emptied unless it is a time or a date (those
// stay as typed, for the user to mend). Kinds outside 1 to 6 always pass.
bool ValidateField(QString& text, int kind);

// Bare digits typed into a date field, day first ("311299", "01022004"), become the date in the
// locale's short form and true is returned. A text that already is a date is left alone and gives
// false, as does anything that makes no date.
bool NormalizeDate(QString& value);
// Digits typed into a time field ("9", "1745") or decimal hours ("8.5") become the time and true is
// returned; a text that already is a time is left alone and also gives true.
bool NormalizeTime(QString& value);

// The value of a field's text: a number with "." or "," as decimal separator.
std::optional<double> FieldNumber(const QString& text);
// A date in the locale's short or long form, with a month name ("1 Dec 2026", "01-Dec-2026"), in ISO
// form (2026-12-01), or as day.month.year or day/month/year; two-digit years 00-29 mean 20xx, 30-99 19xx.
std::optional<QDate> FieldDate(const QString& text);
// A date in the locale's short form, which FieldDate reads back as the same date: years outside
// 1930-2029 are written with four digits.
QString FieldDateText(const QDate& date);
// A time of day as a field shows it: without seconds when it has none, else with them.
QString FieldTimeText(const QTime& time);
// A time in the locale's short or long form or as hours:minutes[:seconds].
std::optional<QTime> FieldTime(const QString& text);

// Typing a character in a list selects the next entry, after the current one and round to the top,
// whose text holds that character (in any letter case) at charIndex (0-based). On a match every
// other entry is deselected, the key code set to 0 and true returned.
bool ListTypeAhead(QAbstractItemView* list, int& keyCode, int charIndex);

// Focus colours: the tool tip colours while focused; a text field's whole text is selected.
void FieldGotFocus(QWidget* field);
void FieldLostFocus(QWidget* field);

// The key handler every dialog shares: F1 opens the manual, Ctrl+F1 the help text, Alt+F1 the about
// box. A handled key code is set to 0 and true returned.
bool HandleDialogKey(int& keyCode, Qt::KeyboardModifiers modifiers);
QString AboutText();
