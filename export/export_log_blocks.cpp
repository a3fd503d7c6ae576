#include "export/export_log_blocks.h"

#include "export/export_log.h"
#include "export/export_settings.h"

namespace yfx {
namespace exporter {

namespace {

const wchar_t* reasonText(prepare::TextureSkip why) {
    switch (why) {
    case prepare::TextureSkip::kAlreadyThere:
        return L"a file of that name is already in the target folder";
    case prepare::TextureSkip::kNameTaken:
        return L"another texture of that name was copied there";
    case prepare::TextureSkip::kPathTooLong:
        return L"the destination path would have 260 or more characters";
    case prepare::TextureSkip::kCopyFailed:
        break;
    }
    return L"the copy failed";
}

} // namespace

void logHeader(const ExportSession& session) {
    log_printf(L"doc_filepath: \"%s\"\n", session.document_path.c_str());
    log_printf(L"creator: %s\n", session.creator_text.c_str());
    log_printf(L"version: %s\n", session.version_text.c_str());
    log_printf(L"time: %s\n\n", session.time_text.c_str());
    for (const ExportOptionField& option : kExportOptionFields) {
        log_printf(L"%19s: %d\n", option.log_name, isOn(session.options.*option.field) ? 1 : 0);
    }
    log_printf(L"\n");
}

void logTexturesNotCopied(const prepare::TextureCopyReport& report) {
    for (const prepare::TextureNotCopied& texture : report.not_copied) {
        log_printf(L"texture not copied (%s): \"%s\" -> \"%s\"\n", reasonText(texture.why),
                   texture.source.c_str(), texture.destination.c_str());
    }
}

void logSpannedTiles(const std::vector<prepare::SpannedTiles>& spanned) {
    for (const prepare::SpannedTiles& s : spanned) {
        log_printf(L"UV tiles moved as one: \"%s\" of \"%s\", UV set %d: u %g to %g moved left by "
                   L"%g tiles, to u %g to %g, so part of it lies outside the first tile\n",
                   s.surface.c_str(), s.mesh.c_str(), static_cast<int>(s.set),
                   static_cast<double>(s.min_u), static_cast<double>(s.max_u),
                   static_cast<double>(s.shift), static_cast<double>(s.min_u - s.shift),
                   static_cast<double>(s.max_u - s.shift));
    }
}

void logMaterials(const SceneDoc& doc) {
    log_printf(L"NUM_MATERIALS: %d (GLOBAL FINAL)\n", static_cast<int>(doc.materials.size()));
    for (std::size_t i = 0; i < doc.materials.size(); ++i) {
        const DocMaterial& material = doc.materials[i];
        log_printf(L"mat: %2d, num_maps: %d, name: \"%s\"\n", static_cast<int>(i),
                   static_cast<int>(material.maps.size()), material.name.wide);
        for (std::size_t j = 0; j < material.maps.size(); ++j) {
            const DocMap* map = material.maps[j].get();
            if (map != nullptr && map->map_type == 1) {
                log_printf(L"     map: %2d, bitmap_filepath: \"%s\"\n", static_cast<int>(j),
                           map->path.wide);
            }
        }
    }
}

} // namespace exporter
} // namespace yfx
