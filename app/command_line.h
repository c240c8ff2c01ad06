#pragma once
// The program started with a switch: one job done without a window or a
// message box, for scripts that look after many PCs. What it did goes to the
// standard streams; the exit code tells how it went.
#include <optional>
#include <string>
#include <vector>

#include "platform/console.h"

// Exit codes of a job.
constexpr int kAllDone = 0;
constexpr int kStepFailed = 1;  // each failure is one line on standard error
constexpr int kBadUsage = 2;

// Runs the job `arguments` (those after the program's name) ask for and
// gives its exit code; nothing when there are none and the window is to open.
std::optional<int> RunCommandLine(const std::vector<std::string>& arguments,
                                  platform::Console& console = platform::RealConsole());
