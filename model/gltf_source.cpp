#include "model/gltf_source.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QUrl>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

namespace yfx {
namespace model {

using nlohmann::json;

namespace {

constexpr std::uint32_t kGlbMagic = 0x46546C67; // "glTF"
constexpr std::uint32_t kChunkJson = 0x4E4F534A;
constexpr std::uint32_t kChunkBin = 0x004E4942;
constexpr std::size_t kMaxStride = 252; // the largest byteStride glTF allows

std::uint32_t u32At(const QByteArray& bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::size_t componentSize(int type) {
    switch (type) {
    case kGltfByte:
    case kGltfUnsignedByte:
        return 1;
    case kGltfShort:
    case kGltfUnsignedShort:
        return 2;
    case kGltfUnsignedInt:
    case kGltfFloat:
        return 4;
    default:
        return 0;
    }
}

int componentCount(const std::string& type) {
    static const struct {
        const char* name;
        int count;
    } types[] = {{"SCALAR", 1}, {"VEC2", 2}, {"VEC3", 3}, {"VEC4", 4},
                 {"MAT2", 4},   {"MAT3", 9}, {"MAT4", 16}};
    for (const auto& t : types) {
        if (type == t.name) {
            return t.count;
        }
    }
    return 0;
}

// One component at `p`, little-endian, as the number it stands for.
double componentValue(const unsigned char* p, int type, bool normalized) {
    switch (type) {
    case kGltfByte: {
        const double c = double(std::int8_t(p[0]));
        return normalized ? std::max(c / 127.0, -1.0) : c;
    }
    case kGltfUnsignedByte:
        return normalized ? p[0] / 255.0 : double(p[0]);
    case kGltfShort: {
        const double c = double(std::int16_t(std::uint16_t(p[0] | p[1] << 8)));
        return normalized ? std::max(c / 32767.0, -1.0) : c;
    }
    case kGltfUnsignedShort: {
        const double c = double(std::uint16_t(p[0] | p[1] << 8));
        return normalized ? c / 65535.0 : c;
    }
    case kGltfUnsignedInt:
        return double(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24);
    default: {
        const std::uint32_t bits = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                   std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return double(f);
    }
    }
}

int base64Digit(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    return c == '+' || c == '-' ? 62 : c == '/' || c == '_' ? 63 : -1;
}

// Strict base64 (either alphabet, '=' padding only at the end).
bool decodeBase64(const std::string& text, std::size_t from, QByteArray& out) {
    std::size_t end = text.size();
    while (end > from && text[end - 1] == '=') {
        --end;
    }
    if (text.size() - end > 2) {
        return false;
    }
    out.clear();
    out.reserve(int(std::min<std::size_t>((end - from) / 4 * 3 + 3, std::size_t(INT32_MAX))));
    std::uint32_t bits = 0;
    int held = 0;
    for (std::size_t i = from; i < end; ++i) {
        const int d = base64Digit(text[i]);
        if (d < 0) {
            return false;
        }
        bits = (bits << 6) | std::uint32_t(d);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out.append(char((bits >> held) & 0xff));
        }
    }
    return held < 6; // a lone digit cannot end the data
}

} // namespace

bool gltfIndex(const json& object, const char* key, std::size_t& out) {
    if (!object.is_object()) {
        return false;
    }
    const auto it = object.find(key);
    if (it == object.end()) {
        return false;
    }
    if (it->is_number_unsigned()) {
        const std::uint64_t v = it->get<std::uint64_t>();
        if (v > std::numeric_limits<std::size_t>::max() / 2) {
            return false;
        }
        out = std::size_t(v);
        return true;
    }
    if (it->is_number_integer() && it->get<std::int64_t>() >= 0) {
        out = std::size_t(it->get<std::int64_t>());
        return true;
    }
    return false;
}

const json* gltfArray(const json& object, const char* key) {
    const auto it = object.is_object() ? object.find(key) : object.end();
    return it != object.end() && it->is_array() ? &*it : nullptr;
}

const json* gltfObject(const json& object, const char* key) {
    const auto it = object.is_object() ? object.find(key) : object.end();
    return it != object.end() && it->is_object() ? &*it : nullptr;
}

std::string gltfString(const json& object, const char* key, const char* fallback) {
    if (object.is_object()) {
        const auto it = object.find(key);
        if (it != object.end() && it->is_string()) {
            return it->get<std::string>();
        }
    }
    return fallback;
}

bool GltfSource::load(const QString& path, std::string& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = "cannot open the file";
        return false;
    }
    return parse(file.readAll(), QFileInfo(path).absolutePath(), error);
}

bool GltfSource::parse(const QByteArray& bytes, const QString& folder, std::string& error) {
    m_folder = folder;
    m_buffers.clear();
    m_binChunk.clear();
    m_hasBinChunk = false;
    QByteArray text = bytes;
    if (bytes.size() >= 12 && u32At(bytes, 0) == kGlbMagic) {
        const std::size_t size = std::size_t(bytes.size());
        const std::uint32_t declared = u32At(bytes, 8);
        if (u32At(bytes, 4) != 2 || declared > size || declared < 20) {
            error = "a binary container whose header does not match the file";
            return false;
        }
        std::size_t at = 12;
        bool first = true;
        while (at + 8 <= declared) {
            const std::size_t length = u32At(bytes, at), type = u32At(bytes, at + 4);
            if (length > declared - at - 8) {
                error = "a container chunk running past the end of the file";
                return false;
            }
            const QByteArray chunk = bytes.mid(int(at + 8), int(length));
            if (first && type != kChunkJson) {
                error = "a binary container whose first chunk is not JSON";
                return false;
            }
            if (first) {
                text = chunk;
            } else if (type == kChunkBin && !m_hasBinChunk) {
                m_binChunk = chunk;
                m_hasBinChunk = true;
            }
            first = false;
            at += 8 + length;
        }
        if (first) {
            error = "a binary container without a JSON chunk";
            return false;
        }
    }
    m_doc = json::parse(text.constData(), text.constData() + text.size(), nullptr, false);
    if (m_doc.is_discarded() || !m_doc.is_object()) {
        m_doc = json::object();
        error = "the JSON cannot be parsed";
        return false;
    }
    m_buffers.resize(itemCount("buffers"));
    return true;
}

const json* GltfSource::item(const char* name, std::size_t index) const {
    const auto it = m_doc.find(name);
    if (it == m_doc.end() || !it->is_array() || index >= it->size()) {
        return nullptr;
    }
    const json& element = (*it)[index];
    return element.is_object() ? &element : nullptr;
}

std::size_t GltfSource::itemCount(const char* name) const {
    const auto it = m_doc.find(name);
    return it != m_doc.end() && it->is_array() ? it->size() : 0;
}

const QByteArray* GltfSource::buffer(std::size_t index, std::string& error) {
    if (index >= m_buffers.size() || item("buffers", index) == nullptr) {
        error = "a buffer that does not exist";
        return nullptr;
    }
    Buffer& b = m_buffers[index];
    if (b.tried) {
        error = b.error;
        return b.error.empty() ? &b.bytes : nullptr;
    }
    b.tried = true;
    const json& desc = *item("buffers", index);
    std::size_t length = 0;
    if (!gltfIndex(desc, "byteLength", length)) {
        b.error = "a buffer without a byte length";
    } else if (!desc.contains("uri")) {
        if (index == 0 && m_hasBinChunk && std::size_t(m_binChunk.size()) >= length) {
            b.bytes = m_binChunk.left(int(length));
        } else {
            b.error = "a buffer longer than the container's binary chunk, or without one";
        }
    } else {
        const std::string uri = gltfString(desc, "uri");
        if (uri.rfind("data:", 0) == 0) {
            const std::size_t comma = uri.find(',');
            if (comma == std::string::npos ||
                uri.compare(comma >= 7 ? comma - 7 : 0, 7, ";base64") != 0 ||
                !decodeBase64(uri, comma + 1, b.bytes)) {
                b.error = "a data URI that is not valid base64";
            } else if (std::size_t(b.bytes.size()) < length) {
                b.error = "a data URI shorter than its buffer's byte length";
            } else {
                b.bytes.truncate(int(length));
            }
        } else {
            const QString name = QUrl::fromPercentEncoding(QByteArray::fromStdString(uri));
            QFile file(QDir(m_folder).filePath(name));
            if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
                b.error = "a buffer file that cannot be opened ('" + uri + "')";
            } else if (std::uint64_t(file.size()) < length) {
                b.error = "a buffer file shorter than its byte length ('" + uri + "')";
            } else {
                b.bytes = file.read(qint64(length));
                if (std::size_t(b.bytes.size()) != length) {
                    b.error = "a buffer file that cannot be read ('" + uri + "')";
                }
            }
        }
    }
    if (!b.error.empty()) {
        b.bytes.clear();
        error = b.error;
        return nullptr;
    }
    return &b.bytes;
}

