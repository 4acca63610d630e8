#pragma once

#include <QString>
#include <QStringList>

// The lists of a device's serial line in the parameters dialog, and the
// settings string ("9600,n,8,1") taken apart into their positions and put
// back together. The pieces sit at fixed places after the first comma:
// the rate before it, the parity letter one after it, the data bits three
// after it, the stop bits from five after it to the end.
namespace PecasSerie {

extern const QStringList Velocidades;   // "300" ... "256000"
extern const QStringList Paridades;     // "Even", "Mark", "None", "Odd", "Space"
extern const QStringList BitsDados;     // "4" ... "8"
extern const QStringList BitsParagem;   // "1", "1.5", "2"
extern const QStringList Handshakings;  // "No", "XOn/XOff", "RTS/CTS", "RTS+XOn/XOff"

// Positions in the four lists; -1 where the string's piece matches no entry.
struct Seleccao
{
    int velocidade = -1;
    int paridade = -1;
    int dados = -1;
    int paragem = -1;
    bool operator==(const Seleccao&) const = default;
};

// The four pieces of a settings string as text, empty where the string is too
// short or the place holds a comma; without a comma the whole text is the rate.
QStringList pecas(const QString& configuracao);

// No selection at all for a string without a comma.
Seleccao ler(const QString& configuracao);

// The settings string of the selected entries, in the lists' own form (the
// parity as a small letter: "19200,e,7,1.5"). A list left without a selection
// keeps that piece of the stored string. When the lists are as the stored
// string set them and it holds more than its pieces (such as "9600,,8,1",
// whose fixed places fall on commas), it is kept whole.
QString montar(const Seleccao& s, const QString& guardada);

}  // namespace PecasSerie
