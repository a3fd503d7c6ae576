#include "normalise/unassigned.h"

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "document/doc_append.h"

namespace yfx {
namespace normalise {

namespace {

// Index shift for a record put in front of the others: none (negative)
// becomes the new record 0, every other index moves up by one.
std::int32_t shiftedIndex(std::int32_t index) {
    return index < 0 ? 0 : index + 1;
}

template <typename Field> bool anyPolygonWithout(const SceneDoc& doc, Field field) {
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (polygon.*field < 0) {
                return true;
            }
        }
    }
    return false;
}

template <typename Field> std::int32_t polygonsNamingFirst(const SceneDoc& doc, Field field) {
    std::int32_t n = 0;
    for (const DocMesh& mesh : doc.meshes) {
        for (const DocPolygon& polygon : mesh.polygons) {
            if (polygon.*field == 0) {
                ++n;
            }
        }
    }
    return n;
}

// A new array holding first and then the old records, moved in order. The
// old array is given up only once the new one is complete; on failure the
// records are left as they were and the result is false.
template <typename Record> bool prepend(std::vector<Record>& records, Record&& first) {
    std::vector<Record> grown;
    try {
        grown.reserve(records.size() + 1);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    grown.push_back(std::move(first));
    for (Record& record : records) {
        grown.push_back(std::move(record));
    }
    records = std::move(grown);
    return true;
}

} // namespace

int addUnassignedGroup(SceneDoc& doc) {
    if (!doc.groups.empty()) {
        if (!anyPolygonWithout(doc, &DocPolygon::group)) {
            return 1;
        }
        SceneDoc scratch; // the new group comes from the document operation
        if (addGroup(scratch, L"Unassigned") == nullptr) {
            return 0;
        }
        scratch.groups[0].name.setAnsi("Unassigned");
        if (!prepend(doc.groups, std::move(scratch.groups[0]))) {
            return 0;
        }
        for (DocMesh& mesh : doc.meshes) {
            for (DocPolygon& polygon : mesh.polygons) {
                polygon.group = shiftedIndex(polygon.group);
                polygon.word2 = shiftedIndex(polygon.word2);
            }
        }
    } else {
        if (addGroup(doc, L"Unassigned") == nullptr) {
            return 0;
        }
        for (DocMesh& mesh : doc.meshes) {
            for (DocPolygon& polygon : mesh.polygons) {
                if (polygon.group < 0) {
                    polygon.group = 0;
                }
                if (polygon.word2 < 0) {
                    polygon.word2 = 0;
                }
            }
        }
    }
    doc.groups[0].group_value = polygonsNamingFirst(doc, &DocPolygon::group);
    return 1;
}

int addUnassignedMaterial(SceneDoc& doc) {
    if (!doc.materials.empty()) {
        if (!anyPolygonWithout(doc, &DocPolygon::material)) {
            return 1;
        }
        SceneDoc scratch; // the new material comes from the document operation
        if (yfx::addUnassignedMaterial(scratch) == nullptr) {
            return 0;
        }
        if (!prepend(doc.materials, std::move(scratch.materials[0]))) {
            return 0;
        }
        for (DocMesh& mesh : doc.meshes) {
            for (DocPolygon& polygon : mesh.polygons) {
                polygon.material = shiftedIndex(polygon.material);
            }
        }
        for (DocGroup& group : doc.groups) {
            for (DocGroupMember& member : group.members) {
                member.material = shiftedIndex(member.material);
            }
        }
    } else {
        if (yfx::addUnassignedMaterial(doc) == nullptr) {
            return 0;
        }
        for (DocMesh& mesh : doc.meshes) {
            for (DocPolygon& polygon : mesh.polygons) {
                if (polygon.material < 0) {
                    polygon.material = 0;
                }
            }
        }
    }
    doc.materials[0].face_count = polygonsNamingFirst(doc, &DocPolygon::material);
    return 1;
}

} // namespace normalise
} // namespace yfx
