// SVG sources: drawn straight at every size, and never a way to read another file.
#include "generation/appiconset.h"
#include "generation/localtaskqueues.h"
#include "image/imagecompositing.h"
#include "image/imageloading.h"
#include "image/vectordrawing.h"

#include "generation/jobrecorder.h"
#include "testsupport.h"

#include <QDir>
#include <QPainter>
#include <QSvgRenderer>

#include <gtest/gtest.h>

using namespace quorva;

namespace {

bool anyRed(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qRed(image.pixel(x, y)) > 200 && qBlue(image.pixel(x, y)) < 50)
                return true;
    return false;
}

} // namespace

TEST(VectorSource, neverReadsAFileOutsideTheDocument)
{
    test::Scratch scratch;
    test::savePngTo(scratch / "secret.png", test::solidImage(8, 8, qRgb(255, 0, 0)));
    test::writeBytes(scratch / "evil.css", "rect { fill: #ff0000; }");
    const QByteArray svg = QStringLiteral(
                               R"(<?xml version="1.0"?><?xml-stylesheet type="text/css" href="evil.css"?>
        <svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="16" height="16">
        <rect width="16" height="16" fill="#0000ff"/>
        <image xlink:href="secret.png" width="16" height="8"/>
        <image href="%1" y="8" width="16" height="8"/>
        <image xlink:href="data:image/png;base64,%2" width="2" height="2"/></svg>)")
                               .arg(test::str(scratch / "secret.png"),
                                    QString::fromLatin1(test::readBytes(scratch / "secret.png").toBase64()))
                               .toUtf8();
    const QString before = QDir::currentPath();
    QDir::setCurrent(test::str(scratch.root)); // where a relative reference would be looked up

    QImage unguarded(16, 16, QImage::Format_ARGB32_Premultiplied); // what QtSvg alone would do
    unguarded.fill(Qt::transparent);
    QPainter painter(&unguarded);
    QSvgRenderer(svg).render(&painter);
    painter.end();
    const LoadedImage loaded = loadImage(svg);
    const QImage drawn = loaded.image && loaded.image->drawing() ? loaded.image->drawing()->render(16, 16) : QImage();
    QDir::setCurrent(before);

    ASSERT_TRUE(anyRed(unguarded.copy(4, 4, 12, 4))) << "the relative reference would be followed";
    ASSERT_FALSE(drawn.isNull()) << loaded.error.toStdString();
    EXPECT_FALSE(anyRed(drawn.copy(4, 4, 12, 12))) << "a file outside the document was read";
    EXPECT_TRUE(anyRed(drawn.copy(0, 0, 2, 2))) << "the data: URI is kept";
}

// Its image set, at one, two and three times its size, is checked over the corpus.
TEST(VectorSource, isDrawnAtEachIconsSide_evenLaidOntoAColour)
{
    const LoadedImage loaded = loadImage(test::readBytes(QUORVA_CORPUS_DIR "/files/vector.svgz"));
    ASSERT_TRUE(loaded.image) << loaded.error.toStdString();
    EXPECT_EQ(loaded.image->pixelSize(), QSize(48, 32));
    LocalTaskQueues queues;
    test::JobRecorder icons;
    const ImageRef onWhite = onBackground(*loaded.image, Qt::white);
    ASSERT_TRUE(onWhite->drawing()) << "laid onto a colour, it is still drawn from the vector";
    makeAppIconSet(onWhite, icons.completion(), queues);
    ASSERT_TRUE(queues.runUntilIdle(std::chrono::seconds(60)));

    const RenderedImages& set = *icons.calls.back().images;
    for (const char* name : {"Icon-App-20x20@1x.png", "ItunesArtwork@3x.png"}) {
        const QImage icon = set.at(name)->representations().front();
        EXPECT_EQ(icon, onWhite->drawing()->render(icon.width(), icon.height())) << name;
        EXPECT_FALSE(icon.hasAlphaChannel() && qAlpha(icon.pixel(0, 0)) != 255) << name;
    }
}
