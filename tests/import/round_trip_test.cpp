// The demo scene exported by the write step (joints and animation on) and
// imported back by the read step into an empty scene, in both layouts.
// Every exported node comes back as a bone of one figure and moves as the
// node did at every frame the export sampled; every corner keeps the
// position and UV the file gives it; materials keep colour, opacity and
// texture files; weights are those of the file; lights keep kind, colour,
// intensity and placement (the version 9 layout holds no lights).
//
// A host bone at rest has no rotation (its orientation only turns the axes
// its rotations are taken about), while the exported rest pose is the
// export frame's pose. The import puts that frame's world rotation into the
// orientation and keys the motion from it, so the node's world transform is
// the orientation followed by the bone's world transform.
#include "import_support.h"

#include "export/export_driver.h"
#include "export/export_option_keys.h"
#include "import/import_driver.h"
#include "import/import_option_keys.h"
#include "tools/demo/demo_scene.h"

#include <dzbone.h>
#include <dzbonebinding.h>
#include <dzcolorproperty.h>
#include <dzdefaultmaterial.h>
#include <dzfigure.h>
#include <dzfileiosettings.h>
#include <dzfloatproperty.h>
#include <dzskinbinding.h>
#include <dzspotlight.h>
#include <dztexture.h>
#include <dzweightmap.h>

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>

#include <cmath>
#include <map>
#include <set>

using namespace importtest;

namespace {

// The demo's play range, frames 0 to 30, samples frames 0 to 29.
constexpr int kSampledFrames = 30;
// World transforms agree to this much in every element (translations are
// up to a few hundred units).
constexpr float kWorldTolerance = 1e-3f;
// The import scales about the centre of the vertex bounds, also by 1.
constexpr float kPositionTolerance = 1e-4f;

struct SourceNode {
    QString parentLabel;           // empty for a root
    std::vector<DzMatrix3> worlds; // at each sampled frame
};

struct SourceLight {
    QString className;
    QColor colour;
    double intensity = 0.0;
    double spread = 0.0; // spot lights
    DzMatrix3 world;
};

// What the test compares with, read from the demo scene before the export.
struct SourceScene {
    std::map<QString, SourceNode> nodes; // by label
    std::map<QString, SourceLight> lights;
};

SourceScene readSourceScene() {
    SourceScene source;
    for (int f = 0; f < kSampledFrames; ++f) {
        dzScene->setFrame(f);
        for (int i = 0; i < dzScene->getNumNodes(); ++i) {
            const DzNode* n = dzScene->getNode(i);
            SourceNode& record = source.nodes[n->getLabel()];
            record.parentLabel = n->getNodeParent() ? n->getNodeParent()->getLabel() : QString();
            record.worlds.push_back(n->getWSTransform());
        }
    }
    dzScene->setFrame(0);
    for (int i = 0; i < dzScene->getNumNodes(); ++i) {
        if (const auto* light = qobject_cast<const DzDistantLight*>(dzScene->getNode(i))) {
            SourceLight& s = source.lights[light->getLabel()];
            s.className = QString::fromLatin1(light->metaObject()->className());
            s.colour = light->getDiffuseColorControl()->getColorValue();
            s.intensity = light->getIntensityControl()->getValue();
            if (const auto* spot = qobject_cast<const DzSpotLight*>(light)) {
                s.spread = spot->getSpreadAngleControl()->getValue();
            }
            s.world = light->getWSTransform();
        }
    }
    return source;
}

float largestDifference(const DzMatrix3& a, const DzMatrix3& b) {
    float most = 0.0f;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            most = std::max(most, std::fabs(a[r][c] - b[r][c]));
        }
    }
    return most;
}

QString wide(const yfx::NamePair& name) {
    return QString::fromWCharArray(name.wide);
}

QString slashed(QString path) {
    return path.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

void accept(DzFileIOSettings& settings, const char* dialogKey,
            std::initializer_list<std::pair<const char*, int>> options) {
    settings.setIntValue(QString::fromLatin1(dialogKey), 1);
    for (const auto& option : options) {
        settings.setIntValue(QString::fromLatin1(option.first), option.second);
    }
}

// The polygons of the file in the order the import builds them: mesh by
// mesh, polygon by polygon.
std::vector<const yfx::DocPolygon*> polygonsOf(const yfx::SceneDoc& doc) {
    std::vector<const yfx::DocPolygon*> out;
    for (const yfx::DocMesh& mesh : doc.meshes) {
        for (const yfx::DocPolygon& polygon : mesh.polygons) {
            out.push_back(&polygon);
        }
    }
    return out;
}

struct Layout {
    const char* name;
    int asV2;
    int version;
};

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << layout.name;
}

