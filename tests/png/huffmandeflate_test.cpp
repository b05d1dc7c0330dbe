#include "png/huffmandeflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace quorva;

namespace {

using Bytes = std::vector<std::uint8_t>;

QByteArray deflated(const Bytes& data, std::size_t piece)
{
    QByteArray out("prefix"); // the coder appends to what is there
    HuffmanDeflate deflate(out);
    for (std::size_t i = 0; i < data.size(); i += piece)
        deflate.add(data.data() + i, std::min(piece, data.size() - i));
    deflate.finish();
    EXPECT_TRUE(out.startsWith("prefix"));
    return out.mid(6);
}

// Inflated by two independent decoders, which must agree with the input.
void expectRoundTrip(const Bytes& data, std::size_t piece, const char* what)
{
    const QByteArray stream = deflated(data, piece);

    Bytes byLibdeflate(data.size() + 1);
    std::size_t produced = 0;
    libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
    const auto result = libdeflate_deflate_decompress(decompressor, stream.constData(),
                                                      static_cast<std::size_t>(stream.size()), byLibdeflate.data(),
                                                      byLibdeflate.size(), &produced);
    libdeflate_free_decompressor(decompressor);
    EXPECT_EQ(result, LIBDEFLATE_SUCCESS) << what;
    byLibdeflate.resize(produced);
    EXPECT_TRUE(byLibdeflate == data) << what;

    Bytes byZlib(data.size() + 16);
    z_stream z{};
    ASSERT_EQ(inflateInit2(&z, -15), Z_OK);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = byZlib.data();
    z.avail_out = static_cast<uInt>(byZlib.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END) << what;
    EXPECT_EQ(z.avail_in, 0u) << what << ": bytes after the final block";
    byZlib.resize(z.total_out);
    inflateEnd(&z);
    EXPECT_TRUE(byZlib == data) << what;
}

} // namespace

TEST(HuffmanDeflate, roundTripsThroughTwoInflaters_withinFifteenBitCodes)
{
    std::mt19937 random(7);
    Bytes uniform(1'000'003); // several blocks, the last one partial
    for (auto& b : uniform)
        b = static_cast<std::uint8_t>(random());
    Bytes residuals(600'000); // mostly small values, as filtered photographs are
    std::geometric_distribution<int> small(0.3);
    for (auto& b : residuals)
        b = static_cast<std::uint8_t>(small(random) * (random() % 2 ? 1 : -1));

    expectRoundTrip({}, 1, "nothing");
    expectRoundTrip({42}, 1, "one byte");
    expectRoundTrip(Bytes(300'000, 0), 4096, "one value only");
    expectRoundTrip(uniform, 1'000'003, "uniform bytes in one piece");
    expectRoundTrip(uniform, 977, "uniform bytes in odd pieces");
    expectRoundTrip(residuals, 65536, "small residuals");
    expectRoundTrip(Bytes(256 * 1024, 9), 256 * 1024, "exactly one block");
    // Frequencies doubling from symbol to symbol give an unlimited Huffman tree one level per
    // symbol, eighteen here; deflate allows fifteen.
    Bytes skewed;
    for (int symbol = 0; symbol < 18; ++symbol)
        skewed.insert(skewed.end(), std::size_t{1} << symbol, static_cast<std::uint8_t>(symbol));
    std::shuffle(skewed.begin(), skewed.end(), std::mt19937(3));
    ASSERT_LE(skewed.size(), 256u * 1024u) << "one block, one code";
    expectRoundTrip(skewed, skewed.size(), "doubling frequencies");
    EXPECT_LT(deflated(residuals, residuals.size()).size(), static_cast<qsizetype>(residuals.size() / 2))
        << "filtered photographs shrink";
}

