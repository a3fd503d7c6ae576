#include "normalise/group_members.h"

#include <algorithm>
#include <new>
#include <vector>

#include "normalise/index_checks.h"

namespace yfx {
namespace normalise {

namespace {

// Counts per material shared by all groups: only the entries a mesh touched
// are visited and reset, so the work is linear in polygons, not in groups
// times materials.
struct MaterialTally {
    std::vector<std::int32_t> count;   // one per material, zero between meshes
    std::vector<std::int32_t> touched; // materials counted for the current mesh
};

void buildMembers(const DocMesh& mesh, std::size_t materialCount, MaterialTally& tally,
                  std::vector<DocGroupMember>& members) {
    for (const DocPolygon& polygon : mesh.polygons) {
        if (!indexIn(polygon.material, materialCount)) {
            continue;
        }
        std::int32_t& n = tally.count[static_cast<std::size_t>(polygon.material)];
        if (n == 0) {
            tally.touched.push_back(polygon.material);
        }
        ++n;
    }
    std::sort(tally.touched.begin(), tally.touched.end());
    members.reserve(tally.touched.size());
    for (std::int32_t material : tally.touched) {
        members.push_back(
            DocGroupMember{material, tally.count[static_cast<std::size_t>(material)]});
    }
}

void resetTally(MaterialTally& tally) {
    for (std::int32_t material : tally.touched) {
        tally.count[static_cast<std::size_t>(material)] = 0;
    }
    tally.touched.clear();
}

} // namespace

int buildGroupMembers(SceneDoc& doc) {
    if (doc.meshes.empty() || doc.groups.empty() || doc.materials.empty()) {
        return 0;
    }
    for (DocGroup& group : doc.groups) {
        std::vector<DocGroupMember>().swap(group.members);
    }
    MaterialTally tally;
    try {
        tally.count.assign(doc.materials.size(), 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    int result = 1;
    const std::size_t built = std::min(doc.groups.size(), doc.meshes.size());
    for (std::size_t g = 0; g < built; ++g) {
        std::vector<DocGroupMember> members;
        try {
            buildMembers(doc.meshes[g], doc.materials.size(), tally, members);
            doc.groups[g].members = std::move(members);
        } catch (const std::bad_alloc&) {
            result = 0; // this group keeps its empty list
        }
        resetTally(tally);
    }
    return result;
}

} // namespace normalise
} // namespace yfx
