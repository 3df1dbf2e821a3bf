#pragma once

#include <QLocale>
#include <QString>

// Shell services: every call that leaves the program goes through prompts().

// Opens a document, folder or URL with the desktop's handler; true when it was handed over.
bool ShellOpen(const QString& target);

// The mailto address SendMail opens. Header values are percent-encoded, and the first header follows
// a "?", so that "&" or line breaks in a text cannot end or add a header.
QString MailtoText(const QString& to, const QString& subject = {}, const QString& body = {},
                   const QString& cc = {}, const QString& bcc = {});
bool SendMail(const QString& to, const QString& subject = {}, const QString& body = {},
              const QString& cc = {}, const QString& bcc = {});

// The user's memo file HELP.TXT in the documents folder, created empty when missing.
QString HelpFilePath();
bool OpenHelpFile();
// The manual beside the program.
bool OpenManual();

// Empty when the system reports no name.
QString ComputerName();
// The telephone country code of the locale's territory (49 Germany, 1 USA, ...); 0 when unknown.
int LocaleCountryCode(const QLocale& locale = QLocale());

// The characters that follow the switch in the text, up to the first blank, "/" or "-"; empty when
// the text does not hold the switch. The switch is found in any letter case.
QString GetSwitchValue(const QString& switchName, const QString& text);
// Looks in the upper-cased command line.
QString GetSwitchValue(const QString& switchName);

bool IsRunningInIde();
