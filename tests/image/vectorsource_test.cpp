// SVG sources: drawn by librsvg as its own tool draws them, at every size, within bounds of time
// and memory, and never a way to read another file.
#include "apple/appiconset.h"
#include "generation/localtaskqueues.h"
#include "image/imagecompositing.h"
#include "image/imageloading.h"
#include "image/svgdocument.h"
#include "image/vectordrawing.h"

#include "generation/jobrecorder.h"
#include "testsupport.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>

#include <sys/resource.h>

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

// What librsvg's own tool draws of the file at side × side, as a user would check it.
QImage reference(const test::fs::path& svg, int side)
{
    const test::fs::path out = svg.parent_path() / ("reference-" + std::to_string(side) + ".png");
    const test::ProgramRun run = test::runProgram(QStringLiteral("rsvg-convert"),
                                                  {"-w", QString::number(side), "-h", QString::number(side), "-o",
                                                   test::str(out), test::str(svg)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    return test::decodeFile(out);
}

// Peak signal-to-noise ratio of two images laid on white, in dB; infinity when they are equal.
double psnr(const QImage& a, const QImage& b)
{
    const QImage x = onBackground(*makeImage(a), Qt::white)->representations().front();
    const QImage y = onBackground(*makeImage(b), Qt::white)->representations().front();
    if (x.size() != y.size())
        return 0;
    double squares = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            for (const int d : {qRed(p) - qRed(q), qGreen(p) - qGreen(q), qBlue(p) - qBlue(q)})
                squares += double(d) * d;
        }
    const double mean = squares / (3.0 * x.width() * x.height());
    return mean == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mean);
}

QString dataUri(const char* format, const char* mime)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    test::solidImage(8, 8, qRgb(220, 40, 40)).save(&buffer, format);
    return QStringLiteral("data:%1;base64,%2").arg(QLatin1String(mime), QString::fromLatin1(bytes.toBase64()));
}

// What designers' tools export and an SVG Tiny renderer gets wrong, one feature each.
struct Feature {
    const char* name;
    QString body; // inside <svg viewBox="0 0 100 100">
};

