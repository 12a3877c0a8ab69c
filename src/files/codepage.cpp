#include "codepage.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

iconv_t openIconv(const char* to, const char* from)
{
    return iconv_open(to, from);
}

} // namespace

QString decodeCp932(const QByteArray& bytes)
{
    // Code page 932 keeps ASCII as it is, backslash and tilde included.
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    const iconv_t cd = openIconv("UTF-16LE", "CP932");
    if (cd == iconv_t(-1)) {
        return QString::fromLatin1(bytes);
    }
    QString out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char16_t buffer[1024];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(reinterpret_cast<const QChar*>(buffer), qsizetype((sizeof buffer - outLeft) / 2));
        if (rc == size_t(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // An undecodable byte, or a lead byte cut off at the end: one replacement character.
            out.append(QChar(QChar::ReplacementCharacter));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

Cp932Encoder::Cp932Encoder() : m_cd(openIconv("CP932", "UTF-16LE")) {}

Cp932Encoder::~Cp932Encoder()
{
    if (m_cd != iconv_t(-1)) {
        iconv_close(iconv_t(m_cd));
    }
}

std::optional<QByteArray> Cp932Encoder::encode(const QString& text)
{
    bool ascii = true;
    for (QChar ch : text) {
        if (ch.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        return text.toLatin1();
    }
    if (m_cd == iconv_t(-1)) {
        return std::nullopt;
    }
    const iconv_t cd = iconv_t(m_cd);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray out(text.size() * 2 + 8, Qt::Uninitialized);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = size_t(text.size()) * 2;
    char* outPtr = out.data();
    size_t outLeft = size_t(out.size());
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == size_t(-1) ||
        iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == size_t(-1)) {
        return std::nullopt;
    }
    out.truncate(out.size() - qsizetype(outLeft));
    // Some characters are written as others that read back differently (¥ as a backslash,
    // 〜 as ～); those cannot be kept either.
    if (decodeCp932(out) != text) {
        return std::nullopt;
    }
    return out;
}

QString decodeFileText(const QByteArray& bytes, bool sheetFile)
{
    if (!sheetFile) {
        if (bytes.startsWith("\xEF\xBB\xBF")) {
            return QString::fromUtf8(bytes.sliced(3));
        }
        // Bytes that are all half-width katakana in code page 932 can also form valid UTF-8
        // (ﾃｽ is C3 BD); a file this program wrote must read back as it was written.
        const bool katakanaOnly = std::all_of(bytes.begin(), bytes.end(), [](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
        });
        if (!isAscii(bytes) && !katakanaOnly) {
            QStringDecoder utf8(QStringDecoder::Utf8);
            const QString text = utf8.decode(bytes);
            if (!utf8.hasError()) {
                return text;
            }
        }
    }
    return decodeCp932(bytes);
}
