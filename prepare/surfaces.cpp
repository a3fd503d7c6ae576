#include "prepare/surfaces.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "normalise/index_checks.h"
#include "platform/path.h"
#include "prepare/texture_pair_index.h"

namespace yfx {
namespace prepare {

namespace {

using normalise::indexIn;

bool samePath(const WideName& a, const WideName& b) {
    return compareNoCase(a.text, b.text) == 0;
}

// The mesh's surfaces merged by texture through the index; the polygons'
// material indices follow. Throws std::bad_alloc before the mesh is changed.
void mergeSurfacesOf(DocMesh& mesh) {
    const std::vector<DocSurface>& old = mesh.surfaces;
    std::vector<DocSurface> merged;
    std::vector<std::int32_t> newIndex(old.size());
    TexturePairIndex index;
    merged.reserve(old.size());
    index.reserve(old.size());
    for (std::size_t i = 0; i < old.size(); ++i) {
        const DocSurface& s = old[i];
        std::int32_t j = index.find(s.colour_path.text, s.opacity_path.text);
        if (j < 0) {
            j = static_cast<std::int32_t>(merged.size());
            merged.push_back(s); // no allocation: room reserved
            index.add(s.colour_path.text, s.opacity_path.text, j);
        }
        newIndex[i] = j;
    }
    for (DocPolygon& polygon : mesh.polygons) {
        polygon.material = indexIn(polygon.material, old.size())
                               ? newIndex[static_cast<std::size_t>(polygon.material)]
                               : -1;
    }
    mesh.surfaces = std::move(merged);
}

} // namespace

std::int32_t findMeshSurface(const std::vector<DocSurface>& list, const DocSurface& s) {
    const bool haveColour = !s.colour_path.empty();
    const bool haveOpacity = !s.opacity_path.empty();
    if (list.empty() || (!haveColour && !haveOpacity)) {
        return -1;
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const DocSurface& t = list[i];
        bool matches;
        if (haveColour && haveOpacity) {
            matches =
                samePath(t.colour_path, s.colour_path) && samePath(t.opacity_path, s.opacity_path);
        } else if (haveColour) {
            matches = samePath(t.colour_path, s.colour_path);
        } else {
            matches = samePath(t.opacity_path, s.opacity_path);
        }
        if (matches) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::int32_t findOrAddMeshSurface(std::vector<DocSurface>& list, const wchar_t* name,
                                  const DocSurface& s) {
    const std::int32_t found = findMeshSurface(list, s);
    if (found >= 0) {
        return found;
    }
    try {
        list.push_back(s);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (name != nullptr) {
        list.back().name.set(name);
    }
    return static_cast<std::int32_t>(list.size() - 1);
}

void mergeMeshSurfaces(SceneDoc& doc) {
    for (DocMesh& mesh : doc.meshes) {
        if (mesh.surfaces.size() < 2) {
            continue;
        }
        try {
            mergeSurfacesOf(mesh);
        } catch (const std::bad_alloc&) {
            return; // this mesh is unchanged; the meshes before it stay merged
        }
    }
}

void collectSurfaces(SceneDoc& doc) {
    std::size_t total = 0;
    for (const DocMesh& mesh : doc.meshes) {
        total += mesh.surfaces.size();
    }
    if (total > 0) {
        // Built aside, so that a failed allocation leaves the document as it was.
        std::vector<DocSurface> collected;
        try {
            collected.reserve(total);
        } catch (const std::bad_alloc&) {
            return;
        } catch (const std::length_error&) {
            return;
        }
        for (const DocMesh& mesh : doc.meshes) {
            for (const DocSurface& s : mesh.surfaces) {
                collected.push_back(s); // no allocation: room reserved
                collected.back().face_count = 0;
                collected.back().uv_set_index = 0;
            }
        }
        doc.surfaces = std::move(collected);
    }

    // A material index that names no surface of its own mesh becomes -1
    // rather than being shifted onto a surface of some other mesh.
    std::size_t offset = 0;
    for (DocMesh& mesh : doc.meshes) {
        const std::size_t count = mesh.surfaces.size();
        for (DocPolygon& polygon : mesh.polygons) {
            polygon.material = indexIn(polygon.material, count)
                                   ? static_cast<std::int32_t>(offset + polygon.material)
                                   : -1;
        }
        offset += count;
        std::vector<DocSurface>().swap(mesh.surfaces);
    }
}

} // namespace prepare
} // namespace yfx
