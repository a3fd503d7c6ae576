#include "prepare/texture_pair_index.h"

#include "platform/name_pair.h"

namespace yfx {
namespace prepare {

namespace {

bool hasText(const wchar_t* path) {
    return path != nullptr && path[0] != 0;
}

// The path with ASCII capitals made small, read up to its terminator (and
// never past one name buffer). Two paths compare equal ignoring ASCII case
// exactly when their folded forms are equal.
std::wstring folded(const wchar_t* path) {
    std::wstring out;
    for (std::size_t i = 0; i < kNameCapacity && path[i] != 0; ++i) {
        wchar_t c = path[i];
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c + (L'a' - L'A'));
        }
        out.push_back(c);
    }
    return out;
}

// A path holds no zero character, so the zero between the two parts keeps
// ("ab", "c") and ("a", "bc") apart.
std::wstring pairKey(const wchar_t* colour, const wchar_t* opacity) {
    std::wstring key = folded(colour);
    key.push_back(L'\0');
    key += folded(opacity);
    return key;
}

std::int32_t lookup(const std::unordered_map<std::wstring, std::int32_t>& map,
                    const std::wstring& key) {
    const auto it = map.find(key);
    return it != map.end() ? it->second : -1;
}

} // namespace

std::int32_t TexturePairIndex::find(const wchar_t* colour, const wchar_t* opacity) const {
    const bool haveColour = hasText(colour);
    const bool haveOpacity = hasText(opacity);
    if (haveColour && haveOpacity) {
        return lookup(by_both_, pairKey(colour, opacity));
    }
    if (haveColour) {
        return lookup(by_colour_, folded(colour));
    }
    if (haveOpacity) {
        return lookup(by_opacity_, folded(opacity));
    }
    return -1;
}

void TexturePairIndex::add(const wchar_t* colour, const wchar_t* opacity, std::int32_t index) {
    const bool haveColour = hasText(colour);
    const bool haveOpacity = hasText(opacity);
    // emplace keeps an existing key's entry: the first entry stays the match.
    if (haveColour && haveOpacity) {
        by_both_.emplace(pairKey(colour, opacity), index);
    }
    if (haveColour) {
        by_colour_.emplace(folded(colour), index);
    }
    if (haveOpacity) {
        by_opacity_.emplace(folded(opacity), index);
    }
}

void TexturePairIndex::reserve(std::size_t entries) {
    by_both_.reserve(entries);
    by_colour_.reserve(entries);
    by_opacity_.reserve(entries);
}

} // namespace prepare
} // namespace yfx
