#include "tables/TitulosMenu.h"

namespace TitulosMenu {

namespace {

// The list of a code-and-name pair (or of the vehicle fields), opened by F1,
// F4 and a double-click; fields 12 to 18 have none.
QString tituloDoPar(int campo)
{
    switch (campo) {
    case 0:
    case 1: return PrimeirasPesagens;
    case 2:
    case 3: return Entidades;
    case 4:
    case 5: return Transportadores;
    case 6:
    case 7: return Produtos;
    case 8:
    case 9: return LocaisCarga;
    case 10:
    case 11: return LocaisDescarga;
    default: return QString();
    }
}

bool eCampoCodigo(int campo)
{
    return campo >= 0 && campo <= 10 && campo % 2 == 0;
}

}  // namespace

QString tituloTecla(int campo, int codigoTecla, const QString& textoCampo)
{
    switch (codigoTecla) {
    case Tecla::F1:
    case Tecla::F4: return tituloDoPar(campo);
    case Tecla::F2: return campo == 0 || campo == 1 ? Viaturas : QString();
    case Tecla::Baixo:
        // Only in an empty code field: with text there the arrow just moves.
        return eCampoCodigo(campo) && textoCampo.trimmed().isEmpty() ? tituloDoPar(campo) : QString();
    default: return QString();
    }
}

QString tituloDuploClique(int campo)
{
    return tituloDoPar(campo);
}

Devolucao devolucao(const QString& titulo)
{
    // Compared exactly: any other text hands nothing back.
    if (titulo == Viaturas || titulo == PrimeirasPesagens)
        return {0, 1};
    if (titulo == Entidades)
        return {2, -1};
    if (titulo == Transportadores)
        return {4, -1};
    if (titulo == Produtos)
        return {6, -1};
    if (titulo == LocaisCarga)
        return {8, -1};
    if (titulo == LocaisDescarga)
        return {10, -1};
    return {};
}

}  // namespace TitulosMenu
