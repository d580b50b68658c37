#include "AppIcon.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

// QIcon needs a GUI application object.
class AppIcon : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (QGuiApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "tamsor_dist_tests";
            static char* argv[] = {name, nullptr};
            static QGuiApplication app(argc, argv);
        }
    }
};

// Share of pixels that are at least half opaque.
double opaqueShare(const QImage& image) {
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
    return double(opaque) / (image.width() * image.height());
}

TEST_F(AppIcon, EveryRenderedSizeIsInTheResourcesAtItsSize) {
    for (int size : tamsor::kAppIconSizes) {
        const QString file = QStringLiteral(":/tamsor/icons/tamsor-%1.png").arg(size);
        QImage image(file);
        ASSERT_FALSE(image.isNull()) << file.toStdString();
        EXPECT_EQ(image.size(), QSize(size, size)) << file.toStdString();
        // A rounded square: most of the image is drawn, the corners are clear.
        EXPECT_GT(opaqueShare(image), 0.8) << file.toStdString();
        EXPECT_LT(qAlpha(image.pixel(0, 0)), 128) << file.toStdString();
    }
}

TEST_F(AppIcon, ApplicationIconOffersEverySize) {
    const QIcon icon = tamsor::applicationIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : tamsor::kAppIconSizes)
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
    // The 32 px pixmap is the 32 px rendering, not a scaled larger one.
    EXPECT_EQ(icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
              QImage(QStringLiteral(":/tamsor/icons/tamsor-32.png"))
                  .convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

TEST_F(AppIcon, ScalableSourceIsWellFormedSvg) {
    QFile file(QStringLiteral(TAMSOR_DIST_DIR "/icons/tamsor.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    bool sawRoot = false;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && !sawRoot) {
            sawRoot = true;
            EXPECT_EQ(xml.name(), QStringLiteral("svg"));
            EXPECT_EQ(xml.attributes().value(QStringLiteral("viewBox")),
                      QStringLiteral("0 0 256 256"));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(sawRoot);
}

} // namespace
