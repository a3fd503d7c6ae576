#include "tools/yfx/json_writer.h"

#include <cmath>
#include <cstring>

namespace yfx {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

} // namespace

std::string jsonQuoted(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

std::string jsonFloat(double number) {
    if (!std::isfinite(number)) {
        return "null";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", number);
    // A locale with a decimal comma must not leak into the output.
    for (char* p = text; *p != 0; ++p) {
        if (*p == ',') {
            *p = '.';
        }
    }
    return text;
}

void JsonWriter::separate() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) {
            raw(", ", 2);
        }
        first_.back() = false;
    }
}

void JsonWriter::raw(const char* text, std::size_t n) {
    buffer_.append(text, n);
}

void JsonWriter::flushIfLarge() {
    if (out_ != nullptr && buffer_.size() >= kFlushSize) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
            failed_ = true;
        }
        buffer_.clear();
    }
}

void JsonWriter::beginObject() {
    separate();
    raw("{", 1);
    first_.push_back(true);
}

void JsonWriter::endObject() {
    raw("}", 1);
    if (!first_.empty()) {
        first_.pop_back();
    }
    flushIfLarge();
}

void JsonWriter::beginArray() {
    separate();
    raw("[", 1);
    first_.push_back(true);
}

void JsonWriter::endArray() {
    raw("]", 1);
    if (!first_.empty()) {
        first_.pop_back();
    }
    flushIfLarge();
}

void JsonWriter::key(const char* name) {
    separate();
    raw(jsonQuoted(name != nullptr ? name : ""));
    raw(": ", 2);
    after_key_ = true;
}

void JsonWriter::value(std::int64_t number) {
    separate();
    raw(std::to_string(number));
}

void JsonWriter::value(std::uint64_t number) {
    separate();
    raw(std::to_string(number));
}

void JsonWriter::value(float number) {
    value(static_cast<double>(number));
}

void JsonWriter::value(double number) {
    separate();
    raw(jsonFloat(number));
}

void JsonWriter::value(bool flag) {
    separate();
    raw(flag ? "true" : "false");
}

void JsonWriter::value(const std::string& utf8) {
    separate();
    raw(jsonQuoted(utf8));
}

void JsonWriter::wideValue(const wchar_t* text) {
    value(wideToUtf8(text));
}

void JsonWriter::null() {
    separate();
    raw("null", 4);
}

void JsonWriter::floats(const float* values, std::size_t count) {
    beginArray();
    for (std::size_t i = 0; i < count; ++i) {
        value(values[i]);
    }
    endArray();
}

bool JsonWriter::finish() {
    if (out_ != nullptr) {
        if (!buffer_.empty() &&
            std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size()) {
            failed_ = true;
        }
        buffer_.clear();
        if (std::fflush(out_) != 0) {
            failed_ = true;
        }
    }
    return !failed_;
}

} // namespace yfx
