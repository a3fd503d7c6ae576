#include "format/load_file.h"

#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "document/doc_clear.h"
#include "format/loaded_document_check.h"
#include "format/reader.h"
#include "format/reader_file_system.h"
#include "format/reader_header.h"
#include "format/reader_texture_paths.h"
#include "normalise/post_parse.h"

namespace yfx {

namespace {

void report(std::string* reason, const std::string& text) {
    if (reason != nullptr) {
        *reason = text;
    }
}

// The reader's settings from the options: where embedded files go (nowhere
// when they are not written) and what it may inflate.
void applyOptions(Reader& r, const LoadOptions& options) {
    std::wstring folder;
    if (options.write_embedded_files) {
        folder = options.embedded_files_folder;
        for (wchar_t& c : folder) {
            c = c == L'/' ? L'\\' : c;
        }
        if (folder.empty()) {
            folder = r.projectFolder();
        } else if (folder.back() != L'\\') {
            folder += L'\\';
        }
    }
    r.setEmbeddedFilesFolder(folder);
    r.inflate_budget_left = options.inflate_budget;
    r.setImageReleaseStep(options.image_release_step);
}

#ifndef NDEBUG
// Debug builds hold every successful load to what it guarantees: a broken
// guarantee is a reader or pass fault, stopped where it happens rather than
// where the import meets it.
void requireLoadGuarantees(const SceneDoc& doc) {
    const std::string broken = checkLoadedDocument(doc);
    if (!broken.empty()) {
        std::fprintf(stderr, "yfx: a successful load breaks a guarantee: %s\n", broken.c_str());
        std::abort();
    }
}
#endif

// Parses the reader's image, frees it, and on success normalises the
// document; on failure the document is emptied.
int finishLoad(Reader& r, std::string* reason) {
    int status = kLoadFailed;
    try {
        status = parseImage(r);
    } catch (const std::bad_alloc&) {
        r.fail("out of memory");
        status = kLoadFailed;
    }
    r.releaseImage();
    if (status != kLoadOk) {
        clearDocument(r.doc());
        report(reason, r.reason());
        return status;
    }
    normalise::runPostParsePasses(r.doc());
#ifndef NDEBUG
    requireLoadGuarantees(r.doc());
#endif
    report(reason, std::string());
    return kLoadOk;
}

} // namespace

LoadOptions inspectionLoad() {
    LoadOptions options;
    options.write_embedded_files = false;
    return options;
}

int loadFile(SceneDoc& doc, const std::wstring& path, std::string* reason,
             const LoadOptions& options) {
    clearDocument(doc);
    Reader r(doc);
    std::vector<std::uint8_t> image;
    std::string why;
    const int read = readWholeFile(path, image, why);
    if (read != 1) {
        report(reason, why);
        return read;
    }
    r.installImage(std::move(image));
    r.setProjectFolder(projectFolderOf(path));
    applyOptions(r, options);
    return finishLoad(r, reason);
}

int loadFromMemory(SceneDoc& doc, const std::uint8_t* data, std::size_t size,
                   const std::wstring& projectPath, std::string* reason,
                   const LoadOptions& options) {
    clearDocument(doc);
    Reader r(doc);
    if (static_cast<std::uint64_t>(size) > 0xFFFFFFFFu) {
        report(reason, "the image is larger than 4 GiB");
        return kLoadFailed;
    }
    r.useImage(data, static_cast<std::uint32_t>(size));
    r.setProjectFolder(projectFolderOf(projectPath));
    applyOptions(r, options);
    return finishLoad(r, reason);
}

} // namespace yfx