class RoundTripTest : public ImportTest, public ::testing::WithParamInterface<Layout> {
protected:
    // Builds the demo scene, notes it, exports it to demo.yfx, loads the file
    // into file_ and imports it into a fresh scene.
    void SetUp() override {
        ImportTest::SetUp();
        ASSERT_TRUE(dir_.isValid());
        yfx_demo::DemoSceneOptions demoOptions;
        demoOptions.textureFolder = dir_.filePath(QStringLiteral("textures"));
        demoOptions.polygons = 1500;
        yfx_demo::DemoScene demo;
        QString error;
        ASSERT_TRUE(yfx_demo::buildDemoScene(demoOptions, demo, error)) << error.toStdString();
        source_ = readSourceScene();

        const QString target = dir_.filePath(QStringLiteral("demo.yfx"));
        DzFileIOSettings exportSettings;
        accept(exportSettings, yfx::kExportDialogReturnedKey,
               {{"export_lights_checkstate", 1},
                {"export_materials_checkstate", 1},
                {"export_uvs_checkstate", 1},
                {"export_uvsets_checkstate", 1},
                {"export_joints_checkstate", 1},
                {"export_animation_checkstate", 1},
                {"collapse_uvs_checkstate", 1},
                {"export_textures_checkstate", 1},
                {"export_as_v2x_checkstate", GetParam().asV2}});
        yfx::SceneDoc exported;
        yfx::exporter::ExportSession exportSession(exported);
        const yfx::exporter::ExportResult written =
            yfx::exporter::runExportWrite(exportSession, target, &exportSettings);
        ASSERT_EQ(0, written.code) << written.message.text.toStdString();

        std::string reason;
        ASSERT_EQ(1, yfx::loadFile(file_, target.toStdWString(), &reason)) << reason;
        ASSERT_EQ(GetParam().version, file_.version);

        freshScene();
        DzFileIOSettings importSettings;
        accept(importSettings, yfx::kImportDialogReturnedKey,
               {{"import_lights_checkstate", 1},
                {"import_materials_checkstate", 1},
                {"import_uvs_checkstate", 1},
                {"import_uvsets_checkstate", 1},
                {"import_joints_checkstate", 1},
                {"import_animation_checkstate", 1}});
        importSettings.setFloatValue(QString::fromLatin1(yfx::kImportScaleFactorKey), 1.0);
        ASSERT_EQ(yfx::importer::kReadDone,
                  yfx::importer::runImportRead(session_, target, &importSettings));

        const std::vector<DzNode*> figures = nodesOf("DzFigure");
        ASSERT_EQ(1u, figures.size());
        figure_ = qobject_cast<DzFigure*>(figures[0]);
        mesh_ = facetMeshOf(figure_);
        ASSERT_NE(nullptr, mesh_);
        for (DzNode* bone : nodesOf("DzBone")) {
            bones_[bone->getLabel()] = bone;
        }
    }

    // The file's vertex behind each host vertex, from the corners.
    std::vector<int> fileVertexOfHostVertex() const {
        std::vector<int> out(std::size_t(mesh_->getNumVertices()), -1);
        const std::vector<const yfx::DocPolygon*> polygons = polygonsOf(file_);
        for (int f = 0; f < mesh_->getNumFacets() && std::size_t(f) < polygons.size(); ++f) {
            const DzFacet facet = mesh_->getFacet(f);
            for (int k = 0; k < polygons[std::size_t(f)]->cornerCount(); ++k) {
                const int host = facet.m_vertIdx[k];
                if (host >= 0 && host < int(out.size())) {
                    out[std::size_t(host)] = polygons[std::size_t(f)]->corners[k].vertex;
                }
            }
        }
        return out;
    }

    QTemporaryDir dir_;
    SourceScene source_;
    yfx::SceneDoc file_;
    DzFigure* figure_ = nullptr;
    DzFacetMesh* mesh_ = nullptr;
    std::map<QString, DzNode*> bones_; // by label
};

const Layout kLayouts[] = {{"Version31", 0, 31}, {"Version9", 1, 9}};

INSTANTIATE_TEST_SUITE_P(Layouts, RoundTripTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& info) {
                             return std::string(info.param.name);
                         });

} // namespace

