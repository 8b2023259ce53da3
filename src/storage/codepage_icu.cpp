// The code page converter where Qt is built with ICU: by the page's name.
#include "storage/codepagebackend.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace listora::codepagebackend {

namespace {

QByteArray nameOf(int number)
{
    return "windows-" + QByteArray::number(number);
}

} // namespace

bool available(int number)
{
    const QByteArray name = nameOf(number);
    return number > 0 && QStringDecoder(name.constData()).isValid() && QStringEncoder(name.constData()).isValid();
}

bool doubleByte(int number)
{
    return number == 932 || number == 936 || number == 949 || number == 950;
}

QStringList decodeEach(int number, const QList<QByteArray> &pieces)
{
    // Stateless: a lead byte at the end of a piece is an error, not a wait for more.
    QStringDecoder decoder(nameOf(number).constData(), QStringConverter::Flag::Stateless);
    QStringList out;
    out.reserve(pieces.size());
    for (const QByteArray &piece : pieces) {
        out.append(decoder(piece));
        decoder.resetState();
    }
    return out;
}

QList<QByteArray> encodeEach(int number, const QStringList &pieces)
{
    QStringEncoder encoder(nameOf(number).constData());
    QList<QByteArray> out;
    out.reserve(pieces.size());
    for (const QString &piece : pieces) {
        QByteArray bytes = encoder(piece);
        out.append(encoder.hasError() ? QByteArray() : bytes);
        encoder.resetState();
    }
    return out;
}

int systemCodePage()
{
    return 0;
}

} // namespace listora::codepagebackend
