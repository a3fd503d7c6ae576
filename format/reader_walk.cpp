// The two walks over the sections of the sectioned layout, in file order:
// lights, cameras, materials, groups, vertices, (from version 30) face links
// and UV sets, meshes, bones, animations. The info strings that close the
// file are never read; only their count, from the header, is kept. The
// filling walk reads every byte once, in order, and never goes back: it gives
// the image's memory behind it back as it goes (at each section, vertex, UV
// set and polygon).
#include "format/reader_sections.h"
#include "format/reader_version_map.h"

namespace yfx {

bool beginSection(Reader& r, Pass pass, DocSection kind, const char* name, std::int32_t& count) {
    r.setSection(name);
    const std::uint32_t start = r.cursor().position();
    if (!r.i32(count)) {
        return false;
    }
    if (pass == Pass::Count) {
        r.doc().section_counts[kind] = count;
        r.doc().section_offsets[kind] = start;
    } else {
        r.releaseReadImage();
    }
    return true;
}

bool walkSections(Reader& r, Pass pass) {
    if (!r.cursor().seek(r.body_start)) {
        r.setSection("header");
        return r.fail("the first section lies beyond the end of the file");
    }
    if (!readLights(r, pass) || !readCameras(r, pass) || !readMaterials(r, pass) ||
        !readGroups(r, pass) || !readVertices(r, pass)) {
        return false;
    }
    if (hasUVSections(r.version) && (!readFaceLinks(r, pass) || !readUVSets(r, pass))) {
        return false;
    }
    return readMeshes(r, pass) && readBones(r, pass) && readAnimations(r, pass);
}

int parseSections(Reader& r) {
    SceneDoc& doc = r.doc();
    r.corner_total = 0;
    if (!walkSections(r, Pass::Count) || !allocateRecords(r) || !walkSections(r, Pass::Fill)) {
        return kLoadFailed;
    }
    doc.section_counts[kSectionInfoStrings] = static_cast<std::int32_t>(r.header[kSlotInfoStrings]);
    dropPolygonsWithBadCorners(doc);
    return kLoadOk;
}

} // namespace yfx
