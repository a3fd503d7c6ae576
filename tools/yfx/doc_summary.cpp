#include "tools/yfx/doc_summary.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "tools/yfx/doc_json.h"
#include "tools/yfx/json_writer.h"

namespace yfx {

namespace {

// Indentation stops growing here, so that a long bone chain cannot make the
// text grow with the square of its length; the depth is printed instead.
constexpr std::size_t kMaxIndent = 16;

void appendf(std::string& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (n > 0) {
        const std::size_t at = out.size();
        out.resize(at + std::size_t(n) + 1);
        std::vsnprintf(&out[at], std::size_t(n) + 1, format, again);
        out.resize(at + std::size_t(n));
    }
    va_end(again);
}

std::string quoted(const wchar_t* name) {
    return jsonQuoted(wideToUtf8(name));
}

// Six significant digits: enough to read, short enough to scan.
std::string num(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string vec(const float* v, int n) {
    std::string out = "(";
    for (int i = 0; i < n; ++i) {
        out += (i > 0 ? ", " : "") + num(v[i]);
    }
    return out + ")";
}

const char* lightKind(std::int32_t kind) {
    switch (kind) {
    case kLightPoint:
        return "point";
    case kLightDistant:
        return "distant";
    case kLightSpot:
        return "spot";
    default:
        return "unknown kind";
    }
}

const char* channelName(std::int32_t channel) {
    switch (channel) {
    case kChannelColour:
        return "colour";
    case kChannelOpacity:
        return "opacity";
    case kChannelBump:
        return "bump";
    case kChannelSpecular:
        return "specular";
    case kChannelTranslucency:
        return "translucency";
    case kChannelNormal:
        return "normal";
    default:
        return "unknown channel";
    }
}

void lights(std::string& out, const SceneDoc& doc) {
    appendf(out, "lights: %zu\n", doc.lights.size());
    for (std::size_t i = 0; i < doc.lights.size(); ++i) {
        const DocLight& l = doc.lights[i];
        appendf(out, "  [%zu] %s %s light at %s, intensity %s\n", i, quoted(l.name.wide).c_str(),
                lightKind(l.kind), vec(l.transform.position, 3).c_str(), num(l.intensity).c_str());
    }
}

void cameras(std::string& out, const SceneDoc& doc) {
    appendf(out, "cameras: %zu\n", doc.cameras.size());
    for (std::size_t i = 0; i < doc.cameras.size(); ++i) {
        const DocCamera& c = doc.cameras[i];
        appendf(out, "  [%zu] %s at %s, parameters %s\n", i, quoted(c.name.wide).c_str(),
                vec(c.transform.position, 3).c_str(), vec(c.parameters, 3).c_str());
    }
}

void materials(std::string& out, const SceneDoc& doc) {
    appendf(out, "materials: %zu\n", doc.materials.size());
    for (std::size_t i = 0; i < doc.materials.size(); ++i) {
        const DocMaterial& m = doc.materials[i];
        appendf(out, "  [%zu] %s, %d polygons, diffuse %s, opacity %s\n", i,
                quoted(m.name.wide).c_str(), m.face_count, vec(m.diffuse, 4).c_str(),
                num(m.opacity).c_str());
        for (const std::unique_ptr<DocMap>& map : m.maps) {
            if (!map) {
                continue;
            }
            appendf(out, "      %s map, type %d", channelName(map->channel), map->map_type);
            const std::vector<const NamePair*> paths = mapPaths(*map);
            for (std::size_t k = 0; k < paths.size(); ++k) {
                out += (k == 0 ? ": " : ", ") + quoted(paths[k]->wide);
            }
            out += "\n";
        }
    }
}

void groups(std::string& out, const SceneDoc& doc) {
    appendf(out, "groups: %zu\n", doc.groups.size());
    for (std::size_t i = 0; i < doc.groups.size(); ++i) {
        const DocGroup& g = doc.groups[i];
        appendf(out, "  [%zu] %s, %d polygons, %zu materials\n", i, quoted(g.name.wide).c_str(),
                g.group_value, g.members.size());
    }
}

void geometry(std::string& out, const SceneDoc& doc) {
    std::size_t weighted = 0;
    std::size_t weights = 0;
    for (const DocVertex& v : doc.vertices) {
        weighted += v.weights.empty() ? 0 : 1;
        weights += v.weights.size();
    }
    appendf(out, "vertices: %zu (%zu with weights, %zu weights)\n", doc.vertices.size(), weighted,
            weights);
    appendf(out, "face links: %zu\n", doc.face_links.size());
    appendf(out, "uv sets: %zu\n", doc.uvsets.size());
    for (std::size_t i = 0; i < doc.uvsets.size(); ++i) {
        appendf(out, "  [%zu] %s, %zu UVs\n", i, quoted(doc.uvsets[i].name.wide).c_str(),
                doc.uvsets[i].uvs.size());
    }
    appendf(out, "meshes: %zu\n", doc.meshes.size());
    for (std::size_t i = 0; i < doc.meshes.size(); ++i) {
        const DocMesh& m = doc.meshes[i];
        std::size_t corners = 0;
        for (const DocPolygon& p : m.polygons) {
            corners += p.corners.size();
        }
        appendf(out, "  [%zu] %s, %zu polygons, %zu corners\n", i, quoted(m.name.text).c_str(),
                m.polygons.size(), corners);
    }
}

// Bones as a tree: children under their parent, in index order. A bone whose
// parent is negative, out of range or itself is a root; bones caught in a
// parent cycle (which no root reaches) are listed after the tree.
void bones(std::string& out, const SceneDoc& doc) {
    const std::size_t n = doc.bones.size();
    appendf(out, "bones: %zu\n", n);
    std::vector<std::vector<std::size_t>> children(n);
    std::vector<std::size_t> roots;
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t parent = doc.bones[i].parent;
        if (parent < 0 || std::size_t(parent) >= n || std::size_t(parent) == i) {
            roots.push_back(i);
        } else {
            children[std::size_t(parent)].push_back(i);
        }
    }
    std::vector<bool> shown(n, false);
    struct Item {
        std::size_t bone;
        std::size_t depth;
    };
    std::vector<Item> stack;
    auto show = [&](std::size_t root) {
        stack.push_back({root, 0});
        while (!stack.empty()) {
            const Item item = stack.back();
            stack.pop_back();
            if (shown[item.bone]) {
                continue;
            }
            shown[item.bone] = true;
            const DocBone& b = doc.bones[item.bone];
            out.append(2 + 2 * (item.depth < kMaxIndent ? item.depth : kMaxIndent), ' ');
            if (item.depth >= kMaxIndent) {
                appendf(out, "(depth %zu) ", item.depth);
            }
            appendf(out, "[%zu] %s at %s, %d weights\n", item.bone, quoted(b.name.wide).c_str(),
                    vec(b.position, 3).c_str(), b.weight_references);
            const std::vector<std::size_t>& kids = children[item.bone];
            for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
                stack.push_back({*it, item.depth + 1});
            }
        }
    };
    for (std::size_t root : roots) {
        show(root);
    }
    bool cycleNoted = false;
    for (std::size_t i = 0; i < n; ++i) {
        if (!shown[i]) {
            if (!cycleNoted) {
                out += "  in a parent cycle:\n";
                cycleNoted = true;
            }
            show(i);
        }
    }
}

void animations(std::string& out, const SceneDoc& doc) {
    appendf(out, "animations: %zu\n", doc.animations.size());
    for (std::size_t i = 0; i < doc.animations.size(); ++i) {
        const DocAnimation& a = doc.animations[i];
        std::size_t position = 0, rotation = 0, scale = 0;
        for (const DocTrack& t : a.tracks) {
            position += t.position_keys.size();
            rotation += t.rotation_keys.size();
            scale += t.scale_keys.size();
        }
        appendf(out,
                "  [%zu] %s, frames %s to %s at %s fps, %zu tracks, keys: %zu position, "
                "%zu rotation, %zu scale\n",
                i, quoted(a.name.wide).c_str(), num(a.start_frame).c_str(),
                num(a.end_frame).c_str(), num(a.frames_per_second).c_str(), a.tracks.size(),
                position, rotation, scale);
    }
}

} // namespace

std::string documentSummary(const SceneDoc& doc) {
    std::string out;
    appendf(out, "version %d, %d info strings\n", doc.version,
            doc.section_counts[kSectionInfoStrings]);
    lights(out, doc);
    cameras(out, doc);
    materials(out, doc);
    groups(out, doc);
    geometry(out, doc);
    bones(out, doc);
    animations(out, doc);
    return out;
}

} // namespace yfx
