#include "records/AnularPesagem.h"

#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Relatorio.h"
#include "records/Diario.h"
#include "records/DocumentosPesagem.h"
#include "shared/Esquema.h"

namespace {
const QString Titulo = QStringLiteral("Anular pesagem");
QString c(const QString& nome)
{
    return Esquema::citar(nome);
}
}  // namespace

AnularPesagem::AnularPesagem(Estacao& estacao) : EscolhaDocumento(estacao, u'S', {Titulo}) {}

void AnularPesagem::cmd_Click()
{
    if (m_estacao.mensagens.MsgBox(QStringLiteral("Confirma que deseja anular a pesagem"),
                                   Estilo::SimNao | Estilo::Pergunta | Estilo::SegundoBotao, Titulo)
        != Resposta::Sim)
        return;

    // The row is found again now, by kind and number, in the statement that
    // changes it: a list read earlier may be stale.
    const QString numero = numeroDoTexto(texto());
    bool ok = false;
    const qint64 valor = numero.toLongLong(&ok);
    int alteradas = 0;
    const bool lido = Passo(m_estacao.mensagens, QStringLiteral("Erro no acesso à tabela de pesagens"), [&] {
        if (!ok)
            return;  // no row holds such a number
        const QString chave = c(QStringLiteral("Pesagem"));
        QSqlQuery q = Consulta::executar(
            m_estacao.bd(),
            QStringLiteral("UPDATE %1 SET %2 = ?, %3 = ? WHERE %4 = (SELECT %4 FROM %1 WHERE %2 = ? AND %5 = ? "
                           "ORDER BY %4 LIMIT 1)")
                .arg(c(Esquema::Pesagens), c(QStringLiteral("Tipo de pesagem")), c(QStringLiteral("Peso líquido")),
                     chave, c(QStringLiteral("Número de pesagem"))),
            {QStringLiteral("A"), 0, QString(tipo()), valor});
        alteradas = q.numRowsAffected();
    });
    if (!lido)
        return;
    if (alteradas < 1) {
        m_estacao.mensagens.MsgBox(QStringLiteral("Pesagem não existente em tabela de pesagens"), Estilo::Informacao,
                                   Titulo);
        return;
    }

    PedidoRelatorio pedido;
    pedido.FicheiroRelatorio = m_estacao.naPastaPrograma(Documentos::Anulada);
    pedido.FormulaSeleccao = FormulaTipoNumero(u'A', numero);
    pedido.Destino = DestinoRelatorio::Janela;
    pedido.Esquerda = pedido.Topo = 0;
    pedido.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
    pedido.TituloJanela = QStringLiteral("Pesagem anulada");
    if (m_estacao.impressora) {
        const int estado = m_estacao.impressora->ExecutarRelatorio(pedido);
        if (estado != EstadoRelatorio::Executado)
            qCWarning(diarioRegistos) << "AnularPesagem:" << pedido.FormulaSeleccao << "status" << estado;
    }
    m_fechar = true;
}
