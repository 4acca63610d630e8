#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The card readers' protocol and the traffic-light commands, which travel on
// the same serial ports.
namespace ProtocoloLeitor {

// The poll: "C", CR, LF.
inline const QByteArray Poll = QByteArrayLiteral("C\r\n");

// Light commands, six bytes with no terminator.
inline const QByteArray SemaforoVermelho = QByteArrayLiteral("HO0001");
inline const QByteArray SemaforoVerde = QByteArrayLiteral("HO0003");

// Past this many bytes without a frame a reader's buffer is dropped.
constexpr int LimiteBuffer = 50;

// What a reader's buffer holds.
struct Exame
{
    std::optional<QString> codigo;  // the card code of the first complete frame
    bool descartar = false;         // no frame, and a CR or too many bytes: drop the buffer
};

// A frame starts at the first "R" (upper case) and is complete once its 24th
// byte has arrived; the card code is its bytes 16 to 23, blanks kept.
Exame examinar(const QByteArray& buffer);

}  // namespace ProtocoloLeitor
