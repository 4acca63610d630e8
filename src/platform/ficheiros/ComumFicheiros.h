#pragma once

#include <QLoggingCategory>
#include <QtGlobal>

// What every piece of the settings file's layer shares: the bound on a
// settings file, the steps of a save (for the tests' hook) and the log's
// category. GravacaoFicheiro.h describes the save they belong to.
Q_DECLARE_LOGGING_CATEGORY(diarioFicheiros)

namespace GravacaoFicheiro {

// The most a settings file may hold: far more than any real one.
constexpr qint64 TamanhoMaximo = 16 * 1024 * 1024;

// The steps of a save. Tests only: aoPasso, when set, is called before each
// (to stop or kill the process there, or to let another program in); Vez
// comes before the turn on the file itself, Reposicao before an old text is
// put back, NovoFicheiro once a new file is made, before it is made as the
// old one, ComoOAntigo between the steps that make it so (after its owner and
// group, after its access list and attributes, before its mode); Leitura
// when a reading holds its shared turn, before it reads the text.
enum class Passo
{
    Vez,
    Copia,
    Escrita,
    Truncagem,
    Sincronizacao,
    Confirmacao,
    Substituicao,
    Reposicao,
    NovoFicheiro,
    ComoOAntigo,
    Leitura,
};
extern void (*aoPasso)(Passo);
inline void passo(Passo p)
{
    if (aoPasso)
        aoPasso(p);
}

}  // namespace GravacaoFicheiro
