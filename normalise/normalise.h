// Every normalisation pass over a read document. The passes live in
// yfx::normalise because the material completion pass shares its name with
// the document operation that appends the material "Unassigned".
//
// Order of use: the reader runs runPostParsePasses after a successful parse;
// the import driver then runs scaleDocument with the user's factor, and its
// build step addUnassignedGroup and addUnassignedMaterial before creating any
// host object.
#pragma once

#include "normalise/bone_transforms.h"
#include "normalise/clean_geometry.h"
#include "normalise/document_sweeps.h"
#include "normalise/group_members.h"
#include "normalise/post_parse.h"
#include "normalise/scale_document.h"
#include "normalise/triangulate.h"
#include "normalise/unassigned.h"
#include "normalise/unique_names.h"
#include "normalise/use_counts.h"
