// The texture copy pass of texture_files.h.
#include <new>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/file_copy.h"
#include "platform/name_pair.h"
#include "platform/path.h"
#include "platform/temp_file.h"
#include "prepare/texture_files.h"

namespace yfx {
namespace prepare {

namespace {

constexpr std::int32_t kCopiedChannels = 6; // colour to normal map
constexpr std::int32_t kBitmapMap = 1;

const DocMap* firstMapOfChannel(const DocMaterial& material, std::int32_t channel) {
    for (const auto& map : material.maps) {
        if (map != nullptr && map->channel == channel) {
            return map.get();
        }
    }
    return nullptr;
}

struct Candidate {
    std::wstring source;
    std::wstring destination;
    bool namesFile = false; // the source path ends in a file name
    bool existed = false;   // something was at the destination before the pass copied anything
};

void note(TextureCopyReport* report, const Candidate& candidate, TextureSkip why) {
    if (report != nullptr) {
        report->not_copied.push_back({candidate.source, candidate.destination, why});
    }
}

// The bitmap files the materials name, each source once, in material and
// channel order, with whether its destination is taken already.
std::vector<Candidate> candidatesOf(const SceneDoc& doc, const std::wstring& directory) {
    std::vector<Candidate> out;
    std::unordered_set<std::wstring> sources;
    for (const DocMaterial& material : doc.materials) {
        for (std::int32_t channel = 0; channel < kCopiedChannels; ++channel) {
            const DocMap* map = firstMapOfChannel(material, channel);
            if (map == nullptr || map->map_type != kBitmapMap || map->path.empty()) {
                continue;
            }
            Candidate candidate;
            candidate.source = map->path.wide;
            if (!sources.insert(candidate.source).second) {
                continue; // a texture shared by several maps is copied once
            }
            const std::wstring name = fileNameOf(candidate.source);
            candidate.namesFile = !name.empty();
            candidate.destination = directory + name;
            candidate.existed = candidate.namesFile &&
                                candidate.destination.size() < kNameCapacity &&
                                hostFileExists(candidate.destination);
            out.push_back(std::move(candidate));
        }
    }
    return out;
}

void copyOne(const Candidate& candidate, TextureCopyReport* report) {
    if (candidate.destination.size() >= kNameCapacity) {
        note(report, candidate, TextureSkip::kPathTooLong);
        return;
    }
    if (!candidate.namesFile) {
        note(report, candidate, TextureSkip::kCopyFailed); // a folder, not a file
        return;
    }
    if (candidate.existed) {
        if (!sameHostFile(candidate.source, candidate.destination)) {
            note(report, candidate, TextureSkip::kAlreadyThere);
        }
        return;
    }
    switch (copyHostFileNoOverwrite(candidate.source, candidate.destination)) {
    case CopyResult::kCopied:
        if (report != nullptr) {
            report->copied.push_back(candidate.destination);
        }
        break;
    case CopyResult::kDestinationExists:
        // Free before the pass, so an earlier texture of this pass took the name.
        note(report, candidate, TextureSkip::kNameTaken);
        break;
    case CopyResult::kFailed:
        note(report, candidate, TextureSkip::kCopyFailed);
        break;
    }
}

} // namespace

int copyTexturesToTarget(const SceneDoc& doc, const std::wstring& targetPath,
                         TextureCopyReport* report) {
    if (targetPath.empty() || doc.materials.empty()) {
        return 0;
    }
    try {
        const std::wstring directory = targetDirectoryOf(targetPath);
        if (!directory.empty() && !hostDirectoryExists(directory)) {
            return 0;
        }
        // Every destination is looked at before anything is copied, so that
        // a file this pass writes is never taken for one that was there.
        const std::vector<Candidate> candidates = candidatesOf(doc, directory);
        for (const Candidate& candidate : candidates) {
            copyOne(candidate, report);
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

} // namespace prepare
} // namespace yfx
