#include "import/group_bones.h"

#include "normalise/index_checks.h"
#include "util/nearest_segment.h"

#include <cmath>
#include <limits>

namespace yfx {
namespace importer {

namespace {

using normalise::indexIn;

// Calls visit(groupBuild, position) for every corner vertex of every polygon
// that names a group.
template <class Visit> void forEachGroupCorner(SceneDoc& doc, Visit visit) {
    const std::size_t groupCount = doc.group_builds.size();
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (!indexIn(polygon.group, groupCount)) {
                continue;
            }
            DocGroupBuild& build = doc.group_builds[std::size_t(polygon.group)];
            for (const DocCorner& corner : polygon.corners) {
                if (indexIn(corner.vertex, doc.vertices.size())) {
                    visit(build, doc.vertices[std::size_t(corner.vertex)].position);
                }
            }
        }
    }
}

// The bone whose head-to-tail segment is nearest to the point; bone 0 when
// none has a finite distance to it.
std::int32_t nearestBone(const NearestSegmentIndex& bones, const float centre[3]) {
    const std::int32_t bone = bones.nearest(centre);
    return bone >= 0 ? bone : 0;
}

NearestSegmentIndex boneSegments(const SceneDoc& doc) {
    std::vector<float> ends;
    ends.reserve(6 * doc.bones.size());
    for (const DocBone& bone : doc.bones) {
        ends.insert(ends.end(), bone.head, bone.head + 3);
        ends.insert(ends.end(), bone.tail, bone.tail + 3);
    }
    return NearestSegmentIndex(ends.data(), doc.bones.size());
}

} // namespace

int measureGroups(SceneDoc& doc) {
    if (doc.groups.empty() || doc.meshes.empty() || doc.vertices.empty()) {
        return 0;
    }
    const float big = std::numeric_limits<float>::max();
    std::vector<char> measured(doc.group_builds.size(), 0);
    for (DocGroupBuild& build : doc.group_builds) {
        for (int k = 0; k < 3; ++k) {
            build.size[k] = build.centre[k] = 0.0f;
            build.minimum[k] = big;
            build.maximum[k] = -big;
        }
        build.radius = 0.0f;
    }
    forEachGroupCorner(doc, [&](DocGroupBuild& build, const float* p) {
        measured[std::size_t(&build - doc.group_builds.data())] = 1;
        for (int k = 0; k < 3; ++k) {
            build.minimum[k] = std::fmin(build.minimum[k], p[k]);
            build.maximum[k] = std::fmax(build.maximum[k], p[k]);
        }
    });
    for (std::size_t g = 0; g < doc.group_builds.size(); ++g) {
        DocGroupBuild& build = doc.group_builds[g];
        for (int k = 0; k < 3; ++k) {
            if (!measured[g]) {
                build.minimum[k] = build.maximum[k] = 0.0f;
            }
            build.centre[k] = (build.minimum[k] + build.maximum[k]) / 2.0f;
            build.size[k] = build.maximum[k] - build.minimum[k];
        }
    }
    std::vector<float> largest(doc.group_builds.size(), 0.0f);
    forEachGroupCorner(doc, [&](DocGroupBuild& build, const float* p) {
        float squared = 0.0f;
        for (int k = 0; k < 3; ++k) {
            squared += (p[k] - build.centre[k]) * (p[k] - build.centre[k]);
        }
        float& most = largest[std::size_t(&build - doc.group_builds.data())];
        most = std::fmax(most, squared);
    });
    for (std::size_t g = 0; g < doc.group_builds.size(); ++g) {
        doc.group_builds[g].radius = largest[g] > 0.0f ? std::sqrt(largest[g]) : 0.0f;
    }
    return 1;
}

int assignGroupBones(SceneDoc& doc) {
    doc.group_builds.clear();
    if (doc.groups.empty()) {
        return 0;
    }
    doc.group_builds.resize(doc.groups.size());
    for (std::size_t g = 0; g < doc.groups.size(); ++g) {
        doc.group_builds[g].name = doc.groups[g].name;
        doc.group_builds[g].group_value = doc.groups[g].group_value;
    }
    measureGroups(doc);
    if (doc.bones.empty()) {
        return 1; // every group keeps an empty bone name
    }
    const NearestSegmentIndex bones = boneSegments(doc);
    // Every group without vertices sits at the origin: its bone is found once.
    std::int32_t originBone = -1;
    for (std::size_t g = 0; g < doc.groups.size(); ++g) {
        DocGroupBuild& build = doc.group_builds[g];
        const bool atOrigin =
            build.centre[0] == 0.0f && build.centre[1] == 0.0f && build.centre[2] == 0.0f;
        std::int32_t bone;
        if (atOrigin) {
            if (originBone < 0) {
                originBone = nearestBone(bones, build.centre);
            }
            bone = originBone;
        } else {
            bone = nearestBone(bones, build.centre);
        }
        build.bone_name = doc.bones[std::size_t(bone)].name;
    }
    return 1;
}

} // namespace importer
} // namespace yfx
