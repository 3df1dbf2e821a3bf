#pragma once

#include "AppError.h"

#include <QString>
#include <exception>

namespace HandlerAnswer {
enum Answer { Abort = 0, Retry = 1, Ignore = 2 };
}

// The report text of the common exception handler.
QString exceptionReport(const QString& identity, const AppError& error);

// Shows the report (Abort/Retry/Ignore, or OK only) and returns 0 abort, 1 retry, 2 ignore.
int HandleException(const QString& identity, bool okOnly, const AppError& error);

// Turns whatever was thrown into the handler's error form.
AppError currentError();

// Runs one step under the handler: Retry runs it again, Ignore goes on after it, Abort leaves.
// Returns false when the caller is to leave through its exit.
template <typename Step> bool guardedStep(const QString& identity, Step&& step, bool okOnly = false) {
    for (;;) {
        try {
            step();
            return true;
        } catch (...) {
            switch (HandleException(identity, okOnly, currentError())) {
            case HandlerAnswer::Retry:
                continue;
            case HandlerAnswer::Ignore:
                return true;
            default:
                return false;
            }
        }
    }
}

// Runs a step whose errors are ignored by design.
template <typename Step> void ignoringErrors(Step&& step) {
    try {
        step();
    } catch (...) {
    }
}
