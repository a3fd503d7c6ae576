// First-match lookup of surfaces or materials by their colour and opacity
// texture paths, so that merging a long list costs one hash lookup per entry
// instead of a scan of everything merged so far.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

namespace yfx {
namespace prepare {

// Entries are added in list order with their own colour and opacity paths (an
// empty or null path is absent). find answers what a scan of the entries in
// order would: with both paths asked for, the first entry with the same two
// paths; with the colour path alone, the first entry with that colour path
// whatever its opacity path; with the opacity path alone likewise; with
// neither, -1. Paths are equal when they are equal after folding ASCII
// letters to lower case (compareNoCase); other characters compare as they are.
class TexturePairIndex {
public:
    std::int32_t find(const wchar_t* colour, const wchar_t* opacity) const;

    // Records entry index; an earlier entry with the same key keeps its
    // place. May throw std::bad_alloc, after which the index may know the
    // entry under some of its keys only: its owner gives it up then.
    void add(const wchar_t* colour, const wchar_t* opacity, std::int32_t index);

    void reserve(std::size_t entries);

private:
    using Map = std::unordered_map<std::wstring, std::int32_t>;
    Map by_both_;    // folded colour, a zero character, folded opacity
    Map by_colour_;  // folded colour
    Map by_opacity_; // folded opacity
};

} // namespace prepare
} // namespace yfx
