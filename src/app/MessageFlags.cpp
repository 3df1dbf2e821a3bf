#include "MessageFlags.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<int> buttonResults(int flags) {
    using namespace MessageResult;
    switch (flags & MessageFlags::buttonMask) {
    case MessageFlags::OkCancel:
        return {Ok, Cancel};
    case MessageFlags::AbortRetryIgnore:
        return {Abort, Retry, Ignore};
    case MessageFlags::YesNoCancel:
        return {Yes, No, Cancel};
    case MessageFlags::YesNo:
        return {Yes, No};
    case MessageFlags::RetryCancel:
        return {Retry, Cancel};
    default:
        return {Ok};
    }
}
} // namespace

int defaultResult(int flags) {
    const std::vector<int> results = buttonResults(flags);
    const int index = (flags & MessageFlags::defaultMask) >> 8;
    return results[std::min<std::size_t>(index, results.size() - 1)];
}
