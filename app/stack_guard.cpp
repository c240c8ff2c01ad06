// The canary and the check that -fstack-protector compiles into every
// function with a buffer on its stack. GCC's own runtime seeds the canary
// through CryptoAPI, which loads a whole cryptographic provider at every
// start and makes start-up some milliseconds slower; RtlGenRandom gives the
// same randomness without it.
#include <windows.h>
#include <ntsecapi.h>

extern "C" {

void* __stack_chk_guard = nullptr;

// A function's canary changed: its stack was overrun. The process ends at
// once, with the code Windows gives a failed stack cookie check, and runs
// nothing more of its own.
[[noreturn]] void __stack_chk_fail() {
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(STATUS_STACK_BUFFER_OVERRUN));
    for (;;) {
    }
}
}

namespace {

// Runs before any constructor of the program and the libraries it links.
__attribute__((constructor(101), no_stack_protector)) void SeedStackGuard() {
    if (RtlGenRandom(&__stack_chk_guard, sizeof(__stack_chk_guard)) && __stack_chk_guard)
        return;
    // Without randomness, a canary that string copies cannot write: it holds
    // a zero byte, a line feed and 0xFF, as GCC's own runtime falls back to.
    __stack_chk_guard = reinterpret_cast<void*>(static_cast<uintptr_t>(0xff0a0000u));
}

}  // namespace
