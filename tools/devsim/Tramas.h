#pragma once

#include <QByteArray>

// The frames the simulated devices send, written from the protocol tables
// (on purpose not shared with the station's parsers: a mistake there must not
// be mirrored here).
namespace Tramas {

enum class Unidade { Kg, Lb, To };

struct Leitura
{
    qint32 peso = 0;  // in the unit sent
    Unidade unidade = Unidade::Kg;
    bool liquido = false;  // net mode (layout A only)
    bool estavel = true;
    bool sobrecarga = false;  // the weight field shows "--------"
};

// STX, weight in 8 (sign before the digits), "kg"/"lb"/"to", G/N, S/U, CR.
QByteArray layoutA(const Leitura& l);
// STX, weight in 8, "KG"/"lb"/"to", " " or "M", CR.
QByteArray layoutU(const Leitura& l);
// "R", 14 characters of the reader's own, the code in 8 (blank-padded), CR.
QByteArray cartao(const QByteArray& identificacao, const QByteArray& codigo);

}  // namespace Tramas
