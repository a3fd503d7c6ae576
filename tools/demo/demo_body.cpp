#include "tools/demo/demo_body.h"

#include <dzfacetmesh.h>
#include <dzvertexmap.h>
#include <dzweightmap.h>

#include <algorithm>
#include <cmath>
#include <deque>

namespace yfx_demo {

const char* const kBodySurfaceNames[kBodySurfaceCount] = {
    "Torso", "DAZ Studio Default", "Arms", "Hands", "Legs", "Feet",
};

namespace {

constexpr int kMaxInfluences = 4;
constexpr float kTwoPi = 6.2831853071795864f;
constexpr float kMargin = 0.05f; // of a UV cell, on each side

// UDIM tile column (0 = 1001, 1 = 1002) and band of each surface in set 0.
constexpr int kSurfaceTile[kBodySurfaceCount] = {0, 0, 0, 0, 1, 1};
constexpr int kSurfaceBand[kBodySurfaceCount] = {0, 1, 2, 3, 0, 1};
constexpr int kBandsInTile[2] = {4, 2};

struct TubeSize {
    int sides;
    int rings;
};

TubeSize tubeSize(std::int64_t polygons, std::size_t tubes) {
    const std::int64_t share = std::max<std::int64_t>(1, polygons / std::int64_t(tubes));
    const int sides = std::max(3, int(std::lround(std::sqrt(double(share) / 3.0))));
    const int rings = std::max<int>(2, int(share / sides) - 1);
    return {sides, rings};
}

struct UvRect {
    float u0, v0, w, h;
};

UvRect cellRect(float u, float v, float cellW, float cellH) {
    return {u + kMargin * cellW, v + kMargin * cellH, (1.0f - 2.0f * kMargin) * cellW,
            (1.0f - 2.0f * kMargin) * cellH};
}

// The bones nearest to each bone in the skeleton, up to four, itself first:
// a breadth-first walk over parent and children links. `parentFirst` visits a
// bone's parent before its children.
std::vector<int> nearestBones(int bone, const std::vector<DemoBoneSpec>& specs,
                              const std::vector<std::vector<int>>& children, bool parentFirst) {
    std::vector<int> found{bone};
    std::deque<int> queue{bone};
    auto visit = [&](int b) {
        if (b >= 0 && std::find(found.begin(), found.end(), b) == found.end()) {
            found.push_back(b);
            queue.push_back(b);
        }
    };
    while (!queue.empty() && found.size() < std::size_t(kMaxInfluences)) {
        const int b = queue.front();
        queue.pop_front();
        if (parentFirst) {
            visit(specs[std::size_t(b)].parent);
        }
        for (int c : children[std::size_t(b)]) {
            if (found.size() >= std::size_t(kMaxInfluences)) {
                break;
            }
            visit(c);
        }
        if (!parentFirst && found.size() < std::size_t(kMaxInfluences)) {
            visit(specs[std::size_t(b)].parent);
        }
    }
    found.resize(std::min(found.size(), std::size_t(kMaxInfluences)));
    return found;
}

// Writes the weights of one vertex: k of the bones, falling off as k, k - 1,
// ..., 1, summing to exactly DZ_WEIGHT_FULL.
void weighVertex(int vertex, float t, bool fourWeights, const std::vector<int>& bones,
                 std::vector<unsigned short*>& maps) {
    int k = fourWeights ? kMaxInfluences : 1 + std::min(3, int(4.0f * std::fabs(2.0f * t - 1.0f)));
    k = std::min<int>(k, int(bones.size()));
    const int total = k * (k + 1) / 2;
    int given = 0;
    for (int j = k - 1; j >= 0; --j) {
        const int raw = j == 0 ? DZ_WEIGHT_FULL - given : DZ_WEIGHT_FULL * (k - j) / total;
        maps[std::size_t(bones[std::size_t(j)])][vertex] = static_cast<unsigned short>(raw);
        given += raw;
    }
}

struct Frame {
    DzVec3 axis, side, up;
    float length;
};

Frame boneFrame(const DemoBoneSpec& s) {
    Frame f;
    f.axis = s.end - s.origin;
    f.length = f.axis.normalize();
    if (f.length <= 0.0f) {
        f.axis = DzVec3(0.0f, 1.0f, 0.0f);
    }
    const DzVec3 helper =
        std::fabs(f.axis.m_z) < 0.9f ? DzVec3(0.0f, 0.0f, 1.0f) : DzVec3(1.0f, 0.0f, 0.0f);
    f.side = f.axis.cross(helper).normalized();
    f.up = f.axis.cross(f.side);
    return f;
}

} // namespace

BodyMesh buildBodyMesh(const std::vector<DemoBoneSpec>& specs, std::int64_t polygons,
                       bool fourWeights) {
    BodyMesh body;
    if (specs.empty()) {
        return body;
    }
    const std::size_t tubes = specs.size();
    const TubeSize size = tubeSize(polygons, tubes);
    const int S = size.sides, R = size.rings;
    const int vertsPerTube = R * S + 2;
    const int uvsPerTube = R * (S + 1) + 2;
    const int vertexCount = vertsPerTube * int(tubes);

    std::vector<std::vector<int>> children(tubes);
    int bonesOnSurface[kBodySurfaceCount] = {};
    std::vector<int> slotOnSurface(tubes);
    for (std::size_t b = 0; b < tubes; ++b) {
        if (specs[b].parent >= 0) {
            children[std::size_t(specs[b].parent)].push_back(int(b));
        }
        slotOnSurface[b] = bonesOnSurface[specs[b].surface]++;
    }
    const int gridColumns = int(std::ceil(std::sqrt(double(tubes))));

    auto* mesh = new DzFacetMesh();
    body.mesh = mesh;
    mesh->preSizeVertexArray(vertexCount);
    mesh->preSizeFacets((R + 1) * S * int(tubes));
    for (const char* name : kBodySurfaceNames) {
        mesh->createMaterialGroup(QString::fromLatin1(name));
    }
    auto* udim = new DzUVSet();
    udim->setLabel(QStringLiteral("Base UDIM"));
    auto* unwrapped = new DzUVSet();
    unwrapped->setLabel(QStringLiteral("Unwrapped"));
    udim->preSize(uvsPerTube * int(tubes));
    unwrapped->preSize(uvsPerTube * int(tubes));

    std::vector<unsigned short*> maps;
    for (std::size_t b = 0; b < tubes; ++b) {
        auto* map = new DzWeightMap(vertexCount, specs[b].name);
        body.weights.push_back(map);
        maps.push_back(map->getWeights());
    }

    for (std::size_t b = 0; b < tubes; ++b) {
        const DemoBoneSpec& s = specs[b];
        const Frame f = boneFrame(s);
        const int vBase = int(b) * vertsPerTube, uvBase = int(b) * uvsPerTube;
        const int startPole = vBase + R * S, endPole = startPole + 1;
        const std::vector<int> nearJoint = nearestBones(int(b), specs, children, true);
        const std::vector<int> nearEnd = nearestBones(int(b), specs, children, false);

        for (int r = 0; r < R; ++r) {
            const float t = float(r) / float(R - 1);
            const float radius = s.radius * (0.85f + 0.15f * std::sin(t * kTwoPi * 0.5f));
            const DzVec3 centre = s.origin + f.axis * (f.length * t);
            for (int j = 0; j < S; ++j) {
                const float a = kTwoPi * float(j) / float(S);
                const DzVec3 p = centre + (f.side * std::cos(a) + f.up * std::sin(a)) * radius;
                const int v = mesh->addVertex(p);
                weighVertex(v, t, fourWeights, t < 0.5f ? nearJoint : nearEnd, maps);
            }
        }
        const DzVec3 capStart = s.origin - f.axis * (0.3f * s.radius);
        const DzVec3 capEnd = s.end + f.axis * (0.3f * s.radius);
        weighVertex(mesh->addVertex(capStart), 0.0f, fourWeights, nearJoint, maps);
        weighVertex(mesh->addVertex(capEnd), 1.0f, fourWeights, nearEnd, maps);

        // UVs: rings of S + 1 values (the seam column twice), then both ends.
        const int tile = kSurfaceTile[s.surface], bands = kBandsInTile[tile];
        const float bandW = 1.0f / float(bonesOnSurface[s.surface]), bandH = 1.0f / float(bands);
        const UvRect rects[2] = {
            cellRect(float(tile) + float(slotOnSurface[b]) * bandW,
                     float(kSurfaceBand[s.surface]) * bandH, bandW, bandH),
            cellRect(float(int(b) % gridColumns) / float(gridColumns),
                     float(int(b) / gridColumns) / float(gridColumns), 1.0f / float(gridColumns),
                     1.0f / float(gridColumns)),
        };
        DzUVSet* sets[2] = {udim, unwrapped};
        for (int k = 0; k < 2; ++k) {
            const UvRect& q = rects[k];
            for (int r = 0; r < R; ++r) {
                for (int j = 0; j <= S; ++j) {
                    const DzPnt2 uv = {q.u0 + q.w * float(j) / float(S),
                                       q.v0 + q.h * float(r) / float(R - 1)};
                    sets[k]->appendPnt2Value(uv);
                }
            }
            const DzPnt2 bottom = {q.u0 + 0.5f * q.w, q.v0};
            const DzPnt2 top = {q.u0 + 0.5f * q.w, q.v0 + q.h};
            sets[k]->appendPnt2Value(bottom);
            sets[k]->appendPnt2Value(top);
        }

        mesh->activateMaterial(int(s.surface));
        mesh->activateFaceGroup(s.name);
        const int uvStartPole = uvBase + R * (S + 1), uvEndPole = uvStartPole + 1;
        auto ring = [&](int r, int j) { return vBase + r * S + j % S; };
        auto ringUv = [&](int r, int j) { return uvBase + r * (S + 1) + j; };
        for (int j = 0; j < S; ++j) {
            const int vi[4] = {startPole, ring(0, j + 1), ring(0, j), -1};
            const int ui[4] = {uvStartPole, ringUv(0, j + 1), ringUv(0, j), -1};
            mesh->addFacet(vi, ui);
        }
        for (int r = 0; r + 1 < R; ++r) {
            for (int j = 0; j < S; ++j) {
                const int vi[4] = {ring(r, j), ring(r, j + 1), ring(r + 1, j + 1), ring(r + 1, j)};
                const int ui[4] = {ringUv(r, j), ringUv(r, j + 1), ringUv(r + 1, j + 1),
                                   ringUv(r + 1, j)};
                mesh->addFacet(vi, ui);
            }
        }
        for (int j = 0; j < S; ++j) {
            const int vi[4] = {endPole, ring(R - 1, j), ring(R - 1, j + 1), -1};
            const int ui[4] = {uvEndPole, ringUv(R - 1, j), ringUv(R - 1, j + 1), -1};
            mesh->addFacet(vi, ui);
        }
    }

    mesh->addUVSet(udim);
    mesh->addUVSet(unwrapped);
    mesh->setUVList(udim);
    return body;
}

} // namespace yfx_demo
