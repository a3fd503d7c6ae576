// The embedded files chunk: a count, then per file a stored path (a name),
// a u32 byte size S and S bytes of content. The filling walk writes every
// file under the stored path's file name into the folder the load names for
// them (normally the project folder, so that the textures a project carries
// stand beside it); a load that names none writes nothing.
//
// A file's stored path comes from whoever made the file, so it is never
// followed: only its last component is used, names that could leave the
// folder or that no file system should see are skipped, and an existing file
// is never replaced (the file is created exclusively, so a file that appears
// between a test and the write is not replaced either). Writing never fails
// the load: a file that cannot be written is left out, and one that could
// only be written in part is removed again.
#include <cstdio>
#include <new>
#include <string>

#include "format/chunked_parse.h"
#include "platform/new_file.h"
#include "platform/path.h"
#include "platform/temp_file.h"

namespace yfx {

namespace {

// Each file needs at least a name length and its size.
constexpr std::uint64_t kSmallestEmbeddedFile = 2 + 4;

bool unsafeCharacter(wchar_t c) {
    // Control characters, and ':' which names a drive or a stream on Windows.
    return static_cast<std::uint32_t>(c) < 0x20 || c == 0x7F || c == L':';
}

void writeEmbeddedFile(const std::wstring& folder, const wchar_t* storedPath,
                       const std::uint8_t* bytes, std::uint32_t size) {
    try {
        const std::wstring name = embeddedFileName(storedPath);
        // Without a folder (the load writes none, or there is no project
        // folder) nothing is written: a relative target would land in the
        // working folder.
        if (name.empty() || folder.empty()) {
            return;
        }
        const std::wstring target = folder + name;
        std::FILE* file = createNewHostFile(target);
        if (file == nullptr) {
            return; // exists already, or cannot be created
        }
        bool ok = std::fwrite(bytes, 1, size, file) == size;
        ok = std::fclose(file) == 0 && ok;
        if (!ok) {
            deleteHostFile(target);
        }
    } catch (const std::bad_alloc&) {
        // Left out, like any file that cannot be written.
    }
}

} // namespace

std::wstring embeddedFileName(const wchar_t* storedPath) {
    if (storedPath == nullptr) {
        return std::wstring();
    }
    const std::wstring name = fileNameOf(std::wstring(storedPath));
    if (name.empty() || name == L"." || name == L"..") {
        return std::wstring();
    }
    for (wchar_t c : name) {
        if (unsafeCharacter(c)) {
            return std::wstring();
        }
    }
    return name;
}

bool readEmbeddedFiles(Reader& r, Pass pass) {
    r.setSection("embedded files");
    std::int32_t count = 0;
    if (!r.i32(count)) {
        return false;
    }
    if (count > 0 && !r.fits(count, kSmallestEmbeddedFile)) {
        return false;
    }
    NamePair path;
    for (std::int32_t i = 0; i < count; ++i) {
        r.setRecord("file", i);
        std::uint32_t size = 0;
        if (!(pass == Pass::Fill ? r.name(path) : r.skipName()) || !r.u32(size)) {
            return false;
        }
        const std::uint8_t* content = r.cursor().data() + r.cursor().position();
        if (!r.skip(size)) {
            return false;
        }
        if (pass == Pass::Fill && size > 0) {
            writeEmbeddedFile(r.embeddedFilesFolder(), path.wide, content, size);
        }
    }
    return true;
}

} // namespace yfx
