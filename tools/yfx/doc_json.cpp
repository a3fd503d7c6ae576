#include "tools/yfx/doc_json.h"

#include "format/file_layout.h"

namespace yfx {

namespace {

void writeFloats(JsonWriter& json, const char* key, const float* values, std::size_t n) {
    json.key(key);
    json.floats(values, n);
}

void writeName(JsonWriter& json, const NamePair& name) {
    json.key("name");
    json.wideValue(name.wide);
}

void writeLights(JsonWriter& json, const SceneDoc& doc) {
    json.key("lights");
    json.beginArray();
    for (const DocLight& light : doc.lights) {
        json.beginObject();
        writeName(json, light.name);
        json.key("kind");
        json.value(light.kind);
        writeFloats(json, "position", light.transform.position, 3);
        writeFloats(json, "quaternion", light.transform.quaternion, 4);
        writeFloats(json, "colour", light.colour, 4);
        json.key("intensity");
        json.value(light.intensity);
        json.key("inner_angle");
        json.value(light.inner_angle);
        json.key("spread_angle");
        json.value(light.spread_angle);
        json.key("range_a");
        json.value(light.range_a);
        json.key("range_b");
        json.value(light.range_b);
        json.endObject();
    }
    json.endArray();
}

void writeCameras(JsonWriter& json, const SceneDoc& doc) {
    json.key("cameras");
    json.beginArray();
    for (const DocCamera& camera : doc.cameras) {
        json.beginObject();
        writeName(json, camera.name);
        json.key("word");
        json.value(camera.camera_word);
        writeFloats(json, "position", camera.transform.position, 3);
        writeFloats(json, "axes", camera.transform.axes, 9);
        writeFloats(json, "parameters", camera.parameters, 3);
        json.endObject();
    }
    json.endArray();
}

// The type's tail numbers in file order.
void writeTail(JsonWriter& json, const DocMap& map) {
    json.key("tail");
    json.beginArray();
    switch (map.map_type) {
    case kMapTypeImage:
        json.value(map.tail_int);
        json.value(map.tail_float_a);
        json.value(map.tail_float_b);
        break;
    case kMapTypeImageColour:
        json.value(map.tail_int);
        json.value(map.tail_float_a);
        json.value(map.tail_float_b);
        json.value(map.tail_float_c);
        json.value(map.tail_float_d);
        json.value(map.tail_colour);
        json.value(map.tail_extra);
        break;
    case kMapTypeImageExtra:
        json.value(map.tail_int);
        json.value(map.tail_float_a);
        json.value(map.tail_float_b);
        json.value(map.tail_int_b);
        break;
    case kMapTypeLayered:
        for (const DocMapLayer& layer : map.layers) {
            json.value(layer.layer_int);
            json.value(layer.layer_value);
            json.value(layer.layer_float);
        }
        break;
    case kMapTypeImageValue6:
    case kMapTypeImageValue7:
        json.value(map.tail_int);
        break;
    default: // type 5 has paths only; other types have no tail
        break;
    }
    json.endArray();
}

void writeMap(JsonWriter& json, const DocMap& map) {
    json.beginObject();
    json.key("channel");
    json.value(map.channel);
    json.key("type");
    json.value(map.map_type);
    json.key("flags");
    json.value(map.flags);
    writeFloats(json, "offset", map.texture_offset, 3);
    writeFloats(json, "scale", map.texture_scale, 3);
    writeFloats(json, "rotation", map.texture_rotation, 3);
    json.key("paths");
    json.beginArray();
    for (const NamePair* path : mapPaths(map)) {
        json.wideValue(path->wide);
    }
    json.endArray();
    writeTail(json, map);
    json.endObject();
}

void writeMaterials(JsonWriter& json, const SceneDoc& doc) {
    json.key("materials");
    json.beginArray();
    for (const DocMaterial& material : doc.materials) {
        json.beginObject();
        writeName(json, material.name);
        json.key("word");
        json.value(material.material_word);
        writeFloats(json, "diffuse", material.diffuse, 4);
        json.key("colours");
        json.beginArray();
        json.floats(material.colour2, 4);
        json.floats(material.colour3, 4);
        json.floats(material.colour4, 4);
        json.floats(material.colour5, 4);
        json.endArray();
        json.key("shininess");
        json.value(material.shininess);
        json.key("opacity");
        json.value(material.opacity);
        json.key("face_count");
        json.value(material.face_count);
        json.key("maps");
        json.beginArray();
        for (const std::unique_ptr<DocMap>& map : material.maps) {
            if (map) { // an empty slot holds no map
                writeMap(json, *map);
            }
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeGroups(JsonWriter& json, const SceneDoc& doc) {
    json.key("groups");
    json.beginArray();
    for (const DocGroup& group : doc.groups) {
        json.beginObject();
        writeName(json, group.name);
        json.key("value");
        json.value(group.group_value);
        json.key("members");
        json.beginArray();
        for (const DocGroupMember& member : group.members) {
            json.beginArray();
            json.value(member.material);
            json.value(member.polygon_count);
            json.endArray();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeVertices(JsonWriter& json, const SceneDoc& doc) {
    json.key("vertices");
    json.beginArray();
    for (const DocVertex& vertex : doc.vertices) {
        json.beginObject();
        writeFloats(json, "position", vertex.position, 3);
        writeFloats(json, "colour", vertex.colour, 4);
        json.key("weights");
        json.beginArray();
        for (const DocWeight& weight : vertex.weights) {
            json.beginArray();
            json.value(weight.bone);
            json.value(weight.weight);
            json.endArray();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeUVSets(JsonWriter& json, const SceneDoc& doc) {
    json.key("uvsets");
    json.beginArray();
    for (const DocUVSet& set : doc.uvsets) {
        json.beginObject();
        writeName(json, set.name);
        json.key("uvs");
        json.beginArray();
        for (const DocUV& uv : set.uvs) {
            json.beginArray();
            json.value(uv.u);
            json.value(uv.v);
            json.endArray();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writePolygon(JsonWriter& json, const DocPolygon& polygon) {
    json.beginObject();
    json.key("group");
    json.value(polygon.group);
    json.key("word2");
    json.value(polygon.word2);
    json.key("material");
    json.value(polygon.material);
    json.key("value2");
    json.value(polygon.polygon_value2);
    json.key("vertices");
    json.beginArray();
    for (const DocCorner& corner : polygon.corners) {
        json.value(corner.vertex);
    }
    json.endArray();
    json.key("uv");
    json.beginArray();
    for (int layer = 0; layer < kPolygonUVLayers; ++layer) {
        json.beginArray();
        for (const DocCorner& corner : polygon.corners) {
            json.value(corner.uv[layer].index);
        }
        json.endArray();
    }
    json.endArray();
    json.endObject();
}

void writeMeshes(JsonWriter& json, const SceneDoc& doc) {
    json.key("meshes");
    json.beginArray();
    for (const DocMesh& mesh : doc.meshes) {
        json.beginObject();
        json.key("name");
        json.wideValue(mesh.name.text);
        json.key("polygons");
        json.beginArray();
        for (const DocPolygon& polygon : mesh.polygons) {
            writePolygon(json, polygon);
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

void writeBones(JsonWriter& json, const SceneDoc& doc) {
    json.key("bones");
    json.beginArray();
    for (const DocBone& bone : doc.bones) {
        json.beginObject();
        writeName(json, bone.name);
        json.key("parent");
        json.value(bone.parent);
        writeFloats(json, "position", bone.position, 3);
        writeFloats(json, "rotation", bone.rotation, 4);
        writeFloats(json, "scale", bone.scale, 3);
        writeFloats(json, "colour", bone.colour, 4);
        json.key("weight_refs");
        json.value(bone.weight_references);
        writeFloats(json, "head", bone.head, 3);
        writeFloats(json, "tail", bone.tail, 3);
        json.endObject();
    }
    json.endArray();
}

// Keys as [time, values...].
template <typename Key>
void writeKeys(JsonWriter& json, const char* name, const std::vector<Key>& keys, std::size_t n) {
    json.key(name);
    json.beginArray();
    for (const Key& key : keys) {
        json.beginArray();
        json.value(key.time);
        for (std::size_t i = 0; i < n; ++i) {
            json.value(key.value[i]);
        }
        json.endArray();
    }
    json.endArray();
}

void writeAnimations(JsonWriter& json, const SceneDoc& doc) {
    json.key("animations");
    json.beginArray();
    for (const DocAnimation& animation : doc.animations) {
        json.beginObject();
        writeName(json, animation.name);
        json.key("start");
        json.value(animation.start_frame);
        json.key("end");
        json.value(animation.end_frame);
        json.key("fps");
        json.value(animation.frames_per_second);
        json.key("tracks");
        json.beginArray();
        for (const DocTrack& track : animation.tracks) {
            json.beginObject();
            writeKeys(json, "position", track.position_keys, 3);
            writeKeys(json, "rotation", track.rotation_keys, 4);
            writeKeys(json, "scale", track.scale_keys, 3);
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

} // namespace

std::vector<const NamePair*> mapPaths(const DocMap& map) {
    std::vector<const NamePair*> paths;
    switch (map.map_type) {
    case kMapTypeImage:
    case kMapTypeImageColour:
    case kMapTypeImageExtra:
    case kMapTypeImageValue6:
    case kMapTypeImageValue7:
        paths.push_back(&map.path);
        break;
    case kMapTypeLayered:
        for (const DocMapLayer& layer : map.layers) {
            paths.push_back(&layer.path);
        }
        break;
    case kMapTypeSixImages:
        paths.push_back(&map.path);
        for (const NamePair& more : map.more_paths) {
            paths.push_back(&more);
        }
        break;
    default:
        break;
    }
    return paths;
}

void writeDocumentJson(const SceneDoc& doc, JsonWriter& json) {
    json.beginObject();
    json.key("status");
    json.value(std::int32_t(1));
    json.key("version");
    json.value(doc.version);
    json.key("info_strings");
    json.value(doc.section_counts[kSectionInfoStrings]);
    writeLights(json, doc);
    writeCameras(json, doc);
    writeMaterials(json, doc);
    writeGroups(json, doc);
    writeVertices(json, doc);
    json.key("face_links");
    json.value(static_cast<std::uint64_t>(doc.face_links.size()));
    writeUVSets(json, doc);
    writeMeshes(json, doc);
    writeBones(json, doc);
    writeAnimations(json, doc);
    json.endObject();
}

} // namespace yfx
