// Writing glTF 2 files in tests: the JSON document and one binary buffer built
// here (not by Assimp's writer), so that a test controls every accessor's
// component type, normalisation and layout.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include "model/gltf_source.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace modeltest {

// glTF's component types, as the model reader names them.
using yfx::model::kGltfFloat;
using yfx::model::kGltfUnsignedByte;
using yfx::model::kGltfUnsignedShort;

// Little-endian buffer building.
struct Buffer {
    std::vector<unsigned char> bytes;
    void align() {
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
    }
    template <class T> void put(T v) {
        unsigned char b[sizeof(T)];
        std::memcpy(b, &v, sizeof v);
        bytes.insert(bytes.end(), b, b + sizeof v);
    }
};

struct Gltf {
    nlohmann::json doc = {{"asset", {{"version", "2.0"}, {"generator", "yfx model tests"}}},
                          {"scene", 0},
                          {"bufferViews", nlohmann::json::array()},
                          {"accessors", nlohmann::json::array()}};
    Buffer bin;

    // A buffer view and an accessor over `count` elements just written from `start`.
    int accessor(std::size_t start, int count, int componentType, const char* type,
                 nlohmann::json minMax = nlohmann::json(), bool normalized = false);
    // Values written as floats; `bounds` adds the min and max glTF asks of positions
    // and animation times.
    int floats(const std::vector<double>& values, int components, const char* type,
               bool bounds = false);
    int shorts(const std::vector<int>& values, int components, const char* type);
    // Values written as they are (T matching the component type).
    template <class T>
    int values(const std::vector<T>& values, int componentType, const char* type, int components,
               bool normalized = false) {
        bin.align();
        const std::size_t start = bin.bytes.size();
        for (const T& v : values) {
            bin.put(v);
        }
        return accessor(start, int(values.size()) / components, componentType, type,
                        nlohmann::json(), normalized);
    }
    // Values in [0, 1] written as normalised unsigned bytes or shorts, rounded.
    int normalized(const std::vector<double>& values, int components, const char* type,
                   int componentType);
    // Adds a node, returns its index.
    int node(const nlohmann::json& n);

    // Writes NAME.gltf with NAME.bin beside it, or NAME.glb with the buffer inside;
    // returns the model's path.
    std::string save(const std::string& folder, const std::string& name, bool glb = false);
    // The bytes of the model file at `path`: a GLB with the buffer inside, or the
    // glTF JSON (then the buffer is written beside `path` as NAME.bin, and named
    // so unless the document names its buffers itself).
    QByteArray bytes(const QString& path, bool glb) const;
    void write(const QString& path, bool glb) const;
};

// Column-major 4x4 of a transform given as rows of a 3x4 (rotation/scale and translation).
nlohmann::json matrixJson(const double r[3][3], const double t[3]);

} // namespace modeltest