std::vector<Feature> features()
{
    return {
        {"percentageRadialGradient",
         R"~(<defs><radialGradient id="g" cx="30%" cy="30%" r="70%"><stop offset="0" stop-color="#ffd000"/>)~"
         R"~(<stop offset="1" stop-color="#c00040"/></radialGradient></defs><rect width="100" height="100" fill="url(#g)"/>)~"},
        {"clipPath",
         R"~(<defs><clipPath id="c"><circle cx="50" cy="50" r="35"/></clipPath></defs>)~"
         R"~(<rect width="100" height="100" fill="#2050d0" clip-path="url(#c)"/>)~"},
        {"mask",
         R"~(<defs><mask id="m"><rect width="100" height="100" fill="#fff"/><circle cx="50" cy="50" r="25" fill="#000"/>)~"
         R"~(</mask></defs><rect width="100" height="100" fill="#20a060" mask="url(#m)"/>)~"},
        {"blurFilter",
         R"~(<defs><filter id="f"><feGaussianBlur stdDeviation="4"/></filter></defs>)~"
         R"~(<rect x="25" y="25" width="50" height="50" fill="#802080" filter="url(#f)"/>)~"},
        {"symbolUse",
         R"~(<defs><symbol id="s" viewBox="0 0 10 10"><path d="M0 0L10 5L0 10z" fill="#e06000"/></symbol></defs>)~"
         R"~(<use href="#s" x="10" y="10" width="80" height="80"/>)~"},
        {"embeddedImages",
         QStringLiteral(R"~(<image href="%1" width="50" height="50"/><image href="%2" x="50" width="50" height="50"/>)~"
                        R"~(<image href="%3" y="50" width="50" height="50"/>)~")
             .arg(dataUri("JPEG", "image/jpeg"), dataUri("GIF", "image/gif"), dataUri("BMP", "image/bmp"))},
        {"textAndCss",
         R"~(<style>.t { font: bold 40px DejaVu Sans; fill: #103060; }</style><rect width="100" height="100" fill="#eee"/>)~"
         R"~(<text class="t" x="10" y="65">Ab</text>)~"},
    };
}

class SvgFidelity : public testing::TestWithParam<Feature> {};

} // namespace

TEST_P(SvgFidelity, isDrawnAsLibrsvgsOwnToolDrawsIt)
{
    test::Scratch scratch;
    const QByteArray svg = (QStringLiteral(R"~(<svg xmlns="http://www.w3.org/2000/svg" )~"
                                           R"~(xmlns:xlink="http://www.w3.org/1999/xlink" width="100" height="100" )~"
                                           R"~(viewBox="0 0 100 100">)~")
                            + GetParam().body + QStringLiteral("</svg>"))
                               .toUtf8();
    test::writeBytes(scratch / "art.svg", svg);
    const LoadedImage loaded = loadImage(svg);
    ASSERT_TRUE(loaded.image && loaded.image->drawing()) << loaded.error.toStdString();
    for (const int side : {20, 64, 512}) {
        const QImage drawn = loaded.image->drawing()->render(side, side);
        EXPECT_GE(psnr(drawn, reference(scratch / "art.svg", side)), 40.0) << side << " px";
    }
}

INSTANTIATE_TEST_SUITE_P(Features, SvgFidelity, testing::ValuesIn(features()),
                         [](const testing::TestParamInfo<Feature>& row) { return std::string(row.param.name); });

TEST(VectorSource, neverReadsAFileOutsideTheDocument)
{
    test::Scratch scratch;
    test::savePngTo(scratch / "secret.png", test::solidImage(8, 8, qRgb(255, 0, 0)));
    test::writeBytes(scratch / "evil.css", "rect { fill: #ff0000; }");
    const QByteArray svg = QStringLiteral(
                               R"~(<?xml version="1.0"?><?xml-stylesheet type="text/css" href="evil.css"?>
        <svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="16" height="16">
        <rect width="16" height="16" fill="#0000ff"/>
        <image xlink:href="secret.png" width="16" height="8"/>
        <image href="%1" y="8" width="16" height="8"/>
        <image xlink:href="data:image/png;base64,%2" width="2" height="2"/></svg>)~")
                               .arg(test::str(scratch / "secret.png"),
                                    QString::fromLatin1(test::readBytes(scratch / "secret.png").toBase64()))
                               .toUtf8();
    test::writeBytes(scratch / "evil.svg", svg);
    const QString before = QDir::currentPath();
    QDir::setCurrent(test::str(scratch.root)); // where a relative reference would be looked up
    const LoadedImage loaded = loadImage(svg);
    const QImage drawn = loaded.image && loaded.image->drawing() ? loaded.image->drawing()->render(16, 16) : QImage();
    QDir::setCurrent(before);

    ASSERT_TRUE(anyRed(reference(scratch / "evil.svg", 16).copy(4, 4, 12, 4)))
        << "librsvg given the file follows the relative reference";
    ASSERT_FALSE(drawn.isNull()) << loaded.error.toStdString();
    EXPECT_FALSE(anyRed(drawn.copy(4, 4, 12, 12))) << "a file outside the document was read";
    EXPECT_TRUE(anyRed(drawn.copy(0, 0, 2, 2))) << "the data: URI is kept";
    // Not left to librsvg's own policy, which may change: the references are gone before it.
    const SvgDocument safe = readSvg(svg);
    EXPECT_FALSE(safe.document.contains("secret.png")) << safe.document.toStdString();
    EXPECT_FALSE(safe.document.contains("evil.css"));
    EXPECT_TRUE(safe.document.contains("data:image/png;base64,"));
}

TEST(VectorSource, sizesAreReadAsCssReadsThem)
{
    const auto sized = [](const char* width, const char* height) {
        const LoadedImage loaded = loadImage(QStringLiteral(R"~(<svg xmlns="http://www.w3.org/2000/svg" width="%1" )~"
                                                            R"~(height="%2"><rect width="5" height="5"/></svg>)~")
                                                 .arg(QLatin1String(width), QLatin1String(height))
                                                 .toUtf8());
        return loaded.image ? loaded.image->pixelSize() : QSize();
    };
    EXPECT_EQ(sized("50mm", "1in"), QSize(189, 96));
    EXPECT_EQ(sized("72pt", "6pc"), QSize(96, 96));
    EXPECT_EQ(sized("2.54cm", "10"), QSize(96, 10));
    EXPECT_EQ(sized("1000000", "1000000"), QSize(1000000, 1000000)) << "an app icon needs no size: drawn anyway";
}

TEST(VectorSource, entitiesOfIllustratorAreExpandedButExternalOnesRefused)
{
    const LoadedImage illustrator = loadImage(QByteArray(R"~(<?xml version="1.0"?>
<!DOCTYPE svg PUBLIC "-//W3C//DTD SVG 1.1//EN" "http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd" [
  <!ENTITY ns_svg "http://www.w3.org/2000/svg">
  <!ENTITY ns_xlink "http://www.w3.org/1999/xlink">
]>
<svg xmlns="&ns_svg;" xmlns:xlink="&ns_xlink;" width="10" height="10"><rect width="10" height="10" fill="#f00"/></svg>)~"));
    ASSERT_TRUE(illustrator.image) << illustrator.error.toStdString();
    EXPECT_TRUE(anyRed(illustrator.image->drawing()->render(10, 10)));
    const LoadedImage external = loadImage(QByteArray(R"~(<!DOCTYPE svg [<!ENTITY x SYSTEM "/etc/passwd">]>
<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><desc>&x;</desc></svg>)~"));
    EXPECT_TRUE(external.error.contains("external")) << external.error.toStdString();
    EXPECT_TRUE(
        loadImage(test::readBytes(QUORVA_CORPUS_DIR "/files/entity-bomb.svg")).error.contains("expand to more"));
}

// Documents made to cost without end: each refused before drawing, in under a second, within a
// bounded memory.
TEST(VectorSource, costlyDocumentsAreRefusedAtOnce)
{
    QString path = QStringLiteral("M0 0");
    for (int i = 0; i < 300000; ++i)
        path += QStringLiteral(" L%1 %2").arg(i % 97).arg(i % 89);
    QString stops;
    for (int i = 0; i < 100000; ++i)
        stops += QStringLiteral(R"~(<stop offset="%1"/>)~").arg(i / 100000.0);
    QString filters;
    for (int i = 0; i < 1000; ++i)
        filters += QStringLiteral(R"~(<feGaussianBlur stdDeviation="50"/>)~");
    const QString svg
        = QStringLiteral(R"~(<svg xmlns="http://www.w3.org/2000/svg" width="100" height="100">%1</svg>)~");
    for (const QString& body :
         {QStringLiteral(R"~(<path d="%1"/>)~").arg(path),
          QStringLiteral(R"~(<linearGradient id="g">%1</linearGradient><rect width="9" height="9" fill="url(#g)"/>)~")
              .arg(stops),
          QStringLiteral(R"~(<filter id="f">%1</filter><rect width="9" height="9" filter="url(#f)"/>)~")
              .arg(filters)}) {
        const QByteArray document = svg.arg(body).toUtf8();
        const auto refusedQuickly = [&] {
            QElapsedTimer clock;
            clock.start();
            const LoadedImage loaded = loadImage(document);
            rusage usage{};
            ::getrusage(RUSAGE_SELF, &usage);
            // _Exit: the forked child runs no exit handlers, nor a leak scan of threads fork left behind.
            std::_Exit(!loaded.image && clock.elapsed() < 1000 && usage.ru_maxrss < 300 * 1024 ? 0 : 1);
        };
        EXPECT_EXIT(refusedQuickly(), testing::ExitedWithCode(0), "") << document.left(80).toStdString();
    }
}

// Its image set, at one, two and three times its size, is checked over the corpus.
TEST(VectorSource, isDrawnAtEachIconsSideEvenLaidOntoAColour)
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
