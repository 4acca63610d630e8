#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The single-byte code page of the older station's files: Latin-1, except that
// the bytes 0x80 to 0x9F hold "€", dashes, curly quotes and a few letters
// instead of control characters.
namespace Windows1252 {
QString paraTexto(QByteArrayView bytes);
// The bytes of a text, or nothing when a character has no place in the code page.
std::optional<QByteArray> paraBytes(QStringView texto);
}  // namespace Windows1252
