#pragma once
// The error types of every program here. Handlers catch exactly the type a behaviour names:
// answer parsers catch EConvertError and let every other Exception pass.
#include <stdexcept>
#include <string>

namespace varmo {

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

class EConvertError : public Exception {
public:
    explicit EConvertError(const std::string& message) : Exception(message) {}
};

}  // namespace varmo
