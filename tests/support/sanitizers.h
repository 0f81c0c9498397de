#pragma once

// Defined when the tests are built with AddressSanitizer or ThreadSanitizer,
// whose own reservations of address space do not fit a small `ulimit -v`.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define UNDER_A_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define UNDER_A_SANITIZER 1
#endif
#endif
