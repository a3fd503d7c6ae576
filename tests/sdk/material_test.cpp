#include "dzbone.h"
#include "dzbrickmaterial.h"
#include "dzcolorproperty.h"
#include "dzdefaultmaterial.h"
#include "dzdistantlight.h"
#include "dzenumproperty.h"
#include "dzfloatproperty.h"
#include "dzimagemgr.h"
#include "dzimageproperty.h"
#include "dzpointlight.h"
#include "dzshadermaterial.h"
#include "dzspotlight.h"
#include "dztexture.h"
#include "dzuberiraymaterial.h"
#include "sdk_test_util.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>

#include <memory>

namespace {

// The application object normally makes the image manager.
class TestImageMgr : public DzImageMgr {
public:
    TestImageMgr() = default;
};

// An uncompressed 24-bit bottom-up TGA of w x h pixels, all of one colour.
QByteArray tga(int w, int h, unsigned char r, unsigned char g, unsigned char b) {
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(w & 0xff);
    bytes[13] = char(w >> 8);
    bytes[14] = char(h & 0xff);
    bytes[15] = char(h >> 8);
    bytes[16] = 24;
    for (int i = 0; i < w * h; ++i) {
        bytes.append(char(b)).append(char(g)).append(char(r));
    }
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

class ImageTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TestImageMgr mgr;
};

TEST_F(ImageTest, OneTexturePerFileWithItsSize) {
    const QString png = dir.filePath(QStringLiteral("skin.png"));
    ASSERT_TRUE(QImage(64, 32, QImage::Format_RGB32).save(png));
    DzTexture* tex = mgr.getImage(png);
    ASSERT_NE(tex, nullptr);
    EXPECT_TRUE(tex->inherits("DzTexture"));
    EXPECT_EQ(tex->getGLTextureSize(), QSize(64, 32));
    EXPECT_EQ(tex->getFilename(), QDir::cleanPath(png));
    // The same file, spelled differently, is the same texture.
    QString other = dir.path() + QStringLiteral("/./skin.png");
    other.replace(QLatin1Char('/'), QLatin1Char('\\'));
    EXPECT_EQ(mgr.getImage(other), tex);
    EXPECT_EQ(mgr.getNumImages(), 1);
    EXPECT_EQ(mgr.findImage(png), tex);
    EXPECT_EQ(mgr.getImage(dir.filePath(QStringLiteral("missing.png"))), nullptr);
    EXPECT_EQ(mgr.getImage(QString()), nullptr);
    EXPECT_EQ(mgr.getNumImages(), 1);
}

TEST_F(ImageTest, TgaFilesAreReadWhole) {
    const QString path = dir.filePath(QStringLiteral("black4x2.tga"));
    ASSERT_TRUE(writeFile(path, tga(4, 2, 10, 20, 30)));
    DzTexture* tex = mgr.getImage(path);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->getOriginalImageSize(), QSize(4, 2));
    QImage image;
    ASSERT_EQ(mgr.loadImage(path, image), DZ_NO_ERROR);
    EXPECT_EQ(image.pixelColor(3, 1), QColor(10, 20, 30));
    // A truncated file is refused rather than read past its end.
    QByteArray cut = tga(4, 2, 1, 2, 3);
    cut.chop(5);
    const QString bad = dir.filePath(QStringLiteral("cut.tga"));
    ASSERT_TRUE(writeFile(bad, cut));
    EXPECT_EQ(mgr.loadImage(bad, image), DZ_UNABLE_TO_OPEN_FILE_ERROR);
    EXPECT_TRUE(mgr.loadImage(dir.filePath(QStringLiteral("none.tga"))).isNull());
}

TEST_F(ImageTest, DefaultMaterialMapsLiveInItsProperties) {
    const QString png = dir.filePath(QStringLiteral("bump.png"));
    ASSERT_TRUE(QImage(8, 8, QImage::Format_RGB32).save(png));
    DzTexture* tex = mgr.getImage(png);
    ASSERT_NE(tex, nullptr);

    DzDefaultMaterial mat;
    EXPECT_EQ(mat.getMaterialName(), QStringLiteral("DAZ Studio Default"));
    mat.setBumpMap(tex);
    mat.setNormalValueMap(tex);
    mat.setSpecularValueMap(tex);
    mat.setDiffuseColor(QColor(255, 127, 0));
    mat.setBaseOpacity(1.7f);
    EXPECT_EQ(mat.getBumpMap(), tex);
    EXPECT_EQ(mat.getNormalValueMap(), tex);
    EXPECT_EQ(mat.getSpecularValueMap(), tex);
    EXPECT_EQ(mat.getSpecularColorMap(), nullptr); // a different channel
    EXPECT_EQ(mat.getColorMap(), nullptr);
    EXPECT_EQ(mat.getDiffuseColor(), QColor(255, 127, 0));
    EXPECT_NEAR(mat.getBaseOpacity(), 1.7, 1e-6); // stored as given
    auto* bump =
        qobject_cast<DzNumericProperty*>(mat.findProperty(QStringLiteral("Bump Strength")));
    ASSERT_NE(bump, nullptr);
    EXPECT_TRUE(bump->isMappable());
    EXPECT_TRUE(bump->isMapped());
    EXPECT_EQ(bump->getMapValue(), tex);
    // Clearing mappability drops the map.
    bump->setIsMappable(false);
    EXPECT_FALSE(bump->isMapped());
    EXPECT_EQ(mat.getBumpMap(), nullptr);
    bump->setMap(tex);
    EXPECT_EQ(bump->getMapValue(), nullptr);
    ASSERT_NE(mat.getUVSetControl(), nullptr);
    EXPECT_EQ(mat.getUVSetControl()->getValue(), 0);
}

