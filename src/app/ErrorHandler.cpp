#include "ErrorHandler.h"

#include "GlobalData.h"
#include "MessageFlags.h"

QString exceptionReport(const QString& identity, const AppError& error) {
    const QString crlf = "\r\n";
    QString text = "Exception handler:";
    if (error.number() < 0)
        text += QString::number(quint32(error.number()), 16).toUpper();
    else
        text += QString::number(error.number());
    if (error.line() != 0)
        text += ' ' + QString::number(error.line());
    text += "  (" + identity + ")" + crlf + crlf;
    if (!error.description().isEmpty())
        text += crlf + "Description:" + error.description();
    if (!error.source().isEmpty())
        text += crlf + "Source:" + error.source();
    text += crlf + crlf + AppTitle() + ' ' + AppVersion();
    return text;
}

int HandleException(const QString& identity, bool okOnly, const AppError& error) {
    const QString report = exceptionReport(identity, error);
    if (okOnly) {
        ShowMessage(report, MessageFlags::OkOnly | MessageFlags::Critical);
        return HandlerAnswer::Ignore;
    }
    switch (ShowMessage(report, MessageFlags::AbortRetryIgnore | MessageFlags::Critical)) {
    case MessageResult::Retry:
        return HandlerAnswer::Retry;
    case MessageResult::Ignore:
        return HandlerAnswer::Ignore;
    default:
        return HandlerAnswer::Abort;
    }
}

AppError currentError() {
    try {
        throw;
    } catch (const AppError& error) {
        return error;
    } catch (const std::bad_alloc&) {
        return AppError("Out of memory", 7);
    } catch (const std::exception& error) {
        return AppError(QString::fromLocal8Bit(error.what()), 5);
    } catch (...) {
        return AppError("Unknown error", 5);
    }
}
