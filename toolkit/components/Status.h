#pragma once

#include <string>
#include <utility>

// The outcome of an operation on outside input (a file, a stream, a layout): success, or a
// failure with a message meant for a person ("Cannot open file "x": No such file or directory").
class TStatus {
public:
    static TStatus Ok() { return TStatus(); }
    static TStatus Fail(std::string message) { return TStatus(std::move(message)); }

    bool IsOk() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    const std::string& Message() const { return m_message; }

private:
    TStatus() = default;
    explicit TStatus(std::string message) : m_ok(false), m_message(std::move(message)) {}

    bool m_ok = true;
    std::string m_message; // empty on success
};
