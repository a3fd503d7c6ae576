#include "dzapp.h"
#include "dzdefaultmaterial.h"
#include "dzimagemgr.h"
#include "dztexture.h"

#include <QtCore/QTemporaryDir>
#include <QtGui/QImage>

#include <gtest/gtest.h>

// The application may lose its image manager; textures go with it, and a new
// manager starts empty.
TEST(AppTest, ImageManagerCanBeRemovedAndMadeAgain) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char arg0[] = "sdk_tests";
    char* argv[] = {arg0, nullptr};
    DzApp app(argc, argv);
    ASSERT_EQ(dzApp, &app);
    ASSERT_NE(app.getImageMgr(), nullptr);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("colour.png"));
    ASSERT_TRUE(QImage(8, 4, QImage::Format_RGB32).save(png));
    DzTexture* texture = app.getImageMgr()->getImage(png);
    ASSERT_NE(texture, nullptr);
    DzDefaultMaterial material;
    material.setColorMap(texture);
    ASSERT_EQ(material.getColorMap(), texture);

    app.deleteImageMgr();
    EXPECT_EQ(app.getImageMgr(), nullptr);
    EXPECT_EQ(material.getColorMap(), nullptr);
    app.deleteImageMgr(); // nothing left to delete

    DzImageMgr* again = app.createImageMgr();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(app.createImageMgr(), again);
    EXPECT_EQ(again->getNumImages(), 0);
    EXPECT_NE(again->getImage(png), nullptr);
}
