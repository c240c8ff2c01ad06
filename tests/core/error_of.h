#pragma once
// What a step of a test throws, for comparing with the message the user sees.
#include <functional>
#include <string>

#include "core/app_error.h"

// The message of the AppError `action` throws, "" when it throws none.
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.what();
    }
    return "";
}
