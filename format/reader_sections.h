// The section readers of the sectioned layout. The file is read twice with
// the same readers: the counting pass steps over every record (recording
// each section's count and start, and the polygon corner total) so that a
// truncated or inconsistent file is refused before anything is allocated;
// the filling pass reads the same bytes again and stores every field into the
// records the allocation step made. One reader per kind keeps the two passes
// from ever disagreeing about a layout.
#pragma once

#include <cstdint>
#include <vector>

#include "format/reader.h"

namespace yfx {

enum class Pass { Count, Fill };

// Opens a section: notes where it starts, reads its count and, in the
// counting pass, records both in the document. False when the count cannot
// be read.
bool beginSection(Reader& r, Pass pass, DocSection kind, const char* name, std::int32_t& count);

bool readLights(Reader& r, Pass pass);
bool readCameras(Reader& r, Pass pass);
bool readMaterials(Reader& r, Pass pass);
bool readGroups(Reader& r, Pass pass);
bool readVertices(Reader& r, Pass pass);
bool readFaceLinks(Reader& r, Pass pass);
bool readUVSets(Reader& r, Pass pass);
bool readMeshes(Reader& r, Pass pass);
bool readBones(Reader& r, Pass pass);
bool readAnimations(Reader& r, Pass pass);

// Record readers shared with the chunked layout. A counted list of face
// links, stored into `links` (resized to the count) when it is given.
bool readFaceLinkList(Reader& r, std::int32_t count, std::vector<DocFaceLink>* links);
// One late-form polygon; stored into `p` in the filling pass (nullptr in the
// counting pass, which adds its corners to the reader's corner total).
bool readLatePolygon(Reader& r, Pass pass, DocPolygon* p);

// Walks every section of the file's version from the first one.
bool walkSections(Reader& r, Pass pass);
// Sizes the document's arrays from the counting pass (0 on failure, with the
// reason set).
int allocateRecords(Reader& r);
// Drops polygons that name a vertex outside the vertex pool, so that no later
// pass follows such an index. Returns the number dropped.
std::int64_t dropPolygonsWithBadCorners(SceneDoc& doc);
// Counting pass, allocation, filling pass and clean-up of the sections after
// the header. 1 on success, 0 on failure.
int parseSections(Reader& r);

} // namespace yfx
