// What a project file's headers say, without building a document: the outer
// compressed container (when present), the version, flags and size of the
// stream inside, and its section table (sectioned layout) or its chunks and
// embedded files (chunked layout of version 34). Every place where the
// headers disagree with the bytes present is noted as a problem.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yfx {

struct ContainerLayer {
    std::uint32_t version = 0;
    std::uint32_t flags = 0;
    std::uint32_t inner_size = 0;      // what the header says the inflated stream holds
    std::uint64_t compressed_size = 0; // bytes of the compressed body
    double ratio = 0.0;                // inner size / compressed size
};

struct HeaderSection {
    const char* name = "";
    std::int32_t count = 0;
    std::uint32_t offset = 0;
};

struct HeaderChunk {
    std::uint32_t tag = 0;
    const char* name = "";
    std::uint32_t length = 0; // bytes of content after the 8-byte chunk head
    std::uint64_t offset = 0; // position of the chunk's tag
};

struct EmbeddedFile {
    std::wstring name;
    std::uint32_t size = 0;
};

struct HeaderReport {
    std::uint64_t file_size = 0;
    std::vector<ContainerLayer> containers; // outermost first
    std::uint32_t version = 0;
    std::uint32_t flags = 0;
    std::uint32_t size = 0;        // the stream's size field
    std::uint64_t actual_size = 0; // bytes of the stream present (after inflation)
    std::uint32_t header_size = 0; // 96, 128 or 48 bytes
    bool chunked = false;
    std::vector<HeaderSection> sections;
    std::vector<HeaderChunk> chunks; // the directory first
    std::vector<EmbeddedFile> files;
    std::vector<std::string> problems;
};

// Inspects a whole file image. False, with `error` set, when the headers
// cannot be read at all (too short, no "YFXH", an unknown version, a body that
// does not inflate); true otherwise, with any mismatch in report.problems.
bool inspectHeaders(const std::vector<std::uint8_t>& image, HeaderReport& report,
                    std::string& error);

// The name of a chunk tag ("lights", "directory", "unknown", ...).
const char* chunkTagName(std::uint32_t tag);

} // namespace yfx
