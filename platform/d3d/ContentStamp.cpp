#include "platform/d3d/ContentStamp.h"

#include <atomic>

namespace {
std::atomic<std::uint64_t> LastContentStamp{0};
} // namespace

std::uint64_t NewContentStamp() {
    return LastContentStamp.fetch_add(1, std::memory_order_relaxed) + 1;
}
