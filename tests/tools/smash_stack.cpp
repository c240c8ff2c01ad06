// Built with the program's stack protection. "smash_stack TEXT" copies TEXT
// into an eight-byte buffer on its stack; "smash_stack" alone exits with the
// low bits of its stack canary as its exit code.
#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" void* __stack_chk_guard;

namespace {

__attribute__((noinline)) void CopyIntoEightBytes(const char* text) {
    char buffer[8];
    std::strcpy(buffer, text);
    std::puts(buffer);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return static_cast<int>(reinterpret_cast<std::uintptr_t>(__stack_chk_guard));
    CopyIntoEightBytes(argv[1]);
    return 0;
}
