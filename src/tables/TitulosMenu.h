#pragma once

#include "shared/Tecla.h"

#include <QString>

// The titles of the look-up lists. `TituloMenu` (login state) holds one of them
// while a list is open and after a row was picked from it; it is the order that
// opens the list and the answer it gives back (kept = picked, "" = cancelled).
namespace TitulosMenu {

inline const QString Viaturas = QStringLiteral("Menu de viaturas");
inline const QString PrimeirasPesagens = QStringLiteral("Menu de primeiras pesagens");
inline const QString Entidades = QStringLiteral("Menu de clientes e fornecedores");
inline const QString Transportadores = QStringLiteral("Menu de transportadores");
inline const QString Produtos = QStringLiteral("Menu de produtos");
inline const QString LocaisCarga = QStringLiteral("Menu de locais de carga");
inline const QString LocaisDescarga = QStringLiteral("Menu de locais de descarga");

// The title a key opens in entry field `campo` (0 to 18) whose text is
// `textoCampo`; "" when that key opens nothing there. Shift state does not
// matter. The Down arrow counts only when the trimmed text is empty.
QString tituloTecla(int campo, int codigoTecla, const QString& textoCampo);

// The title a double-click opens in entry field `campo`; "" for none.
QString tituloDuploClique(int campo);

// What the weighing screen does with a title still set when it is activated
// again: Enter on `campoEnter`, then the focus to `campoFoco` (-1: no move).
// A title outside the seven gives -1 and -1: nothing runs.
struct Devolucao
{
    int campoEnter = -1;
    int campoFoco = -1;
};
Devolucao devolucao(const QString& titulo);

}  // namespace TitulosMenu
