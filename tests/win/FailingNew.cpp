// The test program's own allocation functions, so that a test can make large
// allocations fail anywhere in the code under test.
#include "FailingNew.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t g_failAbove = 0;
int g_allowed = 0;

} // namespace

namespace wintest {

FailLargeAllocations::FailLargeAllocations(std::size_t bytes, int allowed)
{
    g_failAbove = bytes;
    g_allowed = allowed;
}

FailLargeAllocations::~FailLargeAllocations()
{
    g_failAbove = 0;
}

} // namespace wintest

void* operator new(std::size_t size)
{
    if (g_failAbove != 0 && size > g_failAbove && g_allowed-- <= 0)
        throw std::bad_alloc();
    void* p = std::malloc(size != 0 ? size : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
