// Unique record names within each kind (lights, cameras, bones, groups,
// materials).
#pragma once

#include <cstdint>

#include "document/scene_doc.h"
#include "platform/name_pair.h"

namespace yfx {
namespace normalise {

// Appends the decimal text of number to both forms of the name. When the
// digits would take a form past its 259 characters, that form's last
// characters give way to them, so that the name keeps its length and still
// ends in the digits; both forms stay equal.
void appendNumberToName(NamePair& name, std::int64_t number);

// Makes the wide names of each kind unique: for each record in order, while
// another record of the kind has the same wide name (at most 101 times), the
// kind's running counter (from 0) is appended to the name and counted up.
// Only the earlier of two equal names changes: Box, Box, Box become Box0,
// Box1, Box; A, A, A0 become A01, A, A0. Runs in time linear in the number of
// records (a hash of the current names replaces the comparison with every
// other record). Returns 1; 0 when the hash cannot be allocated, in which
// case the names of the kind being worked on may be only partly unique.
int makeNamesUnique(SceneDoc& doc);

} // namespace normalise
} // namespace yfx
