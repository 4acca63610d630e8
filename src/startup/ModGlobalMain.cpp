#include "startup/ModGlobalMain.h"

#include "data/Estacao.h"
#include "platform/Mensagens.h"
#include "startup/Arranque.h"

#include <QtGlobal>

namespace ModGlobal {

int Main(Estacao& estacao, const JanelasArranque& janelas)
{
    const ResultadoArranque r = ArrancarDados(estacao);
    if (!r.baseDadosAberta) {
        estacao.mensagens.MsgBox(QStringLiteral("Não foi possível abrir a base de dados de pesagens\n")
                                     + estacao.Def.BaseDados + QStringLiteral("\n\n(") + r.erroBaseDados.descricao
                                     + u')',
                                 Estilo::Critico, QStringLiteral("Erro ") + QString::number(r.erroBaseDados.numero));
        return SaidaSemBaseDados;
    }
    // A value that could not be read keeps its default without a word to the
    // operator; support finds it here.
    for (const QString& valor : r.valoresFalhados)
        qWarning("Lorvane.ini: valor inválido em %s", qUtf8Printable(valor));

    if (janelas.CarregarPrincipal)
        janelas.CarregarPrincipal();
    if (janelas.MostrarAcesso)
        janelas.MostrarAcesso();
    return 0;
}

}  // namespace ModGlobal
