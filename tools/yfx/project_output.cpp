#include "tools/yfx/project_output.h"

#include <new>
#include <stdexcept>

#include "format/byte_sink.h"
#include "format/container.h"
#include "format/file_layout.h"
#include "format/time_text.h"
#include "format/writer_v31.h"
#include "format/writer_v9.h"
#include "platform/replace_file.h"
#include "tools/yfx/writable_doc.h"

namespace yfx {

WriterOptions allOnWriterOptions() {
    WriterOptions options;
    options.export_lights = 1;
    options.export_materials = 1;
    options.export_uvs = 1;
    options.export_uvsets = 1;
    options.export_joints = 1;
    options.export_animation = 1;
    options.header_flag_option = 1;
    options.creator_text = L"Marrowmap Pro Filter for Daz Studio 4.x";
    options.version_text = L"v3.0";
    options.time_text = exportTimeText();
    return options;
}

bool encodeProjectFile(const SceneDoc& doc, bool version9, std::vector<std::uint8_t>& out,
                       std::string& error) {
    try {
        const WriterOptions options = allOnWriterOptions();
        MemorySink sink;
        int written = 0;
        std::size_t headerSize = 0;
        if (version9) {
            FileHeaderV2 header;
            written = writeDocumentV2(doc, options, sink, header);
            headerSize = kHeaderSizeV2;
        } else {
            FileHeader header;
            written = writeDocument(doc, options, sink, header);
            headerSize = kHeaderSize;
        }
        if (written != 1) {
            error = std::string("the version ") + (version9 ? "9" : "31") +
                    " writer failed (the document does not fit the layout, or memory ran out)";
            return false;
        }
        if (!buildContainer(sink.data(), sink.size(), headerSize, out)) {
            error = "the compressed container cannot be built";
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        error = "out of memory while writing";
    } catch (const std::length_error&) {
        error = "out of memory while writing";
    }
    return false;
}

bool saveProjectFile(SceneDoc& doc, bool version9, const std::string& path, std::string& error) {
    try {
        if (!prepareForWriting(doc, version9)) {
            error = "cannot add the group \"Unassigned\" for polygons without a group";
            return false;
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory while preparing the document";
        return false;
    } catch (const std::length_error&) {
        error = "out of memory while preparing the document";
        return false;
    }
    std::vector<std::uint8_t> bytes;
    return encodeProjectFile(doc, version9, bytes, error) && replaceFile(path, bytes, error);
}

} // namespace yfx
