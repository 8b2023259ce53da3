// The code page converter on Windows: the system's own, by number.
#include "storage/codepagebackend.h"

#include <windows.h>

#include <string>

namespace listora::codepagebackend {

bool available(int number)
{
    return number > 0 && IsValidCodePage(UINT(number));
}

bool doubleByte(int number)
{
    CPINFO info{};
    return GetCPInfo(UINT(number), &info) && info.MaxCharSize == 2;
}

QStringList decodeEach(int number, const QList<QByteArray> &pieces)
{
    QStringList out;
    out.reserve(pieces.size());
    for (const QByteArray &piece : pieces) {
        if (piece.isEmpty()) {
            out.append(QString());
            continue;
        }
        // Strict: a lead byte without its trail, or a byte the page leaves
        // undefined, is an error here rather than some stand-in character.
        std::wstring buffer(size_t(piece.size()) + 1, L'\0');
        const int n = MultiByteToWideChar(UINT(number), MB_ERR_INVALID_CHARS, piece.constData(), int(piece.size()),
                                          buffer.data(), int(buffer.size()));
        out.append(n > 0 ? QString::fromWCharArray(buffer.data(), n) : QString(QChar::ReplacementCharacter));
    }
    return out;
}

QList<QByteArray> encodeEach(int number, const QStringList &pieces)
{
    QList<QByteArray> out;
    out.reserve(pieces.size());
    for (const QString &piece : pieces) {
        if (piece.isEmpty()) {
            out.append(QByteArray());
            continue;
        }
        QByteArray buffer(2 * piece.size() + 2, Qt::Uninitialized);
        BOOL usedDefault = FALSE;
        // No best fit: a character the page lacks must not turn into a look-alike.
        const int n = WideCharToMultiByte(UINT(number), WC_NO_BEST_FIT_CHARS,
                                          reinterpret_cast<const wchar_t *>(piece.utf16()), int(piece.size()),
                                          buffer.data(), int(buffer.size()), nullptr, &usedDefault);
        out.append(n > 0 && !usedDefault ? buffer.left(n) : QByteArray());
    }
    return out;
}

int systemCodePage()
{
    const UINT acp = GetACP();
    CPINFO info{};
    if (GetCPInfo(acp, &info) && info.MaxCharSize <= 2)
        return int(acp);
    // UTF-8 as the system page (a beta option) is no single- or double-byte
    // page: take the one the user's locale would have had.
    DWORD page = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&page), sizeof page / sizeof(wchar_t))
        && page != 0 && page != CP_UTF8)
        return int(page);
    return 1252;
}

} // namespace listora::codepagebackend
