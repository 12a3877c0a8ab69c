#include "files/codepage.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

bool isAscii(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) == 0; });
}

// Opening a conversion loads its tables, and a save decodes every field it encodes to check
// it: each thread keeps one conversion of each direction open and resets it before use.
class Conversion
{
public:
    Conversion(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Conversion()
    {
        if (isOpen()) {
            iconv_close(m_cd);
        }
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    bool isOpen() const { return m_cd != iconv_t(-1); }
    iconv_t reset()
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        return m_cd;
    }

private:
    iconv_t m_cd;
};

Conversion& fromCp932()
{
    thread_local Conversion conversion("UTF-16LE", "CP932");
    return conversion;
}

Conversion& toCp932()
{
    thread_local Conversion conversion("CP932", "UTF-16LE");
    return conversion;
}

// Characters other systems write where code page 932 has a look-alike: the code page writes each
// as that look-alike, which is what reads back (〜 as ～, − as －, ¢ as ￠, and so on).
char16_t cp932LookAlike(char16_t ch)
{
    switch (ch) {
    case u'\u301C':
        return u'\uFF5E'; // wave dash
    case u'\u2014':
        return u'\u2015'; // em dash
    case u'\u2016':
        return u'\u2225'; // double vertical line
    case u'\u2212':
        return u'\uFF0D'; // minus sign
    case u'\u00A2':
        return u'\uFFE0'; // cent sign
    case u'\u00A3':
        return u'\uFFE1'; // pound sign
    case u'\u00AC':
        return u'\uFFE2'; // not sign
    default:
        return ch;
    }
}

// The decoded bytes are the text, up to the look-alikes above.
bool readsBackAs(QStringView decoded, QStringView text)
{
    if (decoded.size() != text.size()) {
        return false;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (decoded[i].unicode() != cp932LookAlike(text[i].unicode())) {
            return false;
        }
    }
    return true;
}

} // namespace

QString decodeCp932(const QByteArray& bytes)
{
    // Code page 932 keeps ASCII as it is, backslash and tilde included.
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    Conversion& conversion = fromCp932();
    if (!conversion.isOpen()) {
        return QString::fromLatin1(bytes);
    }
    const iconv_t cd = conversion.reset();
    QString out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char16_t buffer[1024];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(reinterpret_cast<const QChar*>(buffer),
                   qsizetype((sizeof buffer - outLeft) / 2));
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
    return out;
}

std::optional<QByteArray> encodeCp932(QStringView text)
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
    Conversion& conversion = toCp932();
    if (!conversion.isOpen()) {
        return std::nullopt;
    }
    const iconv_t cd = conversion.reset();
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
    // Some characters are written as others: the look-alikes of code page 932 are kept as
    // those, but a character that would read back as something else (¥ as a backslash) is not.
    if (!readsBackAs(decodeCp932(out), text)) {
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
