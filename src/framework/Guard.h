#pragma once

namespace fw {

// No exception may leave a window procedure or any other function the system calls
// back: the system's own frames between the message loop and the handler cannot be
// unwound. A handler that throws (memory running out included) makes its message fail
// quietly with the given result, and nothing it had not finished is written.
template <typename Result, typename Handler>
Result CallGuarded(Result failed, Handler&& handler) noexcept
{
    try {
        return handler();
    } catch (...) {
        return failed;
    }
}

} // namespace fw
