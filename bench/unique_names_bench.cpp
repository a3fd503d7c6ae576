// Times makeNamesUnique on 100,000 bones that share few names, and the
// geometry passes on a large mesh: every pass must stay linear, so each
// figure should be far below a second.
#include <string>

#include <benchmark/benchmark.h>

#include "document/document.h"
#include "normalise/normalise.h"

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

BENCHMARK_MAIN();
