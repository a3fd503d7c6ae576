#include "tools/yfx/host_scene_print.h"

#include <algorithm>
#include <string>

namespace yfx {

namespace {

// Deeper nodes are indented no further, so a long chain of bones keeps its
// lines short; their depth is printed instead.
constexpr int kMaxIndent = 16;

const std::string& nameOf(const HostSceneReport& report, int node) {
    static const std::string none;
    return node >= 0 && std::size_t(node) < report.nodes.size()
               ? report.nodes[std::size_t(node)].name
               : none;
}

// "#3 "Hip"", or "none".
std::string nodeRef(const HostSceneReport& report, int node) {
    if (node < 0) {
        return "none";
    }
    return "#" + std::to_string(node) + " \"" + nameOf(report, node) + "\"";
}

// Adding +0 turns -0 into 0, so that a zero prints the same either way.
double plain(double v) {
    return v + 0.0;
}

std::string triple(const float v[3]) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", plain(v[0]), plain(v[1]), plain(v[2]));
    return text;
}

std::string triple(const double v[3]) {
    char text[96];
    std::snprintf(text, sizeof text, "(%g, %g, %g)", plain(v[0]), plain(v[1]), plain(v[2]));
    return text;
}

std::string colour(const int c[4]) {
    char text[64];
    std::snprintf(text, sizeof text, "(%d, %d, %d, %d)", c[0], c[1], c[2], c[3]);
    return text;
}

void printNodes(std::FILE* out, const HostSceneReport& report) {
    std::fprintf(out, "nodes: %d\n", int(report.nodes.size()));
    for (int index : report.treeOrder) {
        const ReportNode& node = report.nodes[std::size_t(index)];
        const int indent = 2 + 2 * std::min(node.depth, kMaxIndent);
        std::fprintf(out, "%*s#%d %s \"%s\"", indent, "", index, node.className.c_str(),
                     node.name.c_str());
        if (node.label != node.name) {
            std::fprintf(out, " label \"%s\"", node.label.c_str());
        }
        if (node.depth > kMaxIndent) {
            std::fprintf(out, " (depth %d, parent #%d)", node.depth, node.parent);
        }
        std::fputc('\n', out);
    }
}

void printShapes(std::FILE* out, const HostSceneReport& report) {
    std::fprintf(out, "shapes: %d\n", int(report.shapes.size()));
    for (const ReportShape& shape : report.shapes) {
        std::fprintf(out, "  %s of %s:", shape.className.c_str(),
                     nodeRef(report, shape.node).c_str());
        if (!shape.hasMesh) {
            std::fputs(" no facet mesh\n", out);
        } else {
            std::fprintf(out, " %d vertices, %d facets, %d uvs, %d uv sets, %d face groups",
                         shape.vertices, shape.facets, shape.uvs, shape.uvSets,
                         int(shape.faceGroups.size()));
            for (std::size_t g = 0; g < shape.faceGroups.size(); ++g) {
                std::fprintf(out, "%s\"%s\"", g == 0 ? ": " : ", ", shape.faceGroups[g].c_str());
            }
            std::fputc('\n', out);
        }
        for (std::size_t m = 0; m < shape.materials.size(); ++m) {
            const ReportMaterial& material = shape.materials[m];
            std::fprintf(out, "    material %d \"%s\" %s: colour %s, opacity %g, %d facets\n",
                         int(m), material.name.c_str(), material.className.c_str(),
                         colour(material.colour).c_str(), plain(material.opacity), material.facets);
            for (const ReportMap& map : material.maps) {
                std::fprintf(out, "      %s map: %s\n", map.channel, map.file.c_str());
            }
        }
    }
}

void printFigures(std::FILE* out, const HostSceneReport& report) {
    std::fprintf(out, "figures: %d\n", int(report.figures.size()));
    for (const ReportFigure& figure : report.figures) {
        std::fprintf(out, "  figure %s: %d bones\n", nodeRef(report, figure.node).c_str(),
                     int(figure.bones.size()));
        for (const ReportBone& bone : figure.bones) {
            const int parent = bone.node >= 0 ? report.nodes[std::size_t(bone.node)].parent : -1;
            std::fprintf(out,
                         "    bone %s, parent %s: origin %s, end point %s, orientation %s, "
                         "rotation order %s\n",
                         nodeRef(report, bone.node).c_str(), nodeRef(report, parent).c_str(),
                         triple(bone.origin).c_str(), triple(bone.endPoint).c_str(),
                         triple(bone.orientation).c_str(), bone.rotationOrder.c_str());
        }
        if (figure.hasSkin) {
            std::fprintf(out, "    skin binding: %d bone bindings\n", int(figure.bindings.size()));
            for (const ReportBoneBinding& binding : figure.bindings) {
                std::fprintf(out, "      \"%s\" bone %s: ", binding.name.c_str(),
                             nodeRef(report, binding.bone).c_str());
                if (binding.hasWeights) {
                    std::fprintf(out, "%d weights, sum %g\n", binding.weights, binding.sum);
                } else {
                    std::fputs("no weight map\n", out);
                }
            }
        }
        if (figure.hasSelectionMap) {
            std::fprintf(out, "    selection map \"%s\": %d pairs\n",
                         figure.selectionMapName.c_str(), int(figure.pairs.size()));
            for (const ReportSelectionPair& pair : figure.pairs) {
                std::fprintf(out, "      \"%s\" -> %s\n", pair.group.c_str(),
                             nodeRef(report, pair.node).c_str());
            }
        }
    }
}

void printLights(std::FILE* out, const HostSceneReport& report) {
    std::fprintf(out, "lights: %d\n", int(report.lights.size()));
    for (const ReportLight& light : report.lights) {
        std::fprintf(out, "  %s light %s:", light.kind, nodeRef(report, light.node).c_str());
        if (light.hasIntensity) {
            std::fprintf(out, " intensity %g,", light.intensity);
        }
        if (light.hasColour) {
            std::fprintf(out, " colour %s,", colour(light.colour).c_str());
        }
        if (light.hasSpread) {
            std::fprintf(out, " spread %g,", light.spread);
        }
        std::fprintf(out, " position %s, rotation (%g, %g, %g, %g), scale %s\n",
                     triple(light.position).c_str(), plain(light.rotation[0]),
                     plain(light.rotation[1]), plain(light.rotation[2]), plain(light.rotation[3]),
                     triple(light.scale).c_str());
    }
}

void printAnimated(std::FILE* out, const HostSceneReport& report) {
    const ReportTimeLine& line = report.timeLine;
    std::fprintf(out,
                 "time line: time %d, step %d, animation range %d to %d, play range %d to %d\n",
                 line.time, line.step, line.animStart, line.animEnd, line.playStart, line.playEnd);
    std::fprintf(out, "animated properties: %d\n", int(report.animated.size()));
    for (const ReportAnimated& animated : report.animated) {
        std::fprintf(out, "  %s %s: %d keys:", nodeRef(report, animated.node).c_str(),
                     animated.property.c_str(), int(animated.keys.size()));
        for (const ReportKey& key : animated.keys) {
            if (key.hasValue) {
                std::fprintf(out, " %d=%g", key.time, plain(key.value));
            } else {
                std::fprintf(out, " %d", key.time);
            }
        }
        std::fputc('\n', out);
    }
}

void writeTriple(JsonWriter& json, const char* key, const float v[3]) {
    json.key(key);
    json.floats(v, 3);
}

void writeDoubles(JsonWriter& json, const char* key, const double* v, int count) {
    json.key(key);
    json.beginArray();
    for (int i = 0; i < count; ++i) {
        json.value(v[i]);
    }
    json.endArray();
}

void writeInts(JsonWriter& json, const char* key, const int* v, int count) {
    json.key(key);
    json.beginArray();
    for (int i = 0; i < count; ++i) {
        json.value(std::int32_t(v[i]));
    }
    json.endArray();
}

void writeNodeRef(JsonWriter& json, const char* key, const HostSceneReport& report, int node) {
    json.key(key);
    json.value(std::int32_t(node));
    json.key((std::string(key) + "_name").c_str());
    if (node >= 0) {
        json.value(nameOf(report, node));
    } else {
        json.null();
    }
}

void writeNodesJson(JsonWriter& json, const HostSceneReport& report) {
    json.key("nodes");
    json.beginArray();
    for (std::size_t i = 0; i < report.nodes.size(); ++i) {
        const ReportNode& node = report.nodes[i];
        json.beginObject();
        json.key("index");
        json.value(std::int32_t(i));
        json.key("class");
        json.value(node.className);
        json.key("name");
        json.value(node.name);
        json.key("label");
        json.value(node.label);
        json.key("parent");
        json.value(std::int32_t(node.parent));
        json.key("depth");
        json.value(std::int32_t(node.depth));
        json.endObject();
    }
    json.endArray();
}

void writeMaterialJson(JsonWriter& json, const ReportMaterial& material) {
    json.beginObject();
    json.key("class");
    json.value(material.className);
    json.key("name");
    json.value(material.name);
    writeInts(json, "colour", material.colour, 4);
    json.key("opacity");
    json.value(material.opacity);
    json.key("facets");
    json.value(std::int32_t(material.facets));
    json.key("maps");
    json.beginArray();
    for (const ReportMap& map : material.maps) {
        json.beginObject();
        json.key("channel");
        json.value(map.channel);
        json.key("file");
        json.value(map.file);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

void writeShapesJson(JsonWriter& json, const HostSceneReport& report) {
    json.key("shapes");
    json.beginArray();
    for (const ReportShape& shape : report.shapes) {
        json.beginObject();
        writeNodeRef(json, "node", report, shape.node);
        json.key("class");
        json.value(shape.className);
        json.key("name");
        json.value(shape.name);
        json.key("mesh");
        json.value(shape.hasMesh);
        json.key("vertices");
        json.value(std::int32_t(shape.vertices));
        json.key("facets");
        json.value(std::int32_t(shape.facets));
        json.key("face_groups");
        json.beginArray();
        for (const std::string& group : shape.faceGroups) {
            json.value(group);
        }
        json.endArray();
        json.key("uvs");
        json.value(std::int32_t(shape.uvs));
        json.key("uv_sets");
        json.value(std::int32_t(shape.uvSets));
        json.key("materials");
        json.beginArray();
        for (const ReportMaterial& material : shape.materials) {
            writeMaterialJson(json, material);
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeFigureJson(JsonWriter& json, const HostSceneReport& report, const ReportFigure& figure) {
    json.beginObject();
    writeNodeRef(json, "node", report, figure.node);
    json.key("bones");
    json.beginArray();
    for (const ReportBone& bone : figure.bones) {
        json.beginObject();
        writeNodeRef(json, "node", report, bone.node);
        writeNodeRef(json, "parent", report,
                     bone.node >= 0 ? report.nodes[std::size_t(bone.node)].parent : -1);
        writeTriple(json, "origin", bone.origin);
        writeTriple(json, "end_point", bone.endPoint);
        writeDoubles(json, "orientation", bone.orientation, 3);
        json.key("rotation_order");
        json.value(bone.rotationOrder);
        json.endObject();
    }
    json.endArray();
    json.key("skin_binding");
    if (!figure.hasSkin) {
        json.null();
    } else {
        json.beginObject();
        json.key("bone_bindings");
        json.beginArray();
        for (const ReportBoneBinding& binding : figure.bindings) {
            json.beginObject();
            json.key("name");
            json.value(binding.name);
            writeNodeRef(json, "bone", report, binding.bone);
            json.key("weights");
            if (binding.hasWeights) {
                json.value(std::int32_t(binding.weights));
            } else {
                json.null();
            }
            json.key("sum");
            json.value(binding.sum);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.key("selection_map");
    if (!figure.hasSelectionMap) {
        json.null();
    } else {
        json.beginObject();
        json.key("name");
        json.value(figure.selectionMapName);
        json.key("pairs");
        json.beginArray();
        for (const ReportSelectionPair& pair : figure.pairs) {
            json.beginObject();
            json.key("group");
            json.value(pair.group);
            writeNodeRef(json, "node", report, pair.node);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endObject();
}

void writeLightJson(JsonWriter& json, const HostSceneReport& report, const ReportLight& light) {
    json.beginObject();
    writeNodeRef(json, "node", report, light.node);
    json.key("kind");
    json.value(light.kind);
    json.key("intensity");
    light.hasIntensity ? json.value(light.intensity) : json.null();
    json.key("colour");
    if (light.hasColour) {
        json.beginArray();
        for (int c : light.colour) {
            json.value(std::int32_t(c));
        }
        json.endArray();
    } else {
        json.null();
    }
    json.key("spread_angle");
    light.hasSpread ? json.value(light.spread) : json.null();
    writeTriple(json, "position", light.position);
    writeDoubles(json, "rotation", light.rotation, 4);
    writeTriple(json, "scale", light.scale);
    json.endObject();
}

void writeTimeLineJson(JsonWriter& json, const ReportTimeLine& line) {
    json.key("time_line");
    json.beginObject();
    json.key("time");
    json.value(std::int32_t(line.time));
    json.key("step");
    json.value(std::int32_t(line.step));
    const int anim[2] = {line.animStart, line.animEnd};
    writeInts(json, "anim_range", anim, 2);
    const int play[2] = {line.playStart, line.playEnd};
    writeInts(json, "play_range", play, 2);
    json.endObject();
}

void writeAnimatedJson(JsonWriter& json, const HostSceneReport& report) {
    json.key("animated");
    json.beginArray();
    for (const ReportAnimated& animated : report.animated) {
        json.beginObject();
        writeNodeRef(json, "node", report, animated.node);
        json.key("property");
        json.value(animated.property);
        json.key("keys");
        json.beginArray();
        for (const ReportKey& key : animated.keys) {
            json.beginArray();
            json.value(std::int32_t(key.time));
            key.hasValue ? json.value(key.value) : json.null();
            json.endArray();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

} // namespace

void printHostSceneText(std::FILE* out, const HostSceneReport& report) {
    printNodes(out, report);
    printShapes(out, report);
    printFigures(out, report);
    printLights(out, report);
    printAnimated(out, report);
}

void writeHostSceneJson(JsonWriter& json, const HostSceneReport& report) {
    writeNodesJson(json, report);
    writeShapesJson(json, report);
    json.key("figures");
    json.beginArray();
    for (const ReportFigure& figure : report.figures) {
        writeFigureJson(json, report, figure);
    }
    json.endArray();
    json.key("lights");
    json.beginArray();
    for (const ReportLight& light : report.lights) {
        writeLightJson(json, report, light);
    }
    json.endArray();
    writeTimeLineJson(json, report.timeLine);
    writeAnimatedJson(json, report);
}

} // namespace yfx
