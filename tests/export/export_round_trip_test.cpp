// The demo scene written by the write step and read back by the reader, held
// against what the stand-in host itself says about the scene: world-space
// vertices and faces at the export frame, one bone per node with its parent
// and a rest placement that rebuilds the node's world transform, skin
// weights, lights, and keys that rebuild every node's motion frame by frame;
// the version 2 layout; and the zero pose, which changes the rest pose only
// and leaves the scene's values and keys as they were.
#include "export/export_driver.h"

#include "export/export_option_keys.h"
#include "format/load_file.h"
#include "plugin/plugin_test_support.h"
#include "scratch_folder.h"
#include "tools/demo/demo_scene.h"

#include <dzbonebinding.h>
#include <dzdistantlight.h>
#include <dzfacetmesh.h>
#include <dzfigure.h>
#include <dzfileiosettings.h>
#include <dzfloatproperty.h>
#include <dzmatrix3.h>
#include <dzobject.h>
#include <dzscene.h>
#include <dzshape.h>
#include <dzskinbinding.h>
#include <dzspotlight.h>
#include <dzweightmap.h>

#include <QtGui/QColor>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using yfx::SceneDoc;
using yfx_test::ScratchFolder;

constexpr int kFrames = 30; // the play range 0 to 30 samples frames 0 to 29
constexpr float kNear = 2e-3f;

// Collects failed comparisons of a long loop and reports how many failed,
// with the first few, as one expectation.
class Mismatches {
public:
    void check(bool ok, const std::string& what) {
        if (!ok && ++count_ <= 5) {
            first_ += what + "\n";
        }
    }
    void expectNone(const char* of) const { EXPECT_EQ(count_, 0) << of << ":\n" << first_; }

private:
    int count_ = 0;
    std::string first_;
};

struct Quat {
    double x = 0, y = 0, z = 0, w = 1;
};

Quat hamilton(const Quat& a, const Quat& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

// q v q^-1, for a quaternion of any length.
DzVec3 rotate(const Quat& q, const DzVec3& v) {
    const double n = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    const double x = q.x / n, y = q.y / n, z = q.z / n, w = q.w / n;
    const double tx = 2 * (y * v.m_z - z * v.m_y), ty = 2 * (z * v.m_x - x * v.m_z),
                 tz = 2 * (x * v.m_y - y * v.m_x);
    return DzVec3(float(v.m_x + w * tx + y * tz - z * ty), float(v.m_y + w * ty + z * tx - x * tz),
                  float(v.m_z + w * tz + x * ty - y * tx));
}

// What the file stores for a bone or a key: x -> position + rotation(scale * x).
struct Placement {
    DzVec3 position;
    Quat rotation;
    DzVec3 scale{1, 1, 1};
};

Placement restOf(const yfx::DocBone& b) {
    return {DzVec3(b.position[0], b.position[1], b.position[2]),
            {b.rotation[0], b.rotation[1], b.rotation[2], b.rotation[3]},
            DzVec3(b.scale[0], b.scale[1], b.scale[2])};
}

// A key relative to the rest placement, composed back onto it.
Placement keyOnRest(const Placement& rest, const yfx::DocTrack& track, std::size_t k) {
    const float* p = track.position_keys[k].value;
    const float* r = track.rotation_keys[k].value;
    const float* s = track.scale_keys[k].value;
    return {rest.position + rotate(rest.rotation, DzVec3(p[0], p[1], p[2])),
            hamilton(rest.rotation, {r[0], r[1], r[2], r[3]}),
            DzVec3(rest.scale.m_x * s[0], rest.scale.m_y * s[1], rest.scale.m_z * s[2])};
}

// The placement as a host matrix: row i the image of axis i, row 3 the position.
DzMatrix3 matrixOf(const Placement& p) {
    DzMatrix3 m(true);
    const DzVec3 scaledAxes[3] = {DzVec3(p.scale.m_x, 0, 0), DzVec3(0, p.scale.m_y, 0),
                                  DzVec3(0, 0, p.scale.m_z)};
    for (int i = 0; i < 3; ++i) {
        const DzVec3 image = rotate(p.rotation, scaledAxes[i]);
        m[i][0] = image.m_x, m[i][1] = image.m_y, m[i][2] = image.m_z;
    }
    m.setTrans(p.position);
    return m;
}

// Both transforms move a few probe points to the same places.
bool samePlacement(const DzMatrix3& a, const DzMatrix3& b) {
    const DzVec3 probes[] = {DzVec3(0, 0, 0), DzVec3(10, 0, 0), DzVec3(0, 10, 0), DzVec3(0, 0, 10)};
    for (const DzVec3& p : probes) {
        if ((a.multPnt(p) - b.multPnt(p)).length() > kNear) {
            return false;
        }
    }
    return true;
}

void appendTree(DzNode* node, std::vector<DzNode*>& out) {
    out.push_back(node);
    for (int c = 0; c < node->getNumNodeChildren(); ++c) {
        appendTree(node->getNodeChild(c), out);
    }
}

// The scene's nodes in the file's bone order: each root, then its children
// depth first.
std::vector<DzNode*> nodesInBoneOrder() {
    std::vector<DzNode*> out;
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        if (dzScene->getNode(i)->getNodeParent() == nullptr) {
            appendTree(dzScene->getNode(i), out);
        }
    }
    return out;
}

