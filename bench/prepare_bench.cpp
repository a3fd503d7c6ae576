// Times the export processing passes on gathered documents of 250,000,
// 500,000 and 1,000,000 polygons (or the polygon counts given as arguments):
// each pass per size as the median of three runs on freshly generated
// documents (generation not timed), the growth of each pass from the
// smallest to the largest size, and the whole chain against zlib's compress
// (default level) of the version 31 stream written from its result.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include <zlib.h>

#include "format/byte_sink.h"
#include "format/writer_v31.h"
#include "gathered_scene.h"
#include "prepare/export_passes.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

struct SizeResult {
    std::int64_t polygons = 0;
    std::vector<std::string> order;                  // pass names in run order
    std::map<std::string, std::vector<double>> pass; // seconds per run
    std::vector<double> chain, compress, capture, capturePerKey;
    std::size_t stream = 0, packed = 0;
};

yfx::WriterOptions writerOptions() {
    yfx::WriterOptions o;
    o.export_lights = o.export_materials = o.export_uvs = 1;
    o.export_uvsets = o.export_joints = o.export_animation = 1;
    o.creator_text = L"Marrowmap Pro Filter for Daz Studio 4.x";
    o.version_text = L"v3.0";
    o.time_text = L"Thu Jan  1 00:00:00 1970";
    return o;
}

bool runOnce(SizeResult& result) {
    yfx::SceneDoc doc;
    const yfx_bench::GatheredSceneStats stats =
        yfx_bench::buildGatheredScene(doc, {result.polygons});
    result.capture.push_back(stats.capture_seconds);
    // Keys grow with bones x frames, both of which grow with the size: the
    // capture is judged per key.
    result.capturePerKey.push_back(stats.capture_seconds * 1000.0 / double(stats.keys));

    yfx::prepare::ExportPassOptions options;
    options.merge_materials = 1;
    options.collapse_uvs = 1;
    options.export_textures = 0;
    options.target_path = L"bench.yfx";
    Clock::time_point last = Clock::now();
    const bool first = result.order.empty();
    options.on_pass_done = [&](const char* pass) {
        const Clock::time_point now = Clock::now();
        result.pass[pass].push_back(std::chrono::duration<double>(now - last).count());
        if (first) {
            result.order.push_back(pass);
        }
        last = now;
    };
    const Clock::time_point start = Clock::now();
    yfx::prepare::runExportPasses(doc, options);
    result.chain.push_back(secondsSince(start));

    yfx::MemorySink sink;
    yfx::FileHeader header;
    if (yfx::writeDocument(doc, writerOptions(), sink, header) != 1) {
        std::fprintf(stderr, "writing the version 31 stream failed\n");
        return false;
    }
    const yfx::ByteBuffer inner = sink.releaseBuffer();
    std::vector<std::uint8_t> out(compressBound(uLong(inner.size())));
    uLongf length = uLongf(out.size());
    const Clock::time_point z0 = Clock::now();
    if (compress(out.data(), &length, inner.data(), uLong(inner.size())) != Z_OK) {
        std::fprintf(stderr, "zlib compress failed\n");
        return false;
    }
    result.compress.push_back(secondsSince(z0));
    result.stream = inner.size();
    result.packed = length;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::int64_t> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::strtoll(argv[i], nullptr, 10));
    }
    if (sizes.empty()) {
        sizes = {250000, 500000, 1000000};
    }
    const int runs = 3;
    std::vector<SizeResult> results;
    for (const std::int64_t polygons : sizes) {
        SizeResult r;
        r.polygons = polygons;
        for (int run = 0; run < runs; ++run) {
            if (!runOnce(r)) {
                return 1;
            }
        }
        std::printf("%lld polygons: stream %zu bytes, compressed %zu bytes\n",
                    static_cast<long long>(polygons), r.stream, r.packed);
        results.push_back(std::move(r));
    }

    const SizeResult& small = results.front();
    const SizeResult& large = results.back();
    std::printf("\nmedian of %d runs, milliseconds\n%-30s", runs, "pass");
    for (const SizeResult& r : results) {
        std::printf(" %10lld", static_cast<long long>(r.polygons));
    }
    std::printf(" %8s\n", "growth");
    bool growthOk = true;
    const double allowed = 5.0 * double(large.polygons) / (4.0 * double(small.polygons));
    using Pick = std::function<const std::vector<double>&(const SizeResult&)>;
    const auto row = [&](const std::string& name, const Pick& pick, bool judged) {
        std::printf("%-30s", name.c_str());
        for (const SizeResult& r : results) {
            std::printf(" %10.1f", median(pick(r)) * 1e3);
        }
        const double before = median(pick(small));
        const double after = median(pick(large));
        const double growth = before > 0 ? after / before : 0.0;
        std::printf(" %8.2f\n", growth);
        if (judged && after > 0.010 && growth > allowed) {
            growthOk = false;
        }
    };
    for (const std::string& pass : large.order) {
        row(
            pass,
            [&pass](const SizeResult& r) -> const std::vector<double>& { return r.pass.at(pass); },
            true);
    }
    row(
        "captureTrackKeys (gathering)",
        [](const SizeResult& r) -> const std::vector<double>& { return r.capture; }, true);
    row(
        "whole chain", [](const SizeResult& r) -> const std::vector<double>& { return r.chain; },
        false);
    row(
        "zlib compress of the stream",
        [](const SizeResult& r) -> const std::vector<double>& { return r.compress; }, false);
    const double ratio = median(large.chain) / median(large.compress);
    std::printf("\nchain / compress at %lld polygons: %.3f (target 0.25 or less)\n",
                static_cast<long long>(large.polygons), ratio);
    std::printf("every pass over 10 ms grows at most %.1fx from the smallest size: %s\n", allowed,
                growthOk ? "yes" : "NO");
    return 0;
}
