#pragma once
// Standard output and error of a program started from a console, a script or
// a pipe. The program has no console of its own: it writes to the handles it
// was started with, or else to its parent's console.
#include <windows.h>

#include <string_view>

namespace platform {

enum class StandardStream { Output, Error };

class Console {
public:
    virtual ~Console() = default;
    // Writes `text`, whose bytes are in `codePage`: as they are into a file
    // or pipe, as characters onto a console. False when the stream is missing
    // or refuses them.
    virtual bool Write(StandardStream stream, std::string_view text, UINT codePage) = 0;
};

Console& RealConsole();

}  // namespace platform