DzFacetMesh* facetMeshOf(const DzNode* node) {
    const DzObject* object = node->getObject();
    const DzShape* shape = object != nullptr ? object->getCurrentShape() : nullptr;
    return shape != nullptr ? qobject_cast<DzFacetMesh*>(shape->getGeometry()) : nullptr;
}

// Every float value and key of every node, as text.
std::vector<std::string> sceneState() {
    std::vector<std::string> state;
    for (int n = 0; n < dzScene->getNumNodes(); ++n) {
        const DzNode* node = dzScene->getNode(n);
        for (int p = 0; p < node->getNumProperties(); ++p) {
            const auto* f = qobject_cast<const DzFloatProperty*>(node->getProperty(p));
            if (f == nullptr) {
                continue;
            }
            std::ostringstream line;
            line << node->getLabel().toStdString() << "/" << f->getName().toStdString();
            for (int k = 0; k < f->getNumKeys(); ++k) {
                line << " key(" << f->getKeyTime(k) << ", " << f->getKeyValue(k) << ")";
            }
            for (const int frame : {0, 7, kFrames, kFrames + 1}) {
                line << " " << f->getValue(frame * yfx_demo::kTimeStep);
            }
            state.push_back(line.str());
        }
    }
    return state;
}

class ExportRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        DzScene::create();
        yfx_demo::DemoSceneOptions options;
        options.frames = kFrames;
        options.textureFolder = QString::fromStdString(scratch_.file("textures"));
        QString error;
        ASSERT_TRUE(yfx_demo::buildDemoScene(options, demo_, error)) << error.toStdString();
        nodes_ = nodesInBoneOrder();
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            boneOf_[nodes_[i]] = int(i);
        }
    }
    void TearDown() override { DzScene::destroy(); }

    // Exports with every option on that puts something into the file (hidden
    // nodes included), the layout and zero pose as asked, and loads the file.
    SceneDoc exportAndLoad(bool asV2, bool zeroPose) {
        DzFileIOSettings settings;
        settings.setIntValue(QString::fromLatin1(yfx::kExportDialogReturnedKey), 1);
        const int values[yfx::kExportOptionCount] = {1,        1, 1, 1, 1, 1,   0,
                                                     zeroPose, 0, 0, 0, 0, asV2};
        for (int i = 0; i < yfx::kExportOptionCount; ++i) {
            settings.setIntValue(QString::fromLatin1(yfx::kExportOptionKeys[i]), values[i]);
        }
        const std::string target = scratch_.file("demo.yfx");
        SceneDoc exported;
        yfx::exporter::ExportSession session(exported);
        const yfx::exporter::ExportResult result =
            yfx::exporter::runExportWrite(session, QString::fromStdString(target), &settings);
        EXPECT_EQ(result.code, 0) << result.message.text.toStdString();
        SceneDoc loaded;
        std::string reason;
        EXPECT_EQ(yfx::loadFile(loaded, yfx_test::hostPath(target), &reason), 1) << reason;
        return loaded;
    }

    int boneOf(const DzNode* node) const {
        const auto found = boneOf_.find(node);
        return found != boneOf_.end() ? found->second : -1;
    }

    // The node's world transform at a frame; a root's is its local one.
    static DzMatrix3 worldAt(const DzNode* node, int frame) {
        return node->getWSTransform(frame * yfx_demo::kTimeStep, false);
    }

    // Rest placements composed down the parents give each node's world
    // transform at the export frame.
    void expectBoneTreeAt(const SceneDoc& doc, int frame) const {
        ASSERT_EQ(doc.bones.size(), nodes_.size());
        std::vector<DzMatrix3> world;
        Mismatches bad;
        for (std::size_t i = 0; i < nodes_.size(); ++i) {
            const yfx::DocBone& bone = doc.bones[i];
            const std::string label = nodes_[i]->getLabel().toStdString();
            bad.check(bone.name.ansi == label,
                      "bone " + std::to_string(i) + " is " + bone.name.ansi + ", not " + label);
            const int parent = boneOf(nodes_[i]->getNodeParent());
            bad.check(bone.parent == parent, label + ": parent " + std::to_string(bone.parent));
            const DzMatrix3 local = matrixOf(restOf(bone));
            world.push_back(parent >= 0 && parent < int(i) ? local * world[std::size_t(parent)]
                                                           : local);
            bad.check(samePlacement(world.back(), worldAt(nodes_[i], frame)),
                      label + ": rest placement");
        }
        bad.expectNone("bones");
    }

    // The vertex pool holds, mesh by mesh in node order, the vertices the
    // faces use, where the host's final (posed, world-space) geometry has
    // them; the faces, triangles first, name them; the figure's vertices carry
    // its weight maps' weights normalised, every other mesh's vertices follow
    // the mesh's own node whole.
    void expectGeometryAndWeights(const SceneDoc& doc) const {
        std::vector<std::vector<std::vector<int>>> facesOfGroup;
        std::vector<DzVec3> positions;
        std::vector<std::map<int, float>> weights;
        for (DzNode* node : nodes_) {
            const DzFacetMesh* mesh = facetMeshOf(node);
            if (mesh == nullptr) {
                continue;
            }
            node->finalize(false, true);
            const DzPnt3* posed = node->getObject()->getCachedGeom()->getVerticesPtr();
            const DzFacet* facets = mesh->getFacetsPtr();
            std::vector<int> poolIndex(std::size_t(mesh->getNumVertices()), -1);
            for (int f = 0; f < mesh->getNumFacets(); ++f) {
                for (int c = 0; c < (facets[f].isQuad() ? 4 : 3); ++c) {
                    poolIndex[std::size_t(facets[f].m_vertIdx[c])] = 0;
                }
            }
            for (std::size_t v = 0; v < poolIndex.size(); ++v) {
                if (poolIndex[v] == 0) {
                    poolIndex[v] = int(positions.size());
                    positions.emplace_back(posed[v][0], posed[v][1], posed[v][2]);
                    weights.push_back(weightsOf(node, int(v)));
                }
            }
            facesOfGroup.emplace_back();
            for (const bool quads : {false, true}) {
                for (int f = 0; f < mesh->getNumFacets(); ++f) {
                    if (facets[f].isQuad() == quads) {
                        std::vector<int> corners;
                        for (int c = 0; c < (quads ? 4 : 3); ++c) {
                            corners.push_back(poolIndex[std::size_t(facets[f].m_vertIdx[c])]);
                        }
                        facesOfGroup.back().push_back(corners);
                    }
                }
            }
        }

        ASSERT_EQ(doc.vertices.size(), positions.size());
        Mismatches bad;
        for (std::size_t v = 0; v < positions.size(); ++v) {
            const float* p = doc.vertices[v].position;
            bad.check((DzVec3(p[0], p[1], p[2]) - positions[v]).length() < kNear,
                      "vertex " + std::to_string(v) + " position");
            std::map<int, float> got;
            for (const yfx::DocWeight& w : doc.vertices[v].weights) {
                got[w.bone] += w.weight;
            }
            bool same = got.size() == weights[v].size();
            for (const auto& bw : weights[v]) {
                same = same && got.count(bw.first) && std::fabs(got[bw.first] - bw.second) < 1e-5f;
            }
            bad.check(same, "vertex " + std::to_string(v) + " weights");
        }
        bad.expectNone("vertices");

        std::vector<std::vector<std::vector<int>>> loadedFaces(facesOfGroup.size());
        for (const yfx::DocMesh& mesh : doc.meshes) {
            for (const yfx::DocPolygon& polygon : mesh.polygons) {
                ASSERT_GE(polygon.group, 0);
                ASSERT_LT(std::size_t(polygon.group), loadedFaces.size());
                std::vector<int> corners;
                for (const yfx::DocCorner& corner : polygon.corners) {
                    corners.push_back(corner.vertex);
                }
                loadedFaces[std::size_t(polygon.group)].push_back(corners);
            }
        }
        Mismatches faces;
        for (std::size_t g = 0; g < facesOfGroup.size(); ++g) {
            faces.check(loadedFaces[g].size() == facesOfGroup[g].size(),
                        "group " + std::to_string(g) + ": face count");
            for (std::size_t f = 0; f < loadedFaces[g].size() && f < facesOfGroup[g].size(); ++f) {
                faces.check(loadedFaces[g][f] == facesOfGroup[g][f],
                            "group " + std::to_string(g) + ": face " + std::to_string(f));
            }
        }
        faces.expectNone("faces");
    }

    // Host weights of a vertex by bone, normalised; a node without skin
    // binding carries its vertices whole.
    std::map<int, float> weightsOf(const DzNode* node, int vertex) const {
        const auto* figure = qobject_cast<const DzFigure*>(node);
        if (figure == nullptr) {
            return {{boneOf(node), 1.0f}};
        }
        std::map<int, float> out;
        double sum = 0;
        const DzSkinBinding* skin = figure->getSkinBinding();
        for (int b = 0; b < skin->getNumBoneBindings(); ++b) {
            const double w = skin->getBoneBinding(b)->getWeights()->getFloatWeight(vertex);
            if (w != 0.0) {
                out[boneOf(skin->getBoneBinding(b)->getBone())] += float(w);
                sum += w;
            }
        }
        for (auto& bw : out) {
            bw.second = float(bw.second / sum);
        }
        return out;
    }

    // Each track's key at frame f composed with the bone's rest placement,
    // per bone and frame; the keys are one per frame at the frame's time.
    static std::vector<std::vector<DzMatrix3>> keyedPlacements(const SceneDoc& doc) {
        std::vector<std::vector<DzMatrix3>> out;
        const yfx::DocAnimation& animation = doc.animations.at(0);
        EXPECT_EQ(animation.tracks.size(), doc.bones.size());
        Mismatches bad;
        for (std::size_t i = 0; i < animation.tracks.size() && i < doc.bones.size(); ++i) {
            const yfx::DocTrack& track = animation.tracks[i];
            const std::size_t frames = kFrames;
            const bool complete = track.position_keys.size() == frames &&
                                  track.rotation_keys.size() == frames &&
                                  track.scale_keys.size() == frames;
            bad.check(complete, "track " + std::to_string(i) + ": key counts");
            out.emplace_back();
            for (std::size_t f = 0; complete && f < frames; ++f) {
                bad.check(std::fabs(track.rotation_keys[f].time - float(f) / 30.0f) < 1e-5f,
                          "track " + std::to_string(i) + ": time of key " + std::to_string(f));
                out.back().push_back(matrixOf(keyOnRest(restOf(doc.bones[i]), track, f)));
            }
        }
        bad.expectNone("tracks");
        return out;
    }

    ScratchFolder scratch_;
    yfx_demo::DemoScene demo_;
    std::vector<DzNode*> nodes_;
    std::unordered_map<const DzNode*, int> boneOf_;
};