TEST_P(RoundTripTest, EveryNodeIsABoneOfTheFigureMovingAsTheNodeDid) {
    ASSERT_EQ(source_.nodes.size(), file_.bones.size());
    ASSERT_EQ(source_.nodes.size(), bones_.size());
    for (const auto& [label, record] : source_.nodes) {
        const auto found = bones_.find(label);
        ASSERT_NE(bones_.end(), found) << label.toStdString();
        const DzNode* parent = found->second->getNodeParent();
        if (record.parentLabel.isEmpty()) {
            EXPECT_EQ(figure_, parent) << label.toStdString();
        } else {
            ASSERT_NE(nullptr, parent) << label.toStdString();
            EXPECT_EQ(record.parentLabel, parent->getLabel()) << label.toStdString();
        }
    }
    for (int f = 0; f < kSampledFrames; ++f) {
        dzScene->setFrame(f);
        for (const auto& [label, record] : source_.nodes) {
            const DzNode* bone = bones_[label];
            const DzMatrix3 world = DzMatrix3(bone->getOrientation()) * bone->getWSTransform();
            EXPECT_LT(largestDifference(record.worlds[std::size_t(f)], world), kWorldTolerance)
                << label.toStdString() << " at frame " << f;
        }
    }
}

TEST_P(RoundTripTest, FacetsKeepTheCornersAndMaterialsOfTheFile) {
    const std::vector<const yfx::DocPolygon*> polygons = polygonsOf(file_);
    ASSERT_GT(polygons.size(), 1000u);
    ASSERT_EQ(int(polygons.size()), mesh_->getNumFacets());
    ASSERT_FALSE(file_.uvsets.empty());
    const std::vector<yfx::DocUV>& uvs = file_.uvsets[0].uvs;
    const DzShape* shape = figure_->getObject()->getCurrentShape();
    std::set<int> materialsSeen;
    for (std::size_t f = 0; f < polygons.size(); ++f) {
        const yfx::DocPolygon& polygon = *polygons[f];
        const DzFacet facet = mesh_->getFacet(int(f));
        ASSERT_EQ(polygon.cornerCount() == 4, facet.isQuad()) << "facet " << f;
        for (int k = 0; k < polygon.cornerCount(); ++k) {
            const yfx::DocCorner& corner = polygon.corners[k];
            const float* position = file_.vertices[std::size_t(corner.vertex)].position;
            const DzVec3 at = mesh_->getVertex(facet.m_vertIdx[k]);
            ASSERT_NEAR(position[0], at.m_x, kPositionTolerance)
                << "facet " << f << " corner " << k;
            ASSERT_NEAR(position[1], at.m_y, kPositionTolerance)
                << "facet " << f << " corner " << k;
            ASSERT_NEAR(position[2], at.m_z, kPositionTolerance)
                << "facet " << f << " corner " << k;
            const yfx::DocUV& uv = uvs.at(std::size_t(corner.uv[0].index));
            const float* hostUV = mesh_->getUVs()->getPnt2Value(facet.m_uvwIdx[k]);
            ASSERT_NE(nullptr, hostUV);
            ASSERT_EQ(uv.u, hostUV[0]) << "facet " << f << " corner " << k;
            ASSERT_FLOAT_EQ(1.0f - uv.v, hostUV[1]) << "facet " << f << " corner " << k;
        }
        ASSERT_GE(polygon.material, 0);
        const DzMaterial* material = shape->getMaterial(facet.m_materialIdx);
        ASSERT_NE(nullptr, material);
        ASSERT_EQ(wide(file_.materials[std::size_t(polygon.material)].name), material->getName())
            << "facet " << f;
        materialsSeen.insert(polygon.material);
    }

    // Each material the faces use: colour, opacity and the first bitmap of
    // channels 0 to 3 (channel 2 the normal map when its flag says so).
    ASSERT_GE(materialsSeen.size(), 4u);
    int textures = 0;
    for (const int m : materialsSeen) {
        const yfx::DocMaterial& record = file_.materials[std::size_t(m)];
        const std::string name = wide(record.name).toStdString();
        const DzDefaultMaterial* material = nullptr;
        for (int i = 0; i < shape->getNumMaterials(); ++i) {
            if (shape->getMaterial(i)->getName() == wide(record.name)) {
                material = qobject_cast<const DzDefaultMaterial*>(shape->getMaterial(i));
            }
        }
        ASSERT_NE(nullptr, material) << name;
        const QColor colour = material->getDiffuseColor();
        const int host[3] = {colour.red(), colour.green(), colour.blue()};
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(record.diffuse[c] * 255.0f, float(host[c]), 1.0f) << name << " " << c;
        }
        EXPECT_FLOAT_EQ(record.opacity, float(material->getBaseOpacity())) << name;

        std::map<int, QString> expected; // channel slot -> file
        for (const auto& map : record.maps) {
            if (map->channel < 0 || map->channel > 3 || expected.count(map->channel) != 0) {
                continue;
            }
            expected[map->channel] = map->map_type == 1 ? slashed(wide(map->path)) : QString();
            if (map->channel == 2 && (map->flags & yfx::kMapFlagNormalInBump) != 0) {
                expected[4] = expected[2];
                expected[2].clear();
            }
        }
        const DzTexture* got[5] = {material->getColorMap(), material->getOpacityMap(),
                                   material->getBumpMap(), material->getSpecularValueMap(),
                                   material->getNormalValueMap()};
        for (int slot = 0; slot < 5; ++slot) {
            const QString file = got[slot] ? slashed(got[slot]->getFilename()) : QString();
            EXPECT_EQ(expected[slot], file) << name << " slot " << slot;
            if (!file.isEmpty()) {
                EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
                ++textures;
            }
        }
    }
    EXPECT_GE(textures, 5);
}

