#include "gltf_build.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>

#include <algorithm>
#include <cmath>

namespace modeltest {

using nlohmann::json;

int Gltf::accessor(std::size_t start, int count, int componentType, const char* type, json minMax,
                   bool normalized) {
    json view = {{"buffer", 0}, {"byteOffset", start}, {"byteLength", bin.bytes.size() - start}};
    doc["bufferViews"].push_back(view);
    json a = {{"bufferView", doc["bufferViews"].size() - 1},
              {"componentType", componentType},
              {"count", count},
              {"type", type}};
    if (!minMax.is_null()) {
        a["min"] = minMax[0];
        a["max"] = minMax[1];
    }
    if (normalized) {
        a["normalized"] = true;
    }
    doc["accessors"].push_back(a);
    bin.align();
    return int(doc["accessors"].size()) - 1;
}

int Gltf::floats(const std::vector<double>& values, int components, const char* type, bool bounds) {
    const std::size_t start = bin.bytes.size();
    const std::size_t n = std::size_t(components);
    std::vector<double> lo(n, 1e30), hi(n, -1e30);
    for (std::size_t i = 0; i < values.size(); ++i) {
        bin.put(float(values[i]));
        lo[i % n] = std::min(lo[i % n], double(float(values[i])));
        hi[i % n] = std::max(hi[i % n], double(float(values[i])));
    }
    return accessor(start, int(values.size()) / components, kGltfFloat, type,
                    bounds ? json::array({lo, hi}) : json());
}

int Gltf::shorts(const std::vector<int>& values, int components, const char* type) {
    const std::size_t start = bin.bytes.size();
    for (int v : values) {
        bin.put(std::uint16_t(v));
    }
    return accessor(start, int(values.size()) / components, kGltfUnsignedShort, type);
}

int Gltf::normalized(const std::vector<double>& values, int components, const char* type,
                     int componentType) {
    const std::size_t start = bin.bytes.size();
    for (double v : values) {
        if (componentType == kGltfUnsignedByte) {
            bin.put(std::uint8_t(std::lround(v * 255.0)));
        } else {
            bin.put(std::uint16_t(std::lround(v * 65535.0)));
        }
    }
    return accessor(start, int(values.size()) / components, componentType, type, json(), true);
}

int Gltf::node(const json& n) {
    if (!doc.contains("nodes")) {
        doc["nodes"] = json::array();
    }
    doc["nodes"].push_back(n);
    return int(doc["nodes"].size()) - 1;
}

QByteArray Gltf::bytes(const QString& path, bool glb) const {
    json d = doc;
    Buffer data = bin;
    data.align();
    if (!glb) {
        const QString binName = QFileInfo(path).completeBaseName() + ".bin";
        if (!d.contains("buffers")) {
            d["buffers"] = {{{"uri", binName.toStdString()}, {"byteLength", data.bytes.size()}}};
        }
        QFile file(QFileInfo(path).absolutePath() + "/" + binName);
        file.open(QIODevice::WriteOnly);
        file.write(reinterpret_cast<const char*>(data.bytes.data()), qint64(data.bytes.size()));
        return QByteArray::fromStdString(d.dump(1));
    }
    if (!d.contains("buffers")) {
        d["buffers"] = {{{"byteLength", data.bytes.size()}}};
    }
    std::string text = d.dump();
    while (text.size() % 4 != 0) {
        text.push_back(' ');
    }
    Buffer out;
    out.put(std::uint32_t(0x46546C67)); // "glTF"
    out.put(std::uint32_t(2));
    out.put(std::uint32_t(12 + 8 + text.size() + 8 + data.bytes.size()));
    out.put(std::uint32_t(text.size()));
    out.put(std::uint32_t(0x4E4F534A)); // "JSON"
    out.bytes.insert(out.bytes.end(), text.begin(), text.end());
    out.put(std::uint32_t(data.bytes.size()));
    out.put(std::uint32_t(0x004E4942)); // "BIN"
    out.bytes.insert(out.bytes.end(), data.bytes.begin(), data.bytes.end());
    return QByteArray(reinterpret_cast<const char*>(out.bytes.data()), int(out.bytes.size()));
}

void Gltf::write(const QString& path, bool glb) const {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes(path, glb));
}

std::string Gltf::save(const std::string& folder, const std::string& name, bool glb) {
    const std::string path = folder + "/" + name + (glb ? ".glb" : ".gltf");
    write(QString::fromStdString(path), glb);
    return path;
}

json matrixJson(const double r[3][3], const double t[3]) {
    json m = json::array();
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            m.push_back(row == 3 ? (c == 3 ? 1.0 : 0.0) : (c == 3 ? t[row] : r[row][c]));
        }
    }
    return m;
}

} // namespace modeltest
