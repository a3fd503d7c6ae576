#include "tools/yfx/writable_doc.h"

#include "normalise/unassigned.h"

namespace yfx {

void moveUVsIntoMeshes(SceneDoc& doc) {
    if (doc.uvsets.empty()) {
        return;
    }
    for (DocMesh& mesh : doc.meshes) {
        std::size_t corners = 0;
        for (const DocPolygon& polygon : mesh.polygons) {
            corners += polygon.corners.size();
        }
        std::vector<DocUVSet> sets(kPolygonUVLayers);
        for (int k = 0; k < kPolygonUVLayers; ++k) {
            const std::vector<DocUV>* source =
                std::size_t(k) < doc.uvsets.size() ? &doc.uvsets[std::size_t(k)].uvs : nullptr;
            std::vector<DocUV>& uvs = sets[std::size_t(k)].uvs;
            uvs.reserve(source != nullptr ? corners : 0);
            for (DocPolygon& polygon : mesh.polygons) {
                for (DocCorner& corner : polygon.corners) {
                    std::int32_t& index = corner.uv[k].index;
                    if (source != nullptr && index >= 0 && std::size_t(index) < source->size()) {
                        uvs.push_back((*source)[std::size_t(index)]);
                        index = static_cast<std::int32_t>(uvs.size() - 1);
                    } else {
                        index = -1;
                    }
                }
            }
        }
        mesh.uvsets = std::move(sets);
    }
}

bool groupUngroupedPolygons(SceneDoc& doc) {
    const std::int32_t groups = static_cast<std::int32_t>(doc.groups.size());
    std::vector<DocPolygon*> ungrouped;
    for (DocMesh& mesh : doc.meshes) {
        for (DocPolygon& polygon : mesh.polygons) {
            if (polygon.group < 0 || polygon.group >= groups) {
                ungrouped.push_back(&polygon);
            }
        }
    }
    if (ungrouped.empty()) {
        return true;
    }
    // The completion pass gives every polygon with a negative group index
    // the new group; out-of-range indices are made negative first, and put
    // back if the group cannot be made.
    std::vector<std::int32_t> before;
    before.reserve(ungrouped.size());
    for (DocPolygon* polygon : ungrouped) {
        before.push_back(polygon->group);
        polygon->group = -1;
    }
    if (normalise::addUnassignedGroup(doc) != 1) {
        for (std::size_t i = 0; i < ungrouped.size(); ++i) {
            ungrouped[i]->group = before[i];
        }
        return false;
    }
    return true;
}

bool prepareForWriting(SceneDoc& doc, bool version9) {
    moveUVsIntoMeshes(doc);
    return !version9 || groupUngroupedPolygons(doc);
}

} // namespace yfx
