#include "playlist/cp932.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// The byte order mark that opens a name field holding UTF-8.
constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");
constexpr char ReplacementUtf8[] = "\xEF\xBF\xBD";

// An iconv conversion descriptor, closed when it goes out of scope.
class Conversion {
public:
    Conversion(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Conversion() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Conversion(const Conversion&) = delete;
    Conversion& operator=(const Conversion&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Back to the initial state, ready for a new text.
    Conversion& restart() {
        if (ok()) {
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return *this;
    }
    // iconv(3): converts what it can, moving the four positions on; false when it stopped short.
    bool operator()(const char*& in, size_t& inLeft, char*& out, size_t& outLeft) {
        return iconv(cd_, const_cast<char**>(&in), &inLeft, &out, &outLeft) !=
               static_cast<size_t>(-1);
    }

private:
    iconv_t cd_;
};

// Opening a descriptor costs more than a name's conversion, so each thread keeps its own.
Conversion& Utf8ToCp932() {
    thread_local Conversion conversion("CP932", "UTF-8");
    return conversion.restart();
}

Conversion& Cp932ToUtf8() {
    thread_local Conversion conversion("UTF-8", "CP932");
    return conversion.restart();
}

// CP932 agrees with ASCII on every byte below 0x80, 0x5C and 0x7E included.
bool IsAscii(QByteArrayView bytes) {
    return std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// QString::fromUtf8 drops a leading U+FEFF; a caption may begin with one.
QString TextFromUtf8(QByteArrayView utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

} // namespace

std::optional<QByteArray> ToCp932(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (IsAscii(utf8)) {
        return utf8;
    }
    Conversion& toCp932 = Utf8ToCp932();
    if (!toCp932.ok()) {
        return std::nullopt;
    }
    // No character takes more bytes in CP932 than in UTF-8.
    QByteArray cp932(utf8.size(), Qt::Uninitialized);
    const char* in = utf8.constData();
    size_t inLeft = utf8.size();
    char* out = cp932.data();
    size_t outLeft = cp932.size();
    if (!toCp932(in, inLeft, out, outLeft)) {
        return std::nullopt;
    }
    cp932.truncate(cp932.size() - static_cast<qsizetype>(outLeft));
    if (FromCp932(cp932) != text) {
        return std::nullopt;
    }
    return cp932;
}

QString FromCp932(QByteArrayView bytes) {
    if (IsAscii(bytes)) {
        return QString::fromLatin1(bytes);
    }
    Conversion& fromCp932 = Cp932ToUtf8();
    // Every byte, valid or not, gives at most three bytes of UTF-8.
    QByteArray utf8(3 * bytes.size(), Qt::Uninitialized);
    const char* in = bytes.data();
    size_t inLeft = bytes.size();
    char* out = utf8.data();
    size_t outLeft = utf8.size();
    while (inLeft > 0 && outLeft >= 3) {
        if (fromCp932.ok() && (fromCp932(in, inLeft, out, outLeft) || errno == E2BIG)) {
            break;
        }
        // A byte that does not start a valid character here: U+FFFD, and go on after it.
        if (static_cast<unsigned char>(*in) < 0x80) {
            *out++ = *in;
            --outLeft;
        } else {
            out = std::copy_n(ReplacementUtf8, 3, out);
            outLeft -= 3;
        }
        ++in;
        --inLeft;
    }
    utf8.truncate(utf8.size() - static_cast<qsizetype>(outLeft));
    return TextFromUtf8(utf8);
}

QByteArray EncodeListName(const QString& caption) {
    if (const std::optional<QByteArray> cp932 = ToCp932(caption)) {
        return *cp932;
    }
    return Utf8Mark.toByteArray() + caption.toUtf8();
}

QString DecodeListName(QByteArrayView field) {
    const qsizetype end = field.indexOf('\0');
    const QByteArrayView text = end < 0 ? field : field.first(end);
    if (text.startsWith(Utf8Mark)) {
        return TextFromUtf8(text.sliced(Utf8Mark.size()));
    }
    return FromCp932(text);
}
