#include "format/header_codec.h"

#include <cstring>

namespace yfx {
namespace {

template <typename Header, std::size_t Sections>
void encodeWith(const Header& header, std::uint8_t* out, std::size_t total) {
    std::memset(out, 0, total);
    storeU32(out + 0, header.magic);
    storeU32(out + 4, header.version);
    storeU32(out + 8, header.flags);
    storeU32(out + 12, header.size);
    for (std::size_t i = 0; i < Sections; ++i) {
        std::uint8_t* entry = out + kHeaderPrefixSize + i * kSectionEntrySize;
        storeU32(entry, static_cast<std::uint32_t>(header.sections[i].count));
        storeU32(entry + 4, header.sections[i].offset);
    }
}

template <typename Header, std::size_t Sections>
bool decodeWith(const std::uint8_t* bytes, std::size_t size, std::size_t total, Header& header) {
    if (bytes == nullptr || size < total) {
        return false;
    }
    header.magic = loadU32(bytes + 0);
    header.version = loadU32(bytes + 4);
    header.flags = loadU32(bytes + 8);
    header.size = loadU32(bytes + 12);
    for (std::size_t i = 0; i < Sections; ++i) {
        const std::uint8_t* entry = bytes + kHeaderPrefixSize + i * kSectionEntrySize;
        header.sections[i].count = static_cast<std::int32_t>(loadU32(entry));
        header.sections[i].offset = loadU32(entry + 4);
    }
    return true;
}

} // namespace

void encodeHeader(const FileHeader& header, std::uint8_t* out) {
    encodeWith<FileHeader, kSectionCount>(header, out, kHeaderSize);
}

void encodeHeader(const FileHeaderV2& header, std::uint8_t* out) {
    encodeWith<FileHeaderV2, kV2SectionCount>(header, out, kHeaderSizeV2);
}

bool decodeHeader(const std::uint8_t* bytes, std::size_t size, FileHeader& header) {
    return decodeWith<FileHeader, kSectionCount>(bytes, size, kHeaderSize, header);
}

bool decodeHeader(const std::uint8_t* bytes, std::size_t size, FileHeaderV2& header) {
    return decodeWith<FileHeaderV2, kV2SectionCount>(bytes, size, kHeaderSizeV2, header);
}

} // namespace yfx
