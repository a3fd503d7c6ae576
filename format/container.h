// The container step of an export: the whole inner stream (read back from
// the temporary file the writer filled) compressed into one standard zlib
// stream (format/compress_stream.h) in the final file, behind a copy of the inner header whose
// first four fields say "YFXH", version 8, flags 18 and the inner stream's length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "format/file_layout.h"

namespace yfx {

// Packs the temporary file into the final file and deletes the temporary file
// in every case. `header` is the record the writer filled. No final file is
// written (and an existing one is left untouched) when the temporary file
// cannot be read, does not hold the complete stream the header describes,
// compression fails or the final file cannot be created; a final file whose
// writing fails part-way is removed again. Returns 1 when the final file was
// written, 0 otherwise.
int packContainer(const FileHeader& header, const std::wstring& tempPath,
                  const std::wstring& finalPath);
// The same for a version 9 stream and its 96-byte header.
int packContainerV2(const FileHeaderV2& header, const std::wstring& tempPath,
                    const std::wstring& finalPath);

// The container bytes for an inner stream in memory: the outer header made
// from the inner header bytes (the first headerSize bytes of `inner`), then
// the compressed stream. False when the header size is not one of a header
// (24 to 128 bytes), the stream is shorter than its header or compression
// fails.
bool buildContainer(const std::uint8_t* inner, std::size_t size, std::size_t headerSize,
                    std::vector<std::uint8_t>& out);

} // namespace yfx
