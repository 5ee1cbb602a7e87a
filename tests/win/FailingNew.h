#pragma once
#include <cstddef>

namespace wintest {

// While one of these lives, every allocation larger than the given number of bytes,
// after the first `allowed` of them, fails with std::bad_alloc, as when a 32-bit process
// runs out of room.
class FailLargeAllocations {
public:
    explicit FailLargeAllocations(std::size_t bytes, int allowed = 0);
    ~FailLargeAllocations();
    FailLargeAllocations(const FailLargeAllocations&) = delete;
    FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};

} // namespace wintest