TEST_P(RoundTripTest, EachVertexKeepsItsWeightPerBone) {
    const std::vector<int> fileVertex = fileVertexOfHostVertex();
    std::map<QString, int> fileBone;
    for (std::size_t b = 0; b < file_.bones.size(); ++b) {
        fileBone[wide(file_.bones[b].name)] = int(b);
    }
    std::set<int> weightedBones;
    int shared = 0;
    for (const int v : fileVertex) {
        ASSERT_GE(v, 0) << "a host vertex no corner names";
        for (const yfx::DocWeight& w : file_.vertices[std::size_t(v)].weights) {
            weightedBones.insert(w.bone);
        }
        shared += file_.vertices[std::size_t(v)].weights.size() > 1 ? 1 : 0;
    }
    ASSERT_GT(shared, 100) << "too few vertices with more than one weight to tell";

    const DzSkinBinding* skin = figure_->getSkinBinding();
    ASSERT_EQ(int(weightedBones.size()), skin->getNumBoneBindings());
    for (int i = 0; i < skin->getNumBoneBindings(); ++i) {
        const DzBoneBinding* binding = skin->getBoneBinding(i);
        ASSERT_NE(nullptr, binding->getBone());
        const QString label = binding->getBone()->getLabel();
        ASSERT_EQ(1u, fileBone.count(label)) << label.toStdString();
        const int b = fileBone[label];
        EXPECT_EQ(1u, weightedBones.count(b)) << label.toStdString();
        const DzWeightMap* map = binding->getWeights();
        ASSERT_NE(nullptr, map);
        ASSERT_EQ(mesh_->getNumVertices(), map->getNumWeights());
        for (std::size_t v = 0; v < fileVertex.size(); ++v) {
            float expected = 0.0f;
            for (const yfx::DocWeight& w : file_.vertices[std::size_t(fileVertex[v])].weights) {
                if (w.bone == b) {
                    expected = w.weight;
                    break;
                }
            }
            ASSERT_NEAR(expected, map->getFloatWeight(int(v)), 1.0 / 32767)
                << label.toStdString() << " vertex " << v;
        }
    }
}

TEST_P(RoundTripTest, LightsKeepKindColourIntensityAndPlacement) {
    const std::vector<DzNode*> lights = nodesOf("DzLight");
    if (GetParam().version == 9) {
        EXPECT_TRUE(lights.empty()) << "the version 9 layout holds no lights";
        return;
    }
    ASSERT_EQ(3u, source_.lights.size());
    ASSERT_EQ(source_.lights.size(), lights.size());
    for (const DzNode* node : lights) {
        const std::string label = node->getLabel().toStdString();
        const auto found = source_.lights.find(node->getLabel());
        ASSERT_NE(source_.lights.end(), found) << label;
        const SourceLight& source = found->second;
        const auto* light = qobject_cast<const DzDistantLight*>(node);
        ASSERT_NE(nullptr, light) << label;
        EXPECT_EQ(source.className, QString::fromLatin1(light->metaObject()->className()));
        const QColor colour = light->getDiffuseColorControl()->getColorValue();
        EXPECT_NEAR(source.colour.red(), colour.red(), 1) << label;
        EXPECT_NEAR(source.colour.green(), colour.green(), 1) << label;
        EXPECT_NEAR(source.colour.blue(), colour.blue(), 1) << label;
        EXPECT_FLOAT_EQ(float(source.intensity), float(light->getIntensityControl()->getValue()));
        if (const auto* spot = qobject_cast<const DzSpotLight*>(light)) {
            EXPECT_FLOAT_EQ(float(source.spread), float(spot->getSpreadAngleControl()->getValue()));
        }
        EXPECT_LT(largestDifference(source.world, light->getWSTransform()), kWorldTolerance)
            << label;
    }
}