TEST_F(ExportRoundTrip, BothLayoutsHoldTheSceneAtTheExportFrame) {
    struct Layout {
        bool asV2;
        int version;
        bool lights;
    };
    for (const Layout layout : {Layout{false, 31, true}, Layout{true, 9, false}}) {
        SCOPED_TRACE(::testing::Message() << "version " << layout.version);
        const SceneDoc doc = exportAndLoad(layout.asV2, false);
        EXPECT_EQ(doc.version, layout.version);
        EXPECT_EQ(dzScene->getFrame(), 0) << "the scene's frame is given back";
        expectGeometryAndWeights(doc);
        expectBoneTreeAt(doc, 0);

        ASSERT_EQ(doc.animations.size(), 1u);
        const yfx::DocAnimation& animation = doc.animations[0];
        EXPECT_FLOAT_EQ(animation.frames_per_second, 30.0f);
        EXPECT_FLOAT_EQ(animation.start_frame, 0.0f);
        EXPECT_NEAR(animation.end_frame, float(kFrames - 1), 1e-3f);
        const std::vector<std::vector<DzMatrix3>> keyed = keyedPlacements(doc);
        Mismatches bad;
        for (std::size_t i = 0; i < keyed.size(); ++i) {
            const DzNode* parent = nodes_[i]->getNodeParent();
            for (std::size_t f = 0; f < keyed[i].size(); ++f) {
                DzMatrix3 relative = worldAt(nodes_[i], int(f));
                if (parent != nullptr) {
                    relative = relative * worldAt(parent, int(f)).inverse();
                }
                bad.check(samePlacement(keyed[i][f], relative),
                          nodes_[i]->getLabel().toStdString() + " at frame " + std::to_string(f));
            }
        }
        bad.expectNone("keys");

        // Lights in node order: kind, colour, intensity and the spot's cone.
        std::vector<const DzNode*> lights;
        for (const DzNode* node : nodes_) {
            if (node->inherits("DzLight")) {
                lights.push_back(node);
            }
        }
        ASSERT_EQ(doc.lights.size(), layout.lights ? lights.size() : 0u);
        for (std::size_t i = 0; i < doc.lights.size(); ++i) {
            const yfx::DocLight& got = doc.lights[i];
            const auto* light = qobject_cast<const DzDistantLight*>(lights[i]);
            ASSERT_NE(light, nullptr);
            SCOPED_TRACE(light->getLabel().toStdString());
            EXPECT_EQ(got.name.ansi, light->getLabel().toStdString());
            const auto* spot = qobject_cast<const DzSpotLight*>(light);
            EXPECT_EQ(got.kind, spot != nullptr                   ? yfx::kLightSpot
                                : light->inherits("DzPointLight") ? yfx::kLightPoint
                                                                  : yfx::kLightDistant);
            const QColor colour = light->getDiffuseColor();
            EXPECT_FLOAT_EQ(got.colour[0], float(colour.red() / 255.0));
            EXPECT_FLOAT_EQ(got.colour[1], float(colour.green() / 255.0));
            EXPECT_FLOAT_EQ(got.colour[2], float(colour.blue() / 255.0));
            EXPECT_FLOAT_EQ(got.intensity, float(light->getIntensity()));
            if (spot != nullptr) {
                const float spread = float(spot->getSpreadAngleControl()->getValue());
                EXPECT_FLOAT_EQ(got.spread_angle, spread);
                EXPECT_FLOAT_EQ(got.inner_angle, std::max(spread - 10.0f, 0.0f));
            }
            const DzVec3 at = worldAt(light, 0).row(3);
            EXPECT_NEAR(got.transform.position[0], at.m_x, kNear);
            EXPECT_NEAR(got.transform.position[1], at.m_y, kNear);
            EXPECT_NEAR(got.transform.position[2], at.m_z, kNear);
        }
    }
}

