#include "records/ImprimirDocumento.h"

#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "records/Diario.h"
#include "records/DocumentosPesagem.h"
#include "records/EcraGravacao.h"
#include "shared/Esquema.h"

#include <QSqlRecord>
#include <optional>

void ImprimirDocumento(Estacao& estacao, EcraGravacao& ecra)
{
    const qint32 pesagem = estacao.UltimaPesagem;

    // The row's kind; a Null kind reads as the empty text.
    std::optional<QString> tipo;
    Erro erro;
    const bool lido = PassoSilencioso(
        [&] {
            QSqlQuery q = Consulta::executar(estacao.bd(),
                                             QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                                                 .arg(Esquema::citar(QStringLiteral("Tipo de pesagem")),
                                                      Esquema::citar(Esquema::Pesagens),
                                                      Esquema::citar(QStringLiteral("Pesagem"))),
                                             {pesagem});
            if (q.next())
                tipo = ModGlobal::LerCampoTexto(q.record(), QStringLiteral("Tipo de pesagem"));
        },
        &erro);
    if (!lido) {
        qCWarning(diarioRegistos) << "ImprimirDocumento: row" << pesagem << "unreadable:" << erro.descricao;
        return;
    }
    if (!tipo) {
        estacao.mensagens.MsgBox(QStringLiteral("Pesagem não existente em tabela de pesagens"), Estilo::Informacao,
                                 QStringLiteral("Imprimir Documento de Pesagem"));
        return;
    }

    const QString ficheiro = Documentos::ficheiroDocumento(*tipo);
    const Documentos::Copias copias = Documentos::copiasDocumento(*tipo, estacao.Def);
    if (ficheiro.isEmpty() || !copias.imprime)
        return;

    Documentos::imprimirERegistar(estacao, ficheiro, pesagem, copias.quantidade, "ImprimirDocumento");
    ecra.setMnuOpcActivo(MnuOpc::UltimoDocumento, true);
}
