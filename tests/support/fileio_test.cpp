// Reading a file of a folder: whole, within its bound, never through a link or from what is no
// file.
#include "support/fileio.h"

#include "testsupport.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace quorva;

namespace {

struct ReadRow {
    const char* name;
    qsizetype size;
    qint64 bound;
    int error; // what readFileIn gives
};
void PrintTo(const ReadRow& row, std::ostream* out)
{
    *out << row.name;
}

class ReadFileIn : public ::testing::TestWithParam<ReadRow> {};

QByteArray patterned(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

} // namespace

TEST_P(ReadFileIn, givesTheWholeFileWithinItsBound_elseEFBIG)
{
    test::Scratch scratch;
    const QByteArray written = patterned(GetParam().size);
    test::writeBytes(scratch / "file", written);
    const FileDescriptor folder(::open(scratch.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    QByteArray read = "left over";
    EXPECT_EQ(readFileIn(folder, "file", GetParam().bound, read), GetParam().error);
    if (GetParam().error == 0) {
        EXPECT_EQ(read, written);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ReadFileIn,
                         ::testing::Values(ReadRow{"empty", 0, 16, 0}, ReadRow{"oneByte", 1, 16, 0},
                                           ReadRow{"atTheBound", 4096, 4096, 0},
                                           ReadRow{"oneByteOver", 4097, 4096, EFBIG},
                                           ReadRow{"large", 3 << 20, 64 << 20, 0},
                                           ReadRow{"farOver", 3 << 20, 1024, EFBIG}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReadFileInRefuses, aLinkAFolderAndAFifo_withoutBlocking)
{
    test::Scratch scratch;
    test::writeBytes(scratch / "file", "bytes");
    fs::create_symlink(scratch / "file", scratch / "link");
    fs::create_directory(scratch / "folder");
    ASSERT_EQ(::mkfifo((scratch / "fifo").c_str(), 0600), 0);
    const FileDescriptor folder(::open(scratch.root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    QByteArray read;
    EXPECT_EQ(readFileIn(folder, "link", 1024, read), ELOOP);
    EXPECT_EQ(readFileIn(folder, "folder", 1024, read), EINVAL);
    EXPECT_EQ(readFileIn(folder, "fifo", 1024, read), EINVAL);
    EXPECT_EQ(readFileIn(folder, "missing", 1024, read), ENOENT);
}
