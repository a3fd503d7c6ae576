#include "dzskinbinding.h"

#include "dzfigure.h"
#include "dzmatrix3.h"
#include "dzvertexmesh.h"
#include "dzweightmap.h"

#include <algorithm>
#include <memory>

namespace {

const int kOffsetSize = 12;

DzMatrix3 placement(const DzNode& node) {
    return node.getRestWSTransform().inverse() * node.getWSTransform();
}

// The vertex's blended transform: the identity plus its offsets.
DzMatrix3 blendedAt(const std::vector<double>& offsets, int vertex) {
    DzMatrix3 m(true);
    const double* o = &offsets[size_t(vertex) * kOffsetSize];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            m[r][c] += float(o[r * 3 + c]);
        }
    }
    return m;
}

} // namespace

DzSkinBinding::DzSkinBinding(DzFigure* owner) : m_figure(owner) {}

DzSkinBinding::~DzSkinBinding() {
    removeAllBindings();
}

DzFigure* DzSkinBinding::getFigure() const {
    return m_figure.data();
}

bool DzSkinBinding::isLocal() {
    for (const DzBoneBinding* b : m_bindings) {
        if (b->hasLocalWeights()) {
            return true;
        }
    }
    return false;
}

DzBoneBinding* DzSkinBinding::getBoneBinding(int index) const {
    return index >= 0 && index < int(m_bindings.size()) ? m_bindings[size_t(index)] : nullptr;
}

DzBoneBinding* DzSkinBinding::findBoneBinding(DzNode* bone) const {
    if (!bone) {
        return nullptr;
    }
    for (DzBoneBinding* b : m_bindings) {
        if (b->getBone() == bone) {
            return b;
        }
    }
    return nullptr;
}

DzError DzSkinBinding::addBoneBinding(DzBoneBinding* binding) {
    if (!binding) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    if (qobject_cast<DzSkinBinding*>(binding->parent())) {
        return DZ_ILLEGAL_OPERATION_ERROR;
    }
    binding->setParent(this);
    if (!binding->getFigure()) {
        binding->setFigure(m_figure);
    }
    m_bindings.push_back(binding);
    return DZ_NO_ERROR;
}

DzError DzSkinBinding::removeBoneBinding(DzBoneBinding* binding) {
    auto it = std::find(m_bindings.begin(), m_bindings.end(), binding);
    if (!binding || it == m_bindings.end()) {
        return DZ_ILLEGAL_ARGUMENT_ERROR;
    }
    m_bindings.erase(it);
    delete binding;
    return DZ_NO_ERROR;
}

void DzSkinBinding::removeAllBindings() {
    std::vector<DzBoneBinding*> bindings;
    bindings.swap(m_bindings);
    for (DzBoneBinding* b : bindings) {
        delete b;
    }
}

std::vector<double> DzSkinBinding::blendedOffsets(const DzVertexMesh& mesh, DzNode& node) const {
    const int numVerts = mesh.getNumVertices();
    std::vector<double> offsets(size_t(numVerts) * kOffsetSize, 0.0);
    const DzMatrix3 toNode = placement(node).inverse();
    for (const DzBoneBinding* b : m_bindings) {
        const DzNode* bone = b->getBone();
        const DzWeightMap* map = b->getWeights();
        std::unique_ptr<DzWeightMap> averaged;
        if (!map && b->hasLocalWeights()) {
            averaged.reset(b->createAveragedGeneralMap(DzBoneBinding::DEFAULT_AVERAGE));
            map = averaged.get();
        }
        if (!bone || !map) {
            continue;
        }
        const DzMatrix3 move = placement(*bone) * toNode;
        double delta[kOffsetSize];
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 3; ++c) {
                delta[r * 3 + c] = double(move[r][c]) - (r == c ? 1.0 : 0.0);
            }
        }
        const unsigned short* raw = map->getWeights();
        const int n = std::min(map->getNumWeights(), numVerts);
        for (int k = 0; raw && k < n; ++k) {
            if (raw[k] == 0) {
                continue;
            }
            const double w = DzWeightMap::weightToFloat(raw[k]);
            double* o = &offsets[size_t(k) * kOffsetSize];
            for (int j = 0; j < kOffsetSize; ++j) {
                o[j] += w * delta[j];
            }
        }
    }
    return offsets;
}

DzError DzSkinBinding::apply(DzVertexMesh& mesh, DzNode& node) {
    const std::vector<double> offsets = blendedOffsets(mesh, node);
    DzPnt3* verts = mesh.getVerticesPtr();
    for (int k = 0; verts && k < mesh.getNumVertices(); ++k) {
        blendedAt(offsets, k).multPnt(verts[k]);
    }
    return DZ_NO_ERROR;
}

DzError DzSkinBinding::applyInverse(DzVertexMesh& mesh, DzNode& node) {
    const std::vector<double> offsets = blendedOffsets(mesh, node);
    DzPnt3* verts = mesh.getVerticesPtr();
    for (int k = 0; verts && k < mesh.getNumVertices(); ++k) {
        const DzMatrix3 m = blendedAt(offsets, k);
        if (m.det3() != 0.0f) {
            m.inverse().multPnt(verts[k]);
        }
    }
    return DZ_NO_ERROR;
}

DzError DzSkinBinding::convertToGeneralMaps(DzBoneBinding::LocalAveragingOption opt) {
    DzError result = DZ_NO_ERROR;
    for (DzBoneBinding* b : m_bindings) {
        if (!b->hasLocalWeights()) {
            continue;
        }
        DzWeightMap* general =
            b->createAveragedGeneralMap(DzBoneBinding::LocalAveragingOptions(opt));
        if (!general) {
            result = DZ_OPERATION_FAILED_ERROR;
            continue;
        }
        b->setWeights(general);
        for (int axis = 0; axis < 3; ++axis) {
            b->setLocalWeights(nullptr, axis);
        }
    }
    return result;
}
