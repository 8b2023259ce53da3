// Build-time tool: writes the program's code-drawn icon as a square PNG, or as
// a Windows icon holding the sizes Explorer and the taskbar ask for.
//   listora_rendericon <output.png> <size>
//   listora_rendericon <output.ico>
#include "widgets/icons.h"

#include <QBuffer>
#include <QDataStream>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

namespace {

QImage render(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    listora::icons::icon(listora::icons::Glyph::Application).paint(&painter, image.rect());
    painter.end();
    return image;
}

// The large size as PNG, the small ones as 32-bit bitmaps, which every Windows
// version reads at every size.
QByteArray iconImage(int size)
{
    const QImage image = render(size).convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    if (size >= 256) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return bytes;
    }
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 maskRow = ((size + 31) / 32) * 4;
    // BITMAPINFOHEADER: the height counts the colour rows and the mask rows.
    out << quint32(40) << qint32(size) << qint32(size * 2) << quint16(1) << quint16(32) << quint32(0)
        << quint32(size * size * 4 + maskRow * size) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (int y = size - 1; y >= 0; --y) { // bottom-up
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < size; ++x)
            out << quint8(qBlue(line[x])) << quint8(qGreen(line[x])) << quint8(qRed(line[x])) << quint8(qAlpha(line[x]));
    }
    // The alpha channel decides; an all-clear mask leaves it alone.
    for (quint32 i = 0; i < maskRow * size; ++i)
        out << quint8(0);
    return bytes;
}

bool writeIco(const QString &path)
{
    const int sizes[] = {16, 24, 32, 48, 256};
    QList<QByteArray> images;
    for (const int size : sizes)
        images.append(iconImage(size));

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * images.size();
    for (qsizetype i = 0; i < images.size(); ++i) {
        const quint8 side = sizes[i] >= 256 ? 0 : quint8(sizes[i]); // 0 stands for 256
        out << side << side << quint8(0) << quint8(0) << quint16(1) << quint16(32) << quint32(images[i].size())
            << offset;
        offset += images[i].size();
    }
    for (const QByteArray &image : images)
        bytes.append(image);

    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    // Runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 2 && QByteArray(argv[1]).endsWith(".ico"))
        return writeIco(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output.png> <size> | %s <output.ico>\n", argv[0], argv[0]);
        return 2;
    }
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    if (size <= 0)
        return 2;
    return render(size).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
