#include "format/reader.h"

#include <utility>

namespace yfx {

void Reader::useImage(const std::uint8_t* data, std::uint32_t size) {
    std::vector<std::uint8_t>().swap(owned_);
    owned_inflated_.clear();
    cursor_.reset(data, size);
}

void Reader::installImage(std::vector<std::uint8_t>&& image) {
    owned_ = std::move(image);
    owned_inflated_.clear();
    cursor_.reset(owned_.data(), static_cast<std::uint32_t>(owned_.size()));
}

void Reader::installImage(ByteBuffer&& image) {
    owned_inflated_ = std::move(image);
    std::vector<std::uint8_t>().swap(owned_);
    cursor_.reset(owned_inflated_.data(), static_cast<std::uint32_t>(owned_inflated_.size()));
}

void Reader::releaseImage() {
    std::vector<std::uint8_t>().swap(owned_);
    owned_inflated_.clear();
    cursor_.reset(nullptr, 0);
}

void Reader::setSection(const char* name) {
    section_ = name;
    record_label_ = nullptr;
    part_label_ = nullptr;
}

void Reader::setRecord(const char* label, std::int64_t index) {
    record_label_ = label;
    record_ = index;
    part_label_ = nullptr;
}

void Reader::setPart(const char* label, std::int64_t index) {
    part_label_ = label;
    part_ = index;
}

std::string Reader::context() const {
    std::string text = section_ != nullptr ? section_ : "file";
    if (record_label_ != nullptr) {
        text += ": ";
        text += record_label_;
        text += ' ';
        text += std::to_string(record_);
        if (part_label_ != nullptr) {
            text += ", ";
            text += part_label_;
            text += ' ';
            text += std::to_string(part_);
        }
    }
    return text;
}

void Reader::failShort() {
    const Shortfall& s = cursor_.lastShortfall();
    fail("needs " + std::to_string(s.needed) + " bytes at offset " + std::to_string(s.offset) +
         ", " + std::to_string(s.left) + " left");
}

int Reader::fail(const std::string& what) {
    return failWith(kLoadFailed, what);
}

int Reader::failWith(int status, const std::string& what) {
    reason_ = context() + ": " + what;
    return status;
}

} // namespace yfx
