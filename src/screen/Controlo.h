#pragma once

#include "shared/Tecla.h"

#include <QString>
#include <QtGlobal>

// A control of the weighing screen that can hold the focus, as the screen's
// logic tracks it: the entry fields, the bridge buttons, the document-kind
// options, the plate-format check box, the manual-weighing buttons, and any
// other control of the window.
struct Controlo
{
    enum Tipo { Nenhum, Txt, CmdB, Opt, ChkVtN, CmpPM, Outro };
    Tipo tipo = Nenhum;
    int indice = 0;

    static Controlo txt(int i) { return {Txt, i}; }
    static Controlo cmdB(int i) { return {CmdB, i}; }
    static Controlo opt(int i) { return {Opt, i}; }
    static Controlo chkVtN() { return {ChkVtN, 0}; }
    static Controlo cmpPM(int i) { return {CmpPM, i}; }
    static Controlo outro() { return {Outro, 0}; }

    bool operator==(const Controlo& o) const { return tipo == o.tipo && indice == o.indice; }
    bool operator!=(const Controlo& o) const { return !(*this == o); }
};

// Colours as the screen's state holds them: system colours by their classic
// numbers, so the logic never needs a palette.
namespace Cor {
constexpr quint32 Amarelo = 65535;          // the focus colour
constexpr quint32 Janela = 0x80000005u;     // the system window colour
constexpr quint32 FaceBotao = 0x8000000Fu;  // the system button-face colour
}  // namespace Cor

// The bridge buttons' captions while they do not have the focus, and the hints
// of the bridge buttons and of the document-kind options: their tooltips, and
// the status bar's first panel while they have the focus.
namespace TextosControlo {
inline const QString LegendaBascula[2] = {QStringLiteral("Báscula &1"), QStringLiteral("Báscula &2")};
inline const QString DicaBascula[2] = {QStringLiteral("Báscula 1"), QStringLiteral("Báscula 2")};
inline const QString DicaOpcao[3] = {QStringLiteral("Entrada de matéria prima"), QStringLiteral("Guia de remessa"),
                                     QStringLiteral("Talão de pesagem")};
}  // namespace TextosControlo
