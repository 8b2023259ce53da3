// Build-time tool: writes the program's code-drawn icon as square PNGs.
//   listora_rendericon <output.png> <size>
#include "app/icons.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <output.png> <size>\n", argv[0]);
        return 2;
    }
    const int size = QString::fromLocal8Bit(argv[2]).toInt();
    if (size <= 0)
        return 2;
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    listora::icons::icon(listora::icons::Glyph::Application).paint(&painter, image.rect());
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
