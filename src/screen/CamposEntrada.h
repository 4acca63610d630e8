#pragma once

#include <QString>

// The 19 entry fields `txt` 0 to 18 of the weighing screen: what each holds,
// its hint (also its tooltip), its length and the look-up keys it offers.
namespace CamposEntrada {

constexpr int Numero = 19;

// Indexes with a meaning of their own.
constexpr int CodigoViatura = 0;
constexpr int Matricula = 1;
constexpr int Observacoes = 12;
constexpr int PesoPrimeira = 13;
constexpr int DataPrimeira = 14;
constexpr int HoraPrimeira = 15;
constexpr int PesoSegunda = 16;
constexpr int DataSegunda = 17;
constexpr int HoraSegunda = 18;

enum class Genero {
    Codigo,  // 0, 2, 4, 6, 8, 10: upper-cased, every character
    Placa,   // 1: upper-cased, national pattern while the plate format is on
    Nome,    // 3, 5, 7, 9, 11, 12: as typed
    Peso,    // 13, 16: digits
    Data,    // 14, 17: digits and '-'
    Hora,    // 15, 18: digits and ':'
};

struct Definicao
{
    QString dica;     // tooltip and status-bar hint
    int comprimento;  // most characters; 0 = no limit
    Genero genero;
    QString teclas;  // status-bar panel 2 while the field has the focus
};

const Definicao& definicao(int indice);

inline bool eValido(int indice)
{
    return indice >= 0 && indice < Numero;
}

// Fields 13 to 18 hold the weights, dates and times of the two weighings.
inline bool ePainelPesagem(int indice)
{
    return indice >= PesoPrimeira && indice <= HoraSegunda;
}

// Fields 2 to 12 sit in the details panel.
inline bool ePainelDetalhes(int indice)
{
    return indice >= 2 && indice <= Observacoes;
}

}  // namespace CamposEntrada
