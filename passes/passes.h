// Every normalisation pass over a read document. The passes live in
// yfx::passes because the material completion pass shares its name with the
// document operation that appends the material "Unassigned".
//
// Order of use: the reader runs runPostParsePasses after a successful parse;
// the import driver then runs scaleDocument with the user's factor, and its
// build step addUnassignedGroup and addUnassignedMaterial before creating any
// host object.
#pragma once

#include "passes/bone_transforms.h"
#include "passes/clean_geometry.h"
#include "passes/document_sweeps.h"
#include "passes/group_members.h"
#include "passes/post_parse.h"
#include "passes/scale_document.h"
#include "passes/triangulate.h"
#include "passes/unassigned.h"
#include "passes/unique_names.h"
#include "passes/use_counts.h"