TEST_F(ImageTest, PropertyMaterialsCarryMapsOnNamedProperties) {
    const QString png = dir.filePath(QStringLiteral("gloss.png"));
    ASSERT_TRUE(QImage(16, 4, QImage::Format_RGB32).save(png));
    DzTexture* tex = mgr.getImage(png);

    std::unique_ptr<DzMaterial> materials[] = {std::make_unique<DzBrickMaterial>(),
                                               std::make_unique<DzShaderMaterial>(),
                                               std::make_unique<DzUberIrayMaterial>()};
    for (auto& mat : materials) {
        SCOPED_TRACE(mat->className().toStdString());
        EXPECT_FALSE(mat->inherits("DzDefaultMaterial"));
        EXPECT_TRUE(mat->inherits("DzMaterial"));
        for (const char* name :
             {"Bump Strength", "Normal Map", "Specular Color", "Glossy Layered Weight",
              "Dual Lobe Specular Reflectivity", "Translucency Color"}) {
            auto* prop =
                qobject_cast<DzNumericProperty*>(mat->findProperty(QString::fromLatin1(name)));
            ASSERT_NE(prop, nullptr) << name;
            EXPECT_TRUE(prop->isMappable()) << name;
            EXPECT_FALSE(prop->isMapped()) << name;
        }
        auto* gloss = qobject_cast<DzNumericProperty*>(
            mat->findProperty(QStringLiteral("Glossy Layered Weight")));
        gloss->setMap(tex);
        EXPECT_EQ(gloss->getMapValue(), tex);
        mat->setColorMap(tex);
        EXPECT_EQ(mat->getColorMap(), tex);
        mat->setBaseOpacity(0.25f);
        EXPECT_NEAR(mat->getBaseOpacity(), 0.25, 1e-7);
    }
    EXPECT_EQ(materials[2]->getMaterialName(), QStringLiteral("Iray Uber"));
    // A texture deleted with its manager is no longer handed out.
    DzMaterial& mat = *materials[0];
    {
        TestImageMgr local;
        DzTexture* gone = local.getImage(png);
        mat.setOpacityMap(gone);
        EXPECT_EQ(mat.getOpacityMap(), gone);
    }
    EXPECT_EQ(mat.getOpacityMap(), nullptr);
}

TEST(MaterialClassTest, EachMaterialClassIsTheOnlyOneOfTheFourItInherits) {
    const char* const names[] = {"DzBrickMaterial", "DzDefaultMaterial", "DzShaderMaterial",
                                 "DzUberIrayMaterial"};
    std::unique_ptr<DzMaterial> materials[] = {
        std::make_unique<DzBrickMaterial>(), std::make_unique<DzDefaultMaterial>(),
        std::make_unique<DzShaderMaterial>(), std::make_unique<DzUberIrayMaterial>()};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(materials[i]->className(), QString::fromLatin1(names[i]));
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(materials[i]->inherits(names[j]), i == j) << names[i] << " / " << names[j];
        }
    }
}

namespace {

// The two queries made before a property's texture is taken, and before a pose
// value is set to zero (see DzProperty).
bool admitsTexture(const DzProperty* p) {
    return p->isNumeric() && static_cast<const DzNumericProperty*>(p)->isMapped();
}

bool admitsZero(const DzProperty* p) {
    return p->isNumeric() && !p->isLocked();
}

} // namespace

