// Times makeNamesUnique on 100,000 bones that share few names, the
// geometry passes on a large mesh, and the nearest-bone search of the
// import's group table: none may grow faster than about n log n, so each
// figure should be far below a second.
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "document/document.h"
#include "normalise/normalise.h"
#include "util/nearest_segment.h"

namespace {

using namespace yfx;

// 100,000 bones whose names repeat every `distinct` bones ("Bone0",
// "Bone1", ...), so that appended numbers also run into existing names.
SceneDoc bonesWithNames(int distinct) {
    SceneDoc doc;
    doc.bones.resize(100000);
    for (std::size_t i = 0; i < doc.bones.size(); ++i) {
        const std::string name = "Bone" + std::to_string(i % std::size_t(distinct));
        doc.bones[i].name.setAnsi(name.c_str());
    }
    return doc;
}

void uniqueNames(benchmark::State& state) {
    const SceneDoc original = bonesWithNames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        SceneDoc doc;
        doc.bones = original.bones;
        state.ResumeTiming();
        normalise::makeNamesUnique(doc);
        benchmark::DoNotOptimize(doc.bones.data());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(uniqueNames)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// A mesh of 100,000 hexagons over a pool with every other vertex unused.
SceneDoc hexagonMesh() {
    SceneDoc doc;
    const int count = 100000;
    doc.vertices.resize(std::size_t(count) * 12);
    DocMesh* mesh = addMesh(doc);
    allocatePolygons(*mesh, count);
    for (int p = 0; p < count; ++p) {
        DocPolygon& polygon = mesh->polygons[std::size_t(p)];
        preparePolygon(polygon, 6);
        for (std::uint32_t c = 0; c < 6; ++c) {
            polygon.corners[c].vertex = p * 12 + int(c) * 2;
        }
    }
    return doc;
}

void geometryPasses(benchmark::State& state) {
    const SceneDoc original = hexagonMesh();
    for (auto _ : state) {
        state.PauseTiming();
        SceneDoc doc;
        doc.vertices = original.vertices;
        doc.meshes = original.meshes;
        state.ResumeTiming();
        normalise::cleanGeometry(doc);
        normalise::triangulateMeshes(doc);
        benchmark::DoNotOptimize(doc.meshes.data());
    }
}
BENCHMARK(geometryPasses)->Unit(benchmark::kMillisecond);

} // namespace

// N group centres against N bones (segments of 2 to 20 units in a volume of
// a figure's size): the nearest bone of every centre, tree built included.
// With a scan over every bone it grows with N x N; the tree keeps it near
// N log N.
std::vector<float> randomSegments(std::mt19937& random, int n) {
    std::uniform_real_distribution<float> x(-50, 50), y(0, 180), z(-30, 30), length(2, 20);
    std::vector<float> ends;
    for (int b = 0; b < n; ++b) {
        const float hx = x(random), hy = y(random), hz = z(random);
        ends.insert(ends.end(), {hx, hy, hz, hx, hy + length(random), hz});
    }
    return ends;
}

// The tree over the bones, then the nearest bone of every centre.
void searchEveryCentre(benchmark::State& state, const std::vector<float>& bones,
                       const std::vector<float>& centres) {
    for (auto _ : state) {
        const NearestSegmentIndex index(bones.data(), bones.size() / 6);
        std::int64_t sum = 0;
        for (std::size_t c = 0; 6 * c < centres.size(); ++c) {
            sum += index.nearest(&centres[6 * c]);
        }
        benchmark::DoNotOptimize(sum);
    }
}

void nearestBones(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(3);
    const std::vector<float> bones = randomSegments(random, n);
    searchEveryCentre(state, bones, randomSegments(random, n));
}
BENCHMARK(nearestBones)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same with every bone on one point (a scene of unparented nodes at the
// origin exports one zero-length bone each).
void nearestBonesOnOnePoint(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::mt19937 random(3);
    searchEveryCentre(state, std::vector<float>(6 * std::size_t(n), 0.0f),
                      randomSegments(random, n));
}
BENCHMARK(nearestBonesOnOnePoint)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
