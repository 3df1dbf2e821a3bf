#pragma once

// Standard message box values: buttons in the low bits, then icon, then default button.
namespace MessageFlags {
constexpr int OkOnly = 0, OkCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
constexpr int buttonMask = 7;
constexpr int iconMask = 0x70;
constexpr int defaultMask = 0x300;
} // namespace MessageFlags

namespace MessageResult {
constexpr int Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
} // namespace MessageResult

// The result of the button that the flags make the default one.
int defaultResult(int flags);