// The zero pose gathers every joint unrotated and gives the scene back as it
// was; the keys carry the same motion, relative to the other rest pose.
TEST_F(ExportRoundTrip, ZeroPoseChangesOnlyTheRestPose) {
    const std::vector<std::string> before = sceneState();
    const SceneDoc zeroed = exportAndLoad(false, true);
    const std::vector<std::string> after = sceneState();
    ASSERT_EQ(after.size(), before.size());
    Mismatches changed;
    for (std::size_t i = 0; i < after.size(); ++i) {
        changed.check(after[i] == before[i], before[i] + "\n  became " + after[i]);
    }
    changed.expectNone("values and keys after the export");
    EXPECT_EQ(dzScene->getFrame(), 0);
    const SceneDoc posed = exportAndLoad(false, false);

    ASSERT_EQ(zeroed.bones.size(), nodes_.size());
    ASSERT_EQ(posed.bones.size(), nodes_.size());
    int posedJoints = 0;
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i]->inherits("DzBone")) {
            const float* q = zeroed.bones[i].rotation;
            EXPECT_NEAR(std::fabs(q[3]), 1.0f, 1e-5f) << nodes_[i]->getLabel().toStdString();
            posedJoints += std::fabs(posed.bones[i].rotation[3]) < 0.9999f;
        }
    }
    EXPECT_GT(posedJoints, 10) << "the demo's joints are posed at the export frame";

    const std::vector<std::vector<DzMatrix3>> a = keyedPlacements(zeroed);
    const std::vector<std::vector<DzMatrix3>> b = keyedPlacements(posed);
    ASSERT_EQ(a.size(), b.size());
    Mismatches bad;
    for (std::size_t i = 0; i < a.size(); ++i) {
        ASSERT_EQ(a[i].size(), b[i].size());
        for (std::size_t f = 0; f < a[i].size(); ++f) {
            bad.check(samePlacement(a[i][f], b[i][f]),
                      nodes_[i]->getLabel().toStdString() + " at frame " + std::to_string(f));
        }
    }
    bad.expectNone("keys on the rest pose");
}

} // namespace
