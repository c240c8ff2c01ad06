#pragma once
// The one way the tests look at a failure the program reports.
#include <string>

#include "core/app_error.h"

// The message of the AppError `action` throws, or "no error" when it throws none.
template <typename Action>
std::string ErrorOf(Action&& action) {
    try {
        action();
    } catch (const AppError& error) {
        return error.what();
    }
    return "no error";
}
