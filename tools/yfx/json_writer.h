// A small streaming JSON writer for the tool's machine-readable output:
// objects, arrays, numbers, strings and null, with the commas placed for the
// caller. Floats are written with 9 significant digits (enough to give back
// the same single-precision value); a float that is not finite has no JSON
// form and is written as null. Strings are UTF-8; wide text is converted and
// every control character is escaped as \u00XX.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/utf8.h"

namespace yfx {

class JsonWriter {
public:
    // Collects the text in memory (see text()).
    JsonWriter() = default;
    // Streams the text to `out` in large blocks; the stream is not closed.
    explicit JsonWriter(std::FILE* out) : out_(out) {}
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The key of the next member of the current object.
    void key(const char* name);

    void value(std::int64_t number);
    void value(std::int32_t number) { value(static_cast<std::int64_t>(number)); }
    void value(std::uint32_t number) { value(static_cast<std::int64_t>(number)); }
    void value(std::uint64_t number);
    void value(float number);
    void value(double number);
    void value(bool flag);
    void value(const std::string& utf8);
    void value(const char* utf8) { value(std::string(utf8 != nullptr ? utf8 : "")); }
    // Zero-terminated wide text (UTF-16 or UTF-32, whatever wchar_t holds).
    void wideValue(const wchar_t* text);
    void null();

    // A whole array of floats.
    void floats(const float* values, std::size_t count);

    // Writes what is still buffered. False when any write to the stream failed.
    bool finish();
    // The text so far (memory mode).
    const std::string& text() const { return buffer_; }

private:
    void separate();
    void raw(const char* text, std::size_t n);
    void raw(const std::string& text) { raw(text.data(), text.size()); }
    void flushIfLarge();

    std::FILE* out_ = nullptr;
    std::string buffer_;
    // Per open object or array: true until its first element is written.
    std::vector<bool> first_;
    bool after_key_ = false;
    bool failed_ = false;
};

// A string with its quotes, escaped for JSON.
std::string jsonQuoted(const std::string& utf8);
// The JSON form of a float: 9 significant digits, or "null" when not finite.
std::string jsonFloat(double number);

} // namespace yfx
