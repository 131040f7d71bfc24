#include "support/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <langinfo.h>
#endif

bool IsUtf8Name(const QByteArray& name) {
    return name.compare("UTF-8", Qt::CaseInsensitive) == 0 ||
           name.compare("UTF8", Qt::CaseInsensitive) == 0;
}

namespace {

bool decodeUtf8Strict(const char* bytes, qsizetype size, QString* out) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes, size));
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter))
        return false;
    *out = text;
    return true;
}

} // namespace

QByteArray SystemCodePageName() {
#ifdef Q_OS_WIN
    return "CP" + QByteArray::number(uint(GetACP()));
#else
    QByteArray name(nl_langinfo(CODESET));
    if (name.isEmpty() || name == "ANSI_X3.4-1968" || name == "US-ASCII" || name == "ASCII")
        return "UTF-8";
    return name;
#endif
}

int SystemCodePageMaxCharBytes() {
    if (IsUtf8Name(SystemCodePageName()))
        return 4;
#ifdef Q_OS_WIN
    CPINFO info;
    if (GetCPInfo(CP_ACP, &info))
        return int(info.MaxCharSize);
    return 2;
#else
    // The locale's own limit; the C locale was reported as UTF-8 above.
    return qBound(1, int(MB_CUR_MAX), 4);
#endif
}

bool DecodeCodePage(CodePage cp, const char* bytes, qsizetype size, QString* out) {
    if (size == 0) {
        *out = QString();
        return true;
    }
    const QByteArray name = cp == CodePage::Utf8 ? QByteArray("UTF-8") : SystemCodePageName();
    if (IsUtf8Name(name))
        return decodeUtf8Strict(bytes, size, out);
#ifdef Q_OS_WIN
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, int(size), nullptr, 0);
    if (n <= 0)
        return false;
    QString text(n, Qt::Uninitialized);
    MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, int(size),
                        reinterpret_cast<wchar_t*>(text.data()), n);
    *out = text;
    return true;
#else
    iconv_t cd = iconv_open("UTF-16LE", name.constData());
    if (cd == iconv_t(-1))
        return false;
    QByteArray result(size * 4 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes);
    size_t inLeft = size_t(size);
    char* outPtr = result.data();
    size_t outLeft = size_t(result.size());
    const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == size_t(-1) || inLeft != 0)
        return false;
    const qsizetype units = (result.size() - qsizetype(outLeft)) / 2;
    *out = QString(reinterpret_cast<const QChar*>(result.constData()), units);
    return true;
#endif
}

QByteArray EncodeCodePage(CodePage cp, QStringView text) {
    if (text.isEmpty())
        return QByteArray();
    const QByteArray name = cp == CodePage::Utf8 ? QByteArray("UTF-8") : SystemCodePageName();
    if (IsUtf8Name(name)) {
        QStringEncoder encoder(QStringEncoder::Utf8);
        return encoder.encode(text);
    }
#ifdef Q_OS_WIN
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    int n = WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray result(n, Qt::Uninitialized);
    WideCharToMultiByte(CP_ACP, 0, wide, int(text.size()), result.data(), n, nullptr, nullptr);
    return result;
#else
    iconv_t cd = iconv_open(name.constData(), "UTF-16LE");
    if (cd == iconv_t(-1))
        return QByteArray();
    QByteArray result;
    char chunk[16];
    // One 16-bit unit at a time, so that an unmappable character is replaced
    // by '?' without losing the rest of the text.
    for (QChar c : text) {
        char16_t unit = c.unicode();
        char* in = reinterpret_cast<char*>(&unit);
        size_t inLeft = sizeof unit;
        char* out = chunk;
        size_t outLeft = sizeof chunk;
        if (iconv(cd, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            result.append('?');
            continue;
        }
        result.append(chunk, qsizetype(sizeof chunk - outLeft));
    }
    iconv_close(cd);
    return result;
#endif
}
