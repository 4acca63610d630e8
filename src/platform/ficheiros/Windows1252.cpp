#include "platform/ficheiros/Windows1252.h"

#include <algorithm>
#include <iterator>

namespace {
// The characters of 0x80 to 0x9F. The five bytes the code page leaves unused
// stand for themselves, as Windows reads them, so that any file reads and
// writes back byte for byte.
constexpr char16_t Desvios[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool desviado(unsigned c)
{
    return c >= 0x80 && c < 0xA0;
}
}  // namespace

namespace Windows1252 {

QString paraTexto(QByteArrayView bytes)
{
    QString texto(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        texto[i] = QChar(desviado(b) ? Desvios[b - 0x80] : char16_t(b));
    }
    return texto;
}

std::optional<QByteArray> paraBytes(QStringView texto)
{
    QByteArray bytes(texto.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const char16_t c = texto[i].unicode();
        if (c <= 0xFF && !desviado(c)) {
            bytes[i] = char(c);
            continue;
        }
        const auto p = std::find(std::begin(Desvios), std::end(Desvios), c);
        if (p == std::end(Desvios))
            return std::nullopt;
        bytes[i] = char(0x80 + (p - std::begin(Desvios)));
    }
    return bytes;
}

}  // namespace Windows1252
