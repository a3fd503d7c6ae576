// The working state of one parse of a chunked image and the pieces that
// share it: chunk headers, the mesh container and the embedded files. Both
// walks (counting, then filling) run the same readers over the same bytes,
// so they always agree on where every chunk ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "format/chunked_layout.h"
#include "format/reader_sections.h"

namespace yfx {

// A chunk as found in the image: its tag and where its content begins and
// ends (the end lies within the image).
struct ChunkSpan {
    std::uint32_t tag = 0;
    std::uint32_t start = 0;
    std::uint32_t end = 0;
};

// Where UV set k stands: how many UVs and links all meshes so far gave it,
// and, for the mesh being read, how many of them came before that mesh.
struct UVSetTally {
    std::uint64_t uvs = 0;
    std::uint64_t links = 0;
    std::uint64_t mesh_base = 0; // UVs before the mesh named by `mesh`
    std::uint64_t mesh = ~0ull;  // ordinal of the mesh that mesh_base belongs to
    bool named = false;          // a mesh has given the set its name (filling walk)
};

// Every mesh's vertices, face links and UV-set entries are appended to the
// document's arrays one mesh after the other; a mesh's corner indices are
// local to the mesh and are moved by the counts of the meshes before it.
// These running totals are the same in both walks: after the counting walk
// they are the array sizes, during the filling walk the next free slots.
struct MeshTallies {
    std::uint64_t vertices = 0;
    std::uint64_t face_links = 0;
    std::uint64_t meshes_seen = 0; // mesh chunks so far, over all containers
    std::int32_t largest_set_count = 0;
    std::vector<UVSetTally> sets;
};

struct ChunkedParse {
    ChunkedParse(Reader& reader, Pass walk) : r(reader), pass(walk) {}

    Reader& r;
    Pass pass;
    MeshTallies tallies;
};

// Reads the header of a chunk at the cursor; the header must lie before
// `parentEnd` and the content within the image. False with the reason set
// otherwise.
bool readChunkHeader(Reader& r, std::uint32_t parentEnd, ChunkSpan& out);
// After a chunk's reader: on to the chunk's end, or stay where the reader
// stopped when it read beyond it.
void leaveChunk(Reader& r, const ChunkSpan& chunk);

// Calls `visit(chunk)` for every sub-chunk from the cursor up to `end`.
// Every step moves forward by at least a chunk header.
template <typename Visit> bool forEachChunk(Reader& r, std::uint32_t end, Visit visit) {
    while (r.cursor().position() < end) {
        ChunkSpan chunk;
        if (!readChunkHeader(r, end, chunk) || !visit(chunk)) {
            return false;
        }
        leaveChunk(r, chunk);
    }
    return true;
}

// The mesh container chunk.
bool readMeshContainer(ChunkedParse& p, const ChunkSpan& chunk);
// Sizes what the allocation step of the sectioned reader does not: the UV
// and link lists of every UV set, from the counting walk's totals.
bool allocateUVSetLists(Reader& r, const MeshTallies& totals);

// The embedded files chunk. The filling walk writes each file into the
// reader's embedded files folder (none when it is empty); the counting walk
// only steps over them.
bool readEmbeddedFiles(Reader& r, Pass pass);
// The name an embedded file is written under: the stored path's last
// component (after either separator or a drive). Empty, so that nothing is
// written, for an empty name, "." and "..", and a name with a control
// character or a ':'.
std::wstring embeddedFileName(const wchar_t* storedPath);

} // namespace yfx