int GltfSource::componentTypeOf(std::size_t accessor) const {
    const json* a = item("accessors", accessor);
    std::size_t type = 0;
    return a != nullptr && gltfIndex(*a, "componentType", type) && type < 0x10000 ? int(type) : 0;
}

bool GltfSource::readAccessor(std::size_t index, GltfNumbers& out, std::string& error) {
    const json* a = item("accessors", index);
    if (a == nullptr) {
        error = "an accessor that does not exist";
        return false;
    }
    out = GltfNumbers();
    out.componentType = componentTypeOf(index);
    out.components = componentCount(gltfString(*a, "type"));
    const auto normalized = a->find("normalized");
    out.normalized = normalized != a->end() && normalized->is_boolean() && normalized->get<bool>();
    const std::size_t size = componentSize(out.componentType);
    std::size_t count = 0, viewIndex = 0, offset = 0;
    if (size == 0 || out.components == 0 || !gltfIndex(*a, "count", count)) {
        error = "an accessor without a known component type, type or count";
        return false;
    }
    if (a->contains("sparse") || !gltfIndex(*a, "bufferView", viewIndex)) {
        error = "a sparse accessor or one without a buffer view";
        return false;
    }
    if (size < 4 && out.components > 4) {
        error = "a matrix accessor of 8- or 16-bit components";
        return false;
    }
    if (a->contains("byteOffset") && !gltfIndex(*a, "byteOffset", offset)) {
        error = "an accessor with an invalid byte offset";
        return false;
    }
    const json* view = item("bufferViews", viewIndex);
    std::size_t bufferIndex = 0, viewOffset = 0, viewLength = 0, stride = 0;
    if (view == nullptr || !gltfIndex(*view, "buffer", bufferIndex) ||
        !gltfIndex(*view, "byteLength", viewLength) ||
        (view->contains("byteOffset") && !gltfIndex(*view, "byteOffset", viewOffset)) ||
        (view->contains("byteStride") && !gltfIndex(*view, "byteStride", stride))) {
        error = "an accessor whose buffer view does not exist or is invalid";
        return false;
    }
    const std::size_t element = size * std::size_t(out.components);
    if (stride == 0) {
        stride = element;
    } else if (stride < element || stride > kMaxStride || stride % size != 0) {
        error = "a buffer view whose stride is smaller than an element or invalid";
        return false;
    }
    const QByteArray* bytes = buffer(bufferIndex, error);
    if (bytes == nullptr) {
        return false;
    }
    const std::size_t have = std::size_t(bytes->size());
    if (viewOffset > have || viewLength > have - viewOffset) {
        error = "a buffer view outside its buffer";
        return false;
    }
    if (count > 0 && (offset > viewLength || element > viewLength - offset ||
                      (count - 1) > (viewLength - offset - element) / stride)) {
        error = "an accessor whose elements run past its buffer view";
        return false;
    }
    out.count = count;
    out.values.resize(count * std::size_t(out.components));
    const auto* base =
        reinterpret_cast<const unsigned char*>(bytes->constData()) + viewOffset + offset;
    for (std::size_t i = 0; i < count; ++i) {
        for (int c = 0; c < out.components; ++c) {
            out.values[i * std::size_t(out.components) + std::size_t(c)] = componentValue(
                base + i * stride + std::size_t(c) * size, out.componentType, out.normalized);
        }
    }
    return true;
}

} // namespace model
} // namespace yfx
