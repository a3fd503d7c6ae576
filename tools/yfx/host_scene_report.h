// What an import built in the host scene, gathered once so that it can be
// printed as text or as JSON: the node tree, the shapes with their meshes and
// materials, the figures with their bones, skin bindings and selection maps,
// the lights, the time line and the keys of every animated property.
// Gathering costs time linear in nodes, properties, keys, facets and weights.
#pragma once

#include <string>
#include <vector>

class DzScene;

namespace yfx {

struct ReportNode {
    std::string className;
    std::string name;
    std::string label;
    int parent = -1; // scene index of the parent; -1 for none
    int depth = 0;   // 0 for a root
};

struct ReportMap {
    const char* channel; // "color", "opacity", "bump", "normal", "specular"
    std::string file;
};

struct ReportMaterial {
    std::string className;
    std::string name;
    int colour[4] = {0, 0, 0, 0}; // diffuse r, g, b, a (0 to 255)
    double opacity = 0.0;
    int facets = 0; // facets of the shape's mesh that use this material
    std::vector<ReportMap> maps;
};

struct ReportShape {
    int node = -1;
    std::string className;
    std::string name;
    bool hasMesh = false; // a facet mesh; the counts below are 0 without one
    int vertices = 0;
    int facets = 0;
    std::vector<std::string> faceGroups;
    int uvs = 0;    // values of the mesh's UV map
    int uvSets = 0; // the mesh's UV sets
    std::vector<ReportMaterial> materials;
};

struct ReportBone {
    int node = -1;
    float origin[3] = {0, 0, 0};
    float endPoint[3] = {0, 0, 0};
    double orientation[3] = {0, 0, 0}; // degrees, X, Y, Z orientation properties
    std::string rotationOrder;
};

struct ReportBoneBinding {
    std::string name;
    int bone = -1; // scene index of the bound bone; -1 for none
    bool hasWeights = false;
    int weights = 0;  // entries of its general weight map
    double sum = 0.0; // of those entries as 0 to 1
};

struct ReportSelectionPair {
    std::string group;
    int node = -1; // scene index of the node; -1 when it is gone or not in the scene
};

struct ReportFigure {
    int node = -1;
    std::vector<ReportBone> bones; // depth first in child order
    bool hasSkin = false;
    std::vector<ReportBoneBinding> bindings;
    bool hasSelectionMap = false;
    std::string selectionMapName;
    std::vector<ReportSelectionPair> pairs;
};

struct ReportLight {
    int node = -1;
    const char* kind = "distant"; // "point", "spot" or "distant"
    bool hasIntensity = false;
    double intensity = 0.0;
    bool hasColour = false;
    int colour[4] = {0, 0, 0, 0};
    bool hasSpread = false; // spot lights only
    double spread = 0.0;
    // The local transform at the scene's current time.
    float position[3] = {0, 0, 0};
    double rotation[4] = {0, 0, 0, 1}; // quaternion x, y, z, w
    float scale[3] = {1, 1, 1};        // the scale's diagonal
};

struct ReportTimeLine {
    int time = 0;
    int step = 0;
    int animStart = 0;
    int animEnd = 0;
    int playStart = 0;
    int playEnd = 0;
};

struct ReportKey {
    int time = 0; // ticks
    bool hasValue = false;
    double value = 0.0;
};

struct ReportAnimated {
    int node = -1;
    std::string property;
    std::vector<ReportKey> keys;
};

struct HostSceneReport {
    std::vector<ReportNode> nodes; // in scene order (the index is the scene's)
    std::vector<int> treeOrder;    // scene indices, each root followed by its subtree
    std::vector<ReportShape> shapes;
    std::vector<ReportFigure> figures;
    std::vector<ReportLight> lights;
    ReportTimeLine timeLine;
    std::vector<ReportAnimated> animated;
};

HostSceneReport gatherHostScene(const DzScene& scene);

} // namespace yfx
