// The routes the container step could take to compress a project stream,
// each against zlib's compress (default level) of the same bytes, on two
// streams: the synthetic grid scene and the gathered figure scene of a
// million polygons after the export passes. Medians of three runs of every
// route in one program; time and size as ratios to compress's.
//
// Routes: libdeflate's whole-buffer compressor at levels 1 to 7 (8 and 9 are
// slower than zlib here), and zlib in blocks of 1 MiB, each primed with the
// 32 KiB before it, deflated by one or two threads and joined into one zlib
// stream with the blocks' checksums combined (as pigz does). libdeflate
// cannot take that block route: it can neither be primed with the bytes
// before a block nor end a block's stream without marking it the last.
//
// usage: yfx_bench_compress_routes
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <libdeflate.h>
#include <zlib.h>

#include "format/byte_sink.h"
#include "format/writer_v31.h"
#include "gathered_scene.h"
#include "prepare/export_passes.h"
#include "synthetic_scene.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kBlock = std::size_t(1) << 20;
constexpr std::size_t kWindow = 32768;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

yfx::WriterOptions writerOptions() {
    yfx::WriterOptions o;
    o.export_lights = o.export_materials = o.export_uvs = 1;
    o.export_uvsets = o.export_joints = o.export_animation = 1;
    o.time_text = L"Thu Jan  1 00:00:00 1970";
    return o;
}

Bytes streamOf(const yfx::SceneDoc& doc) {
    yfx::MemorySink sink;
    yfx::FileHeader header;
    if (yfx::writeDocument(doc, writerOptions(), sink, header) != 1) {
        return Bytes();
    }
    return Bytes(sink.data(), sink.data() + sink.size());
}

Bytes gridStream() {
    yfx::SceneDoc doc;
    yfx_bench::buildSyntheticScene(doc);
    return streamOf(doc);
}

Bytes figureStream() {
    yfx::SceneDoc doc;
    yfx_bench::buildGatheredScene(doc, {1000000});
    yfx::prepare::ExportPassOptions passes;
    passes.merge_materials = 1;
    passes.collapse_uvs = 1;
    passes.export_textures = 0;
    passes.target_path = L"bench.yfx";
    yfx::prepare::runExportPasses(doc, passes);
    return streamOf(doc);
}

Bytes zlibCompress(const Bytes& in) {
    Bytes out(compressBound(uLong(in.size())));
    uLongf length = uLongf(out.size());
    if (compress(out.data(), &length, in.data(), uLong(in.size())) != Z_OK) {
        return Bytes();
    }
    out.resize(length);
    return out;
}

Bytes libdeflateCompress(const Bytes& in, int level) {
    libdeflate_compressor* c = libdeflate_alloc_compressor(level);
    Bytes out(libdeflate_zlib_compress_bound(c, in.size()));
    out.resize(libdeflate_zlib_compress(c, in.data(), in.size(), out.data(), out.size()));
    libdeflate_free_compressor(c);
    return out;
}

Bytes zlibInBlocks(const Bytes& in, int threads) {
    const std::size_t n = in.size();
    const std::size_t blocks = std::max<std::size_t>(1, (n + kBlock - 1) / kBlock);
    std::vector<Bytes> parts(blocks);
    std::vector<uLong> checks(blocks);
    auto work = [&](std::size_t first) {
        for (std::size_t b = first; b < blocks; b += std::size_t(threads)) {
            const std::size_t begin = b * kBlock;
            const std::size_t end = std::min(n, begin + kBlock);
            z_stream z{};
            deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
            if (begin > 0) {
                const std::size_t primed = std::min(kWindow, begin);
                deflateSetDictionary(&z, in.data() + begin - primed, uInt(primed));
            }
            parts[b].resize(deflateBound(&z, uLong(end - begin)) + 16);
            z.next_in = const_cast<Bytef*>(in.data() + begin);
            z.avail_in = uInt(end - begin);
            z.next_out = parts[b].data();
            z.avail_out = uInt(parts[b].size());
            deflate(&z, b + 1 == blocks ? Z_FINISH : Z_SYNC_FLUSH);
            parts[b].resize(parts[b].size() - z.avail_out);
            deflateEnd(&z);
            checks[b] = adler32(adler32(0, nullptr, 0), in.data() + begin, uInt(end - begin));
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) {
        pool.emplace_back(work, std::size_t(t));
    }
    work(0);
    for (std::thread& t : pool) {
        t.join();
    }
    Bytes out = {0x78, 0x9c};
    uLong check = checks[0];
    for (std::size_t b = 0; b < blocks; ++b) {
        out.insert(out.end(), parts[b].begin(), parts[b].end());
        if (b > 0) {
            const std::size_t length = std::min(n, (b + 1) * kBlock) - b * kBlock;
            check = adler32_combine(check, checks[b], z_off_t(length));
        }
    }
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(check >> shift));
    }
    return out;
}

bool inflatesTo(const Bytes& packed, const Bytes& original) {
    Bytes out(original.size() + 1);
    uLongf length = uLongf(out.size());
    return uncompress(out.data(), &length, packed.data(), uLong(packed.size())) == Z_OK &&
           length == original.size() && std::equal(original.begin(), original.end(), out.begin());
}

struct Route {
    std::string name;
    std::function<Bytes(const Bytes&)> run;
};

void measure(const char* title, const Bytes& stream) {
    std::vector<Route> routes = {{"zlib compress, default level", zlibCompress}};
    for (int level = 1; level <= 7; ++level) {
        routes.push_back({"libdeflate level " + std::to_string(level),
                          [level](const Bytes& in) { return libdeflateCompress(in, level); }});
    }
    for (int threads = 1; threads <= 2; ++threads) {
        routes.push_back({"zlib in primed 1 MiB blocks, " + std::to_string(threads) + " thread(s)",
                          [threads](const Bytes& in) { return zlibInBlocks(in, threads); }});
    }
    std::vector<std::vector<double>> seconds(routes.size());
    std::vector<std::size_t> sizes(routes.size());
    std::vector<bool> decodes(routes.size());
    for (int run = 0; run < 3; ++run) {
        for (std::size_t r = 0; r < routes.size(); ++r) {
            const auto start = std::chrono::steady_clock::now();
            const Bytes packed = routes[r].run(stream);
            seconds[r].push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            sizes[r] = packed.size();
            if (run == 0) {
                decodes[r] = inflatesTo(packed, stream);
            }
        }
    }
    std::printf("%s: %zu bytes; medians of 3 runs\n", title, stream.size());
    std::printf("%-44s %9s %7s %12s %7s %s\n", "route", "seconds", "time", "bytes", "size",
                "zlib inflates it");
    for (std::size_t r = 0; r < routes.size(); ++r) {
        std::printf("%-44s %9.3f %7.3f %12zu %7.4f %s\n", routes[r].name.c_str(),
                    median(seconds[r]), median(seconds[r]) / median(seconds[0]), sizes[r],
                    double(sizes[r]) / double(sizes[0]), decodes[r] ? "yes" : "NO");
    }
}

} // namespace

int main() {
    measure("grid of a million quads (synthetic scene)", gridStream());
    measure("gathered figure scene, a million polygons", figureStream());
    return 0;
}
