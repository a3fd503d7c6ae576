// Times the document's growth paths on sizes well beyond a typical scene:
// appends must stay amortised O(1), so each line should take well under a
// second on any machine.
#include <chrono>
#include <cstdio>

#include "document/document.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void report(const char* what, long count, double seconds, bool ok) {
    std::printf("%-44s %9ld  %8.3f s%s\n", what, count, seconds, ok ? "" : "  (FAILED)");
}

} // namespace

int main() {
    using namespace yfx;
    std::printf("%-44s %9s  %10s\n", "operation", "count", "time");

    {
        DocVertex vertex;
        const long n = 1000000;
        const Clock::time_point start = Clock::now();
        bool ok = true;
        for (long i = 0; i < n; ++i) {
            DocWeight* w = addWeightSlot(vertex);
            if (w == nullptr) {
                ok = false;
                break;
            }
            w->bone = static_cast<std::int32_t>(i);
            w->weight = 1.0f;
        }
        report("weights appended to one vertex", n, secondsSince(start),
               ok && vertex.weights.size() == static_cast<std::uint32_t>(n));
    }
    {
        DocVertex vertex;
        const long n = 1000000;
        const Clock::time_point start = Clock::now();
        bool ok = true;
        for (long i = 0; i < n && ok; ++i) {
            ok = addWeight(vertex, static_cast<std::int32_t>(i % 4), 0.25f) != nullptr;
        }
        report("weights accumulated on four bones", n, secondsSince(start),
               ok && vertex.weights.size() == 4u);
    }
    {
        SceneDoc doc;
        const long n = 200000;
        const Clock::time_point start = Clock::now();
        bool ok = true;
        for (long i = 0; i < n && ok; ++i) {
            DocBone* bone = addBone(doc);
            ok = bone != nullptr;
            if (ok) {
                bone->parent = static_cast<std::int32_t>(i - 1);
            }
        }
        report("bones appended to a document", n, secondsSince(start),
               ok && doc.bones.size() == static_cast<std::size_t>(n));
        const Clock::time_point clearStart = Clock::now();
        clearDocument(doc);
        report("document with those bones cleared", n, secondsSince(clearStart), doc.bones.empty());
    }
    {
        SceneDoc doc;
        const long n = 1000000;
        DocMesh* mesh = addMesh(doc);
        const Clock::time_point start = Clock::now();
        bool ok = mesh != nullptr && allocatePolygons(*mesh, static_cast<std::int32_t>(n)) == 1;
        for (long i = 0; ok && i < n; ++i) {
            ok = preparePolygon(mesh->polygons[static_cast<std::size_t>(i)], 4) == 1;
        }
        report("quads allocated and prepared", n, secondsSince(start), ok);
        const Clock::time_point vstart = Clock::now();
        ok = allocateVertices(doc, static_cast<std::int32_t>(n)) == 1;
        for (long i = 0; ok && i < n; ++i) {
            ok = addWeight(doc.vertices[static_cast<std::size_t>(i)], 1, 0.5f) != nullptr &&
                 addWeight(doc.vertices[static_cast<std::size_t>(i)], 2, 0.5f) != nullptr;
        }
        report("pool vertices with two weights each", n, secondsSince(vstart), ok);
    }
    return 0;
}
