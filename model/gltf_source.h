// A glTF 2 file read beside Assimp, for what Assimp 5.2 loses on the way: the
// JSON document (of a .gltf file, or of a .glb container's JSON chunk), its
// buffers (the container's BIN chunk, .bin files beside the model, base64
// data: URIs, each loaded when first needed) and its accessors read as
// numbers. Every count, offset, stride and index comes from the file and is
// checked against what is there before it is used: a malformed file gives a
// reason, never a read outside the bytes or an allocation larger than the
// bytes it describes.
#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

namespace yfx {
namespace model {

// glTF's component types.
enum GltfComponent : int {
    kGltfByte = 5120,
    kGltfUnsignedByte = 5121,
    kGltfShort = 5122,
    kGltfUnsignedShort = 5123,
    kGltfUnsignedInt = 5125,
    kGltfFloat = 5126,
};

// An accessor's elements as numbers, `components` per element; a normalised
// integer as the number it stands for (an unsigned byte c as c / 255, a
// signed short as max(c / 32767, -1), ...), other integers as they are.
struct GltfNumbers {
    int componentType = 0;
    bool normalized = false;
    int components = 0;
    std::size_t count = 0;
    std::vector<double> values; // count * components
};

class GltfSource {
public:
    // Reads the file (JSON, or a binary container when it starts with the
    // container's magic); external buffers are looked for in its folder.
    bool load(const QString& path, std::string& error);
    // The same from bytes already read; `folder` is where external buffers are.
    bool parse(const QByteArray& bytes, const QString& folder, std::string& error);

    const nlohmann::json& document() const { return m_doc; }

    // Element `index` of the top-level array `name` when it is an object, else null.
    const nlohmann::json* item(const char* name, std::size_t index) const;
    // The size of the top-level array `name` (0 when there is none).
    std::size_t itemCount(const char* name) const;

    // The component type an accessor declares, 0 when it declares none.
    int componentTypeOf(std::size_t accessor) const;
    // Reads accessor `index`; false with `error` when it cannot be read
    // (a reference out of range, data outside its buffer view or buffer, a
    // stride smaller than an element, a buffer that cannot be loaded, or a
    // layout this reader leaves to Assimp: sparse accessors, accessors without
    // a buffer view, matrices of 8- or 16-bit components).
    bool readAccessor(std::size_t index, GltfNumbers& out, std::string& error);

private:
    struct Buffer {
        bool tried = false;
        std::string error;
        QByteArray bytes;
    };
    const QByteArray* buffer(std::size_t index, std::string& error);

    nlohmann::json m_doc;
    QString m_folder;
    QByteArray m_binChunk;
    bool m_hasBinChunk = false;
    std::vector<Buffer> m_buffers;
};

// A non-negative integer member of a JSON object: false when absent or not
// such a number (`out` unchanged).
bool gltfIndex(const nlohmann::json& object, const char* key, std::size_t& out);
// An array or object member of a JSON object, else null.
const nlohmann::json* gltfArray(const nlohmann::json& object, const char* key);
const nlohmann::json* gltfObject(const nlohmann::json& object, const char* key);
// A string member, or `fallback`.
std::string gltfString(const nlohmann::json& object, const char* key, const char* fallback = "");

} // namespace model
} // namespace yfx