TEST_F(ImageTest, PropertyQueriesAdmitMappedTexturesAndUnlockedRotations) {
    const QString png = dir.filePath(QStringLiteral("normal.png"));
    ASSERT_TRUE(QImage(4, 4, QImage::Format_RGB32).save(png));
    DzTexture* tex = mgr.getImage(png);
    ASSERT_NE(tex, nullptr);

    DzBone bone, lockedBone;
    lockedBone.getYRotControl()->lock(true);
    DzBrickMaterial brick;
    DzUberIrayMaterial uber;
    DzDefaultMaterial plain;
    auto prop = [](DzElement& e, const char* name) {
        return e.findProperty(QString::fromLatin1(name));
    };
    qobject_cast<DzNumericProperty*>(prop(brick, "Normal Map"))->setMap(tex);
    qobject_cast<DzNumericProperty*>(prop(uber, "Translucency Color"))->setMap(tex);
    plain.setNormalValueMap(tex); // an image property: holds the texture as its value
    plain.setBumpMap(tex);
    auto* bump = qobject_cast<DzNumericProperty*>(prop(plain, "Bump Strength"));
    bump->setIsMappable(false); // drops the map

    const struct {
        const char* what;
        const DzProperty* p;
        bool texture, zero;
    } cases[] = {
        {"bone rotation", bone.getXRotControl(), false, true},
        {"locked bone rotation", lockedBone.getYRotControl(), false, false},
        {"other rotation of the locked bone", lockedBone.getZRotControl(), false, true},
        {"float with a map", prop(brick, "Normal Map"), true, true},
        {"float without a map", prop(brick, "Bump Strength"), false, true},
        {"colour with a map", prop(uber, "Translucency Color"), true, true},
        {"image property", prop(plain, "Normal Map"), false, false},
        {"map dropped with mappability", bump, false, true},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.p, nullptr) << c.what;
        EXPECT_EQ(admitsTexture(c.p), c.texture) << c.what;
        EXPECT_EQ(admitsZero(c.p), c.zero) << c.what;
        if (admitsTexture(c.p)) {
            const DzTexture* map = static_cast<const DzNumericProperty*>(c.p)->getMapValue();
            ASSERT_NE(map, nullptr) << c.what;
            EXPECT_TRUE(map->inherits("DzTexture")) << c.what;
        }
    }
}

class LightTest : public SceneFixture {};

TEST_F(LightTest, LightsAreCamerasWithIntensityColourAndSpread) {
    DzSpotLight spot;
    DzPointLight point;
    DzDistantLight distant;
    EXPECT_TRUE(spot.inherits("DzDistantLight"));
    EXPECT_TRUE(point.inherits("DzDistantLight"));
    EXPECT_TRUE(distant.inherits("DzLight"));
    EXPECT_TRUE(distant.inherits("DzCamera"));
    EXPECT_FALSE(point.inherits("DzSpotLight"));
    EXPECT_TRUE(distant.isDirectional());
    EXPECT_FALSE(spot.isDirectional());
    spot.getIntensityControl()->setValue(-2.0f);
    spot.getDiffuseColorControl()->setColorValue(QColor(255, 127, 0, 255));
    spot.getSpreadAngleControl()->setValue(40.0f);
    EXPECT_DOUBLE_EQ(spot.getIntensity(), -2.0);
    EXPECT_EQ(spot.getDiffuseColor(), QColor(255, 127, 0));
    EXPECT_DOUBLE_EQ(spot.getSpreadAngleControl()->getValue(), 40.0);
    EXPECT_DOUBLE_EQ(point.getIntensity(), 1.0);
    // A light turned a quarter about Y shines along -X.
    distant.getYRotControl()->setValue(90.0f);
    EXPECT_TRUE(distant.getWSDirection().equals(DzVec3(-1, 0, 0), 1e-5f));
}

TEST_F(ImageTest, RunLengthEncodedTgaDecodesTopDown) {
    // 3 x 1, top-left origin: a run of two red pixels, then one raw green pixel.
    QByteArray bytes(18, '\0');
    bytes[2] = 10;
    bytes[12] = 3;
    bytes[14] = 1;
    bytes[16] = 24;
    bytes[17] = 0x20;
    bytes.append(char(0x81)).append('\0').append('\0').append(char(255));
    bytes.append(char(0x00)).append('\0').append(char(255)).append('\0');
    const QString path = dir.filePath(QStringLiteral("rle.tga"));
    ASSERT_TRUE(writeFile(path, bytes));
    QImage image;
    ASSERT_EQ(mgr.loadImage(path, image), DZ_NO_ERROR);
    EXPECT_EQ(image.size(), QSize(3, 1));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(2, 0), QColor(0, 255, 0));
    // A colour-mapped image is not supported and yields no texture.
    bytes[1] = 1;
    bytes[2] = 9;
    const QString mapped = dir.filePath(QStringLiteral("mapped.tga"));
    ASSERT_TRUE(writeFile(mapped, bytes));
    EXPECT_EQ(mgr.getImage(mapped), nullptr);
}
