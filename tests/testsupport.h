#pragma once

#include "generation/image.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <mutex>
#include <ostream>

namespace quorva::test {

// A premultiplied image with a colour gradient, a transparent border of `border` pixels and
// a half-transparent band, so that rescaling and alpha handling have something to get wrong.
QImage gradientImage(int width, int height, int border = 0);

// A plain opaque image of one colour.
QImage solidImage(int width, int height, QRgb colour);

// Random premultiplied pixels (valid: no channel above alpha), reproducible from the seed.
QImage randomImage(int width, int height, unsigned seed, bool opaque = false);

QImage decodeFile(const std::filesystem::path& file);
QByteArray readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const QByteArray& bytes);

// The PNG colour type byte of a PNG file's IHDR chunk.
int pngColourType(const QByteArray& png);

// Every regular file below a folder, as paths relative to it, sorted.
QStringList filesBelow(const std::filesystem::path& folder);

// What a program run as a whole process printed and returned; exitCode -1 when it did not end
// within the bound, -2 when it crashed.
struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};
ProgramRun runProgram(const QString& program, const QStringList& arguments, int timeoutMs = 120000);

// Makes a file or folder unwritable for as long as it lives, even for root (who ignores
// permission bits): the immutable attribute where the file system has it, else read-only
// permissions. ok() is false when neither holds, and the test should be skipped.
class Unwritable {
public:
    explicit Unwritable(std::filesystem::path path);
    ~Unwritable();
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;
    bool ok() const { return m_ok; }

private:
    std::filesystem::path m_path;
    bool m_immutable = false;
    bool m_ok = false;
};

// Collects printed report lines for as long as it lives.
class CapturedLines {
public:
    CapturedLines();
    ~CapturedLines();
    QStringList lines() const;

private:
    struct Impl;
    Impl* m_impl;
};

} // namespace quorva::test

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out)
{
    *out << '{' << texts.join(QStringLiteral(", ")).toStdString() << '}';
}
