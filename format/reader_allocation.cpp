// The allocation step between the two passes: every record array is made
// once, at its final size, from the counts the counting pass found (and so
// only for data that is really present in the file).
#include <limits>

#include "document/doc_alloc.h"
#include "format/reader_sections.h"
#include "format/reader_version_map.h"

namespace yfx {

namespace {

constexpr std::int32_t kDefaultGroupCount = 1;
constexpr std::int32_t kDefaultUVSetCount = 2;

} // namespace

int allocateRecords(Reader& r) {
    SceneDoc& doc = r.doc();
    std::int32_t* counts = doc.section_counts;
    r.setSection("allocation");

    const DocSection records[] = {kSectionLights, kSectionCameras,   kSectionMaterials,
                                  kSectionGroups, kSectionVertices,  kSectionMeshes,
                                  kSectionBones,  kSectionAnimations};
    bool any = false;
    for (DocSection kind : records) {
        any = any || counts[kind] > 0;
    }
    if (!any) {
        return r.fail("the file holds no records");
    }
    if (counts[kSectionGroups] <= 0) {
        counts[kSectionGroups] = kDefaultGroupCount;
    }
    if (counts[kSectionUVSets] <= 0) {
        counts[kSectionUVSets] = kDefaultUVSetCount;
    }

    struct Step {
        DocSection kind;
        int (*allocate)(SceneDoc&, std::int32_t);
        const char* what;
    };
    const Step steps[] = {
        {kSectionLights, allocateLights, "lights"},
        {kSectionCameras, allocateCameras, "cameras"},
        {kSectionMaterials, allocateMaterials, "materials"},
        {kSectionGroups, allocateGroups, "groups"},
        {kSectionVertices, allocateVertices, "vertices"},
        {kSectionFaceLinks, allocateFaceLinks, "face links"},
        {kSectionUVSets, allocateUVSets, "uv sets"},
        {kSectionMeshes, allocateMeshes, "meshes"},
        {kSectionBones, allocateBones, "bones"},
        {kSectionAnimations, allocateAnimations, "animations"},
    };
    for (const Step& step : steps) {
        if (counts[step.kind] > 0 && !step.allocate(doc, counts[step.kind])) {
            return r.fail(std::string("cannot allocate ") + step.what);
        }
    }

    // Before version 30 the UV coordinates sit inside the polygons: every UV
    // set gets one entry per polygon corner of the whole file. (Animation
    // tracks are sized when each animation's track count is read.)
    if (!hasUVSections(r.version)) {
        if (r.corner_total > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return r.fail("too many polygon corners");
        }
        const std::int32_t corners = static_cast<std::int32_t>(r.corner_total);
        doc.legacy_uv_count = corners;
        if (corners >= 1) {
            for (DocUVSet& set : doc.uvsets) {
                if (!allocateUVs(set, corners)) {
                    return r.fail("cannot allocate UVs");
                }
            }
        }
    }
    return kLoadOk;
}

} // namespace yfx
