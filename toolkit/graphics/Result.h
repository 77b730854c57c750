#pragma once

#include <string>
#include <utility>

// The outcome of something that can fail on outside input (decoding an image, reading a file):
// success, or failure with a message that says what is wrong. Nothing that decodes throws.
struct TResult {
    bool Ok = true;
    std::string Message;

    static TResult Success() { return {}; }
    static TResult Failure(std::string message) { return {false, std::move(message)}; }
    explicit operator bool() const { return Ok; }
};
