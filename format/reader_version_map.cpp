#include "format/reader_version_map.h"

namespace yfx {

std::uint32_t headerWords(std::int32_t version) {
    return version >= kFirstLateVersion ? 32u : 24u;
}

NameEncoding nameEncoding(std::int32_t version) {
    return version == 10 || version >= 32 ? NameEncoding::Utf16 : NameEncoding::Ansi;
}

bool lateRecords(std::int32_t version) {
    return version >= kFirstLateVersion;
}

bool lateMaterials(std::int32_t version) {
    return version >= 31;
}

bool hasUVSections(std::int32_t version) {
    return version >= kFirstLateVersion;
}

std::uint32_t earlyUVEntryWords(std::int32_t version) {
    return version < 10 ? 3u : 2u;
}

bool earlyBoneHasScale(std::int32_t version) {
    return version >= 9;
}

bool keepsFoundTexturePaths(std::int32_t version) {
    return version == 10 || version >= 33;
}

} // namespace yfx
