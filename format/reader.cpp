#include "format/reader.h"

#include <utility>

#include "platform/page_release.h"

namespace yfx {

namespace {

// A position past every image (images end before 4 GiB) when never.
std::uint64_t nextRelease(std::uint32_t position, std::uint32_t step) {
    return step == kNeverReleaseImage ? std::uint64_t(1) << 32 : std::uint64_t(position) + step;
}

} // namespace

void Reader::useImage(const std::uint8_t* data, std::uint32_t size) {
    std::vector<std::uint8_t>().swap(owned_);
    owned_inflated_.clear();
    startImage(data, size);
}

void Reader::installImage(std::vector<std::uint8_t>&& image) {
    owned_ = std::move(image);
    owned_inflated_.clear();
    startImage(owned_.data(), static_cast<std::uint32_t>(owned_.size()));
}

void Reader::installImage(ByteBuffer&& image) {
    owned_inflated_ = std::move(image);
    std::vector<std::uint8_t>().swap(owned_);
    startImage(owned_inflated_.data(), static_cast<std::uint32_t>(owned_inflated_.size()));
}

void Reader::releaseImage() {
    std::vector<std::uint8_t>().swap(owned_);
    owned_inflated_.clear();
    startImage(nullptr, 0);
}

void Reader::startImage(const std::uint8_t* data, std::uint32_t size) {
    cursor_.reset(data, size);
    released_to_ = 0;
    next_release_at_ = nextRelease(0, release_step_);
}

void Reader::setImageReleaseStep(std::uint32_t step) {
    release_step_ = step;
    next_release_at_ = nextRelease(cursor_.position(), step);
}

void Reader::releaseBehindCursor() {
    const std::uint32_t position = cursor_.position();
    std::uint8_t* owned = !owned_inflated_.empty() ? owned_inflated_.data()
                          : !owned_.empty()        ? owned_.data()
                                                   : nullptr;
    if (owned != nullptr && position > released_to_) {
        // Whole pages only: the partial page at the cursor is given back by a
        // later call, which starts where this one stopped.
        released_to_ = static_cast<std::uint32_t>(
            releaseWholePages(owned + released_to_, owned + position) - owned);
    } else {
        released_to_ = position;
    }
    cursor_.setFloor(position);
    next_release_at_ = nextRelease(position, release_step_);
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
