#include "normalise/unique_names.h"

#include <cstdio>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

namespace yfx {
namespace normalise {

namespace {

// Attempts per record before its name is left as it stands.
constexpr int kMaximumAttempts = 101;

// Longest text a name form holds (the last unit is the terminator).
constexpr std::size_t kNameLimit = kNameCapacity - 1;

template <typename Char> std::size_t boundedLength(const Char* text) {
    std::size_t n = 0;
    while (n < kNameLimit && text[n] != 0) {
        ++n;
    }
    return n;
}

std::wstring wideOf(const NamePair& name) {
    return std::wstring(name.wide, boundedLength(name.wide));
}

// Renames the records of one kind; a hash of how many records currently carry
// each wide name stands in for comparing with every other record.
template <typename Record> void uniqueNamesOf(std::vector<Record>& records) {
    if (records.empty()) {
        return;
    }
    std::unordered_map<std::wstring, std::uint32_t> carriers;
    carriers.reserve(records.size());
    for (const Record& record : records) {
        ++carriers[wideOf(record.name)];
    }
    std::int64_t counter = 0;
    for (Record& record : records) {
        std::wstring current = wideOf(record.name);
        for (int attempt = 0; attempt < kMaximumAttempts; ++attempt) {
            auto found = carriers.find(current);
            if (found->second < 2) {
                break; // no other record has this name
            }
            --found->second;
            appendNumberToName(record.name, counter);
            ++counter;
            current = wideOf(record.name);
            ++carriers[current];
        }
    }
}

} // namespace

void appendNumberToName(NamePair& name, std::int64_t number) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(number));
    if (length <= 0) {
        return;
    }
    const std::size_t d = static_cast<std::size_t>(length);
    std::size_t wideAt = boundedLength(name.wide);
    std::size_t ansiAt = boundedLength(name.ansi);
    if (wideAt > kNameLimit - d) {
        wideAt = kNameLimit - d;
    }
    if (ansiAt > kNameLimit - d) {
        ansiAt = kNameLimit - d;
    }
    for (std::size_t i = 0; i < d; ++i) {
        name.wide[wideAt + i] = static_cast<wchar_t>(digits[i]);
        name.ansi[ansiAt + i] = digits[i];
    }
    name.wide[wideAt + d] = 0;
    name.ansi[ansiAt + d] = 0;
}

int makeNamesUnique(SceneDoc& doc) {
    try {
        uniqueNamesOf(doc.lights);
        uniqueNamesOf(doc.cameras);
        uniqueNamesOf(doc.bones);
        uniqueNamesOf(doc.groups);
        uniqueNamesOf(doc.materials);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

} // namespace normalise
} // namespace yfx
