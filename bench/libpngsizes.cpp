// The bytes that libpng writes at its default settings (through Qt's PNG writer, which passes
// none of its own) for the pixels of each PNG file given, as "FILE OURS LIBPNG" lines.

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <cstdio>

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QImage image(QString::fromLocal8Bit(argv[i]));
        if (image.isNull()) {
            std::fprintf(stderr, "libpngsizes: couldn't read %s\n", argv[i]);
            return 1;
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        QFile file(QString::fromLocal8Bit(argv[i]));
        std::printf("%s %lld %lld\n", argv[i], static_cast<long long>(file.size()),
                    static_cast<long long>(bytes.size()));
    }
    return 0;
}
