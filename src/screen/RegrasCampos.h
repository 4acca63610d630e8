#pragma once

#include "shared/Definicoes.h"

#include <QChar>
#include <QString>
#include <optional>

// The rules of the entry fields, apart from any window: which characters a
// field takes, the national plate pattern and its dashes, and the normalising
// of weights, dates and times. `selInicio` is where the caret or the start of
// the selection is, counted in characters.
namespace RegrasCampos {

// What becomes of one typed character.
struct Caracter
{
    enum Accao {
        Aceitar,       // insert `c` (already upper-cased where the field wants it)
        Largar,        // drop it without a sound
        Recusar,       // beep and drop it
        RecusarNoFim,  // beep, drop it and put the caret at 8, the end of a full plate
    };
    Accao accao = Aceitar;
    QChar c;
};

Caracter filtrarCaracter(int campo, QChar c, bool formatoNacional, const QString& texto, int selInicio);

// A field's text that holds nothing but blanks.
inline bool emBranco(const QString& texto)
{
    return texto.trimmed().isEmpty();
}

// Backspace in the plate with the national format: just after a dash it takes
// the dash and the character before it. Gives the new text (the caret goes to
// its end), or nothing when Backspace works as usual.
std::optional<QString> retrocessoMatricula(const QString& texto, int selInicio);

// The dash the national format adds after the second and the fourth character.
std::optional<QString> hifenMatricula(const QString& texto);

// A weight on leaving its field: rounded to tens, half to even. Nothing when
// the text's value already is that (so "00120" stays) or is too large for a
// whole number.
std::optional<QString> arredondarPeso(const QString& texto);

// A date read day first and written "dd-MM-yyyy"; nothing when the text is no date.
std::optional<QString> normalizarData(const QString& texto);

// A time written "HH:mm"; nothing when the text is no time of day.
std::optional<QString> normalizarHora(const QString& texto);

// The most a weight field may hold: the larger of the two bridges' capacities.
qint32 limitePeso(const PorBascula<qint32>& capacidades);

// The cap applied to a weight text; nothing when it is within the cap.
std::optional<QString> limitarPeso(const QString& texto, qint32 limite);

}  // namespace RegrasCampos
