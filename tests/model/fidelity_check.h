// How faithfully a glTF comes back from a round trip: both files posed by the
// glTF rules (gltf_eval.h), their triangles paired by where their corners are
// at time 0, then compared at the given times.
#pragma once

#include "gltf_eval.h"

#include <string>
#include <vector>

namespace modeltest {

struct Fidelity {
    std::size_t triangles = 0; // the model's
    std::size_t unmatched = 0; // model triangles with no counterpart in the copy
    std::size_t extra = 0;     // copy triangles beyond the paired ones
    std::size_t turned = 0;    // paired triangles facing the other way
    double worstPosition = 0;  // largest corner distance, as a share of the model's diagonal
    double worstAt = 0;        // the time it was seen at
    double worstWeight = 0;    // largest weight difference of a paired corner
    double diagonal = 0;       // the model's bounding-box diagonal at time 0
};

Fidelity compareGltf(const GltfPoser& model, const GltfPoser& copy,
                     const std::vector<double>& times);

std::string describe(const Fidelity& f);

} // namespace modeltest
