#include "bsVelkorHelper.h"

#include "GlobalData.h"
#include "UserPrompts.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSysInfo>
#include <QUrl>

namespace {
QString localFileUrl(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}
} // namespace

bool ShellOpen(const QString& target) {
    // A scheme of one letter would be a drive letter, not a URL.
    const QUrl url(target);
    if (url.isValid() && url.scheme().size() > 1)
        return prompts().openUrl(target);
    return prompts().openUrl(localFileUrl(target));
}

QString MailtoText(const QString& to, const QString& subject, const QString& body, const QString& cc,
                   const QString& bcc) {
    QString text = "mailto:" + QString::fromLatin1(QUrl::toPercentEncoding(to, "@,"));
    QChar separator = '?';
    const auto header = [&](const char* name, const QString& value) {
        if (value.isEmpty())
            return;
        text +=
            separator + QLatin1String(name) + '=' + QString::fromLatin1(QUrl::toPercentEncoding(value, "@,"));
        separator = '&';
    };
    header("Subject", subject);
    header("Body", body);
    header("Cc", cc);
    header("Bcc", bcc);
    return text;
}

bool SendMail(const QString& to, const QString& subject, const QString& body, const QString& cc,
              const QString& bcc) {
    return prompts().openUrl(MailtoText(to, subject, body, cc, bcc));
}

QString HelpFilePath() {
    const QString folder = GetSpecialFolder(5);
    return folder.isEmpty() ? QString() : folder + "HELP.TXT";
}

bool OpenHelpFile() {
    const QString path = HelpFilePath();
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return false;
    file.close();
    return prompts().openUrl(localFileUrl(path));
}

bool OpenManual() {
    return prompts().openUrl(localFileUrl(QCoreApplication::applicationDirPath() + "/manual.html"));
}

QString ComputerName() {
    return QSysInfo::machineHostName();
}

int LocaleCountryCode(const QLocale& locale) {
    static const QHash<QLocale::Territory, int> codes = {
        {QLocale::Germany, 49},        {QLocale::Austria, 43},       {QLocale::Switzerland, 41},
        {QLocale::Liechtenstein, 423}, {QLocale::Italy, 39},         {QLocale::UnitedStates, 1},
        {QLocale::Canada, 1},          {QLocale::UnitedKingdom, 44}, {QLocale::France, 33},
        {QLocale::Spain, 34},          {QLocale::Netherlands, 31},   {QLocale::Belgium, 32},
        {QLocale::Luxembourg, 352},    {QLocale::Denmark, 45},       {QLocale::Sweden, 46},
        {QLocale::Norway, 47},         {QLocale::Finland, 358},      {QLocale::Iceland, 354},
        {QLocale::Poland, 48},         {QLocale::Czechia, 420},      {QLocale::Slovakia, 421},
        {QLocale::Hungary, 36},        {QLocale::Slovenia, 386},     {QLocale::Croatia, 385},
        {QLocale::Romania, 40},        {QLocale::Bulgaria, 359},     {QLocale::Greece, 30},
        {QLocale::Portugal, 351},      {QLocale::Ireland, 353},      {QLocale::Malta, 356},
        {QLocale::Cyprus, 357},        {QLocale::Estonia, 372},      {QLocale::Latvia, 371},
        {QLocale::Lithuania, 370},     {QLocale::Ukraine, 380},      {QLocale::Russia, 7},
        {QLocale::Turkey, 90},         {QLocale::Israel, 972},       {QLocale::SouthAfrica, 27},
        {QLocale::Japan, 81},          {QLocale::China, 86},         {QLocale::SouthKorea, 82},
        {QLocale::India, 91},          {QLocale::Singapore, 65},     {QLocale::Australia, 61},
        {QLocale::NewZealand, 64},     {QLocale::Brazil, 55},        {QLocale::Mexico, 52},
        {QLocale::Argentina, 54},
    };
    return codes.value(locale.territory(), 0);
}

QString GetSwitchValue(const QString& switchName, const QString& text) {
    if (switchName.isEmpty())
        return {};
    const qsizetype at = text.indexOf(switchName, 0, Qt::CaseInsensitive);
    if (at < 0)
        return {};
    const qsizetype from = at + switchName.size();
    qsizetype to = from;
    while (to < text.size() && text[to] != ' ' && text[to] != '/' && text[to] != '-')
        ++to;
    return text.mid(from, to - from);
}

QString GetSwitchValue(const QString& switchName) {
    return GetSwitchValue(switchName, globals().commandLine.toUpper());
}

bool IsRunningInIde() {
    const QString path = QCoreApplication::applicationFilePath().toUpper();
    return path.contains("\\VB") || path.contains("/VB");
}
