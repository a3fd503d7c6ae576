// The reader's working state for one load: the file image and its cursor,
// the header as read, the version-dependent facts the section readers need,
// and the reason for the last failure. One Reader lives for one load; the
// image it owns goes with it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/scene_doc.h"
#include "format/byte_buffer.h"
#include "format/byte_cursor.h"
#include "format/inflate.h"
#include "format/load_file.h"

namespace yfx {

// Slots of the header as the reader holds it.
constexpr std::uint32_t kHeaderSlots = 32;
constexpr std::uint32_t kSlotMagic = 0;
constexpr std::uint32_t kSlotVersion = 1;
constexpr std::uint32_t kSlotFlags = 2;
constexpr std::uint32_t kSlotSize = 3;
constexpr std::uint32_t kSlotFirstSection = 5;
constexpr std::uint32_t kSlotInfoStrings = 24;

// Load statuses.
constexpr int kLoadOk = 1;
constexpr int kLoadFailed = 0;
constexpr int kLoadBadMagic = -5;
constexpr int kLoadBadVersion = -6;
constexpr int kLoadBadSize = -7;
constexpr int kLoadCannotOpen = -8;

class Reader {
public:
    explicit Reader(SceneDoc& doc) : doc_(doc) {}
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    SceneDoc& doc() { return doc_; }
    ByteCursor& cursor() { return cursor_; }

    // Reads from a buffer the caller keeps alive for the whole load.
    void useImage(const std::uint8_t* data, std::uint32_t size);
    // Takes over a buffer as the image (a file read, an inflated body).
    void installImage(std::vector<std::uint8_t>&& image);
    void installImage(ByteBuffer&& image);
    // Frees an owned image; position and size become 0.
    void releaseImage();

    // A pass that reads the image front to back for the last time gives the
    // memory behind the cursor back as it goes, each time at least `step`
    // more bytes lie behind it (kNeverReleaseImage: never), so that the image
    // and the document built from it are not resident together in full. Only
    // an image the reader owns; after a release the cursor cannot seek back.
    void setImageReleaseStep(std::uint32_t step);
    void releaseReadImage() {
        if (cursor_.position() >= next_release_at_) {
            releaseBehindCursor();
        }
    }

    // The folder texture paths are looked for in: drive and directory of the
    // project file, ending in a backslash (empty when loading from memory
    // without a path).
    void setProjectFolder(const std::wstring& folder) { project_folder_ = folder; }
    const std::wstring& projectFolder() const { return project_folder_; }
    // The folder the embedded files of a chunked file are written to, in the
    // same form; empty (the default) when the load writes none.
    void setEmbeddedFilesFolder(const std::wstring& folder) { embedded_files_folder_ = folder; }
    const std::wstring& embeddedFilesFolder() const { return embedded_files_folder_; }

    // Header and version facts, filled by the header reader.
    std::uint32_t header[kHeaderSlots] = {};
    std::int32_t version = 0;
    std::uint32_t flags = 0;
    std::uint32_t body_start = 0;   // position of the first section
    std::uint64_t corner_total = 0; // polygon corners of all meshes (counting pass)
    NameEncoding encoding = NameEncoding::Ansi;
    // What the load may still inflate, over all compressed levels.
    std::uint64_t inflate_budget_left = kInflateBudget;

    // What is being read, for the failure reason: a section (or chunk), a
    // record with its index, and a part of that record with its index. Cheap
    // to set in inner loops; the text is only formed on failure.
    void setSection(const char* name);
    void setRecord(const char* label, std::int64_t index);
    void setPart(const char* label, std::int64_t index);
    void clearPart() { part_label_ = nullptr; }

    // Reads through the cursor; on a short image each sets the reason
    // ("needs N bytes at offset O, L left") and returns false.
    bool u32(std::uint32_t& out) { return check(cursor_.readU32(out)); }
    bool i32(std::int32_t& out) { return check(cursor_.readI32(out)); }
    bool f32(float& out) { return check(cursor_.readF32(out)); }
    bool f32s(float* out, std::uint32_t count) { return check(cursor_.readF32s(out, count)); }
    bool skip(std::uint64_t n) { return check(cursor_.skip(n)); }
    bool skipElements(std::int64_t count, std::uint64_t size) {
        return check(cursor_.skipElements(count, size));
    }
    bool fits(std::int64_t count, std::uint64_t size) { return check(cursor_.fits(count, size)); }
    bool name(NamePair& out) { return check(cursor_.readName(out, encoding)); }
    bool skipName() { return check(cursor_.skipName()); }

    // Sets the reason to the current context followed by `what`; returns 0.
    int fail(const std::string& what);
    // As fail, with another status.
    int failWith(int status, const std::string& what);
    const std::string& reason() const { return reason_; }
    void setReason(const std::string& reason) { reason_ = reason; }

private:
    bool check(int ok) {
        if (!ok) {
            failShort();
        }
        return ok != 0;
    }
    void failShort();
    std::string context() const;
    void releaseBehindCursor();
    void startImage(const std::uint8_t* data, std::uint32_t size);

    SceneDoc& doc_;
    ByteCursor cursor_;
    std::vector<std::uint8_t> owned_; // the image as read from a file
    ByteBuffer owned_inflated_;       // or as inflated
    std::uint32_t release_step_ = kNeverReleaseImage;
    std::uint64_t next_release_at_ = kNeverReleaseImage; // cursor position of the next release
    std::uint32_t released_to_ = 0; // the image's memory before this offset is given back
    std::wstring project_folder_;
    std::wstring embedded_files_folder_;
    std::string reason_;
    const char* section_ = nullptr;
    const char* record_label_ = nullptr;
    std::int64_t record_ = 0;
    const char* part_label_ = nullptr;
    std::int64_t part_ = 0;
};

} // namespace yfx
