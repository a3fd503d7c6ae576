// Everything of the scene document: records and operations.
#pragma once

#include "document/doc_alloc.h"
#include "document/doc_animation.h"
#include "document/doc_append.h"
#include "document/doc_bounds.h"
#include "document/doc_clear.h"
#include "document/doc_host_transform.h"
#include "document/doc_materials.h"
#include "document/doc_weights.h"
#include "document/scene_doc.h"
#include "document/tga_writer.h"
