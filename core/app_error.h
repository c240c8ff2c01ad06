#pragma once
// The program reports failures as exceptions carrying the message the user sees.
#include <stdexcept>
#include <string>

class AppError : public std::runtime_error {
public:
    explicit AppError(const std::string& message) : std::runtime_error(message) {}

    // Fills the first "%s" of `pattern` with `argument`, taken literally.
    static AppError Format(const std::string& pattern, const std::string& argument) {
        const size_t at = pattern.find("%s");
        if (at == std::string::npos)
            return AppError(pattern);
        return AppError(pattern.substr(0, at) + argument + pattern.substr(at + 2));
    }
};
