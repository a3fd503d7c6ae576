// Reading a host material beyond its fixed accessors: the texture of a named
// property, and the material's class as the log names it.
#pragma once

#include <string>

class DzElement;
class DzMaterial;
class DzTexture;

namespace yfx {
namespace exporter {

// The map of the first property of `element`, in index order, whose name
// equals `name` ignoring ASCII letter case, that is numeric, has a map
// attached and whose map is a texture. A property that matches by name only
// does not end the search. Null when none does.
DzTexture* findPropertyTexture(const DzElement& element, const wchar_t* name);

// "DzBrickMaterial", "DzDefaultMaterial", "DzShaderMaterial" or
// "DzUberIrayMaterial", the first of them the material inherits, otherwise
// "UNKNOWN: " followed by its class name.
std::wstring materialClassName(const DzMaterial& material);

} // namespace exporter
} // namespace yfx
