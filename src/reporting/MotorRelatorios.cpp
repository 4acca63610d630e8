#include "reporting/MotorRelatorios.h"

#include "platform/Relogio.h"
#include "platform/gui/ImpressoraQt.h"
#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FormulaSeleccao.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QScopedValueRollback>
#include <QSqlQuery>

#include <exception>

namespace {
Q_LOGGING_CATEGORY(diarioRelatorios, "zumarel.relatorios")
}

MotorRelatorios::MotorRelatorios(std::function<QSqlDatabase()> baseDados, const Relogio& relogio, ImpressoraQt& saida)
    : m_baseDados(std::move(baseDados)),
      m_relogio(relogio),
      m_saida(saida)
{}

int MotorRelatorios::ExecutarRelatorio(const PedidoRelatorio& pedido)
{
    // One request at a time.
    if (m_ocupado) {
        qCWarning(diarioRelatorios) << pedido.FicheiroRelatorio << "refused: another report is running";
        return EstadoRelatorio::FalhaImpressao;
    }
    const QScopedValueRollback<bool> ocupado(m_ocupado, true);
    int estado = EstadoRelatorio::FalhaImpressao;
    QString motivo;
    try {
        estado = executar(pedido, motivo);
    } catch (const std::exception& e) {
        // It runs inside the bridges' ticks too: nothing may escape.
        motivo = QString::fromLocal8Bit(e.what());
    }
    if (estado != EstadoRelatorio::Executado)
        qCWarning(diarioRelatorios) << "report" << pedido.FicheiroRelatorio << "formula" << pedido.FormulaSeleccao
                                    << "status" << estado << motivo;
    return estado;
}

int MotorRelatorios::executar(const PedidoRelatorio& pedido, QString& motivo)
{
    if (pedido.Destino != DestinoRelatorio::Janela && pedido.Destino != DestinoRelatorio::Impressora)
        return EstadoRelatorio::DestinoDesconhecido;
    if (pedido.Destino == DestinoRelatorio::Impressora && pedido.Copias < 1)
        return EstadoRelatorio::Executado;

    DefinicaoRelatorio::Falha falha;
    const auto definicao = DefinicaoRelatorio::carregar(pedido.FicheiroRelatorio, &falha, &motivo);
    if (!definicao)
        return falha == DefinicaoRelatorio::Falha::EmFalta ? EstadoRelatorio::DefinicaoEmFalta
                                                           : EstadoRelatorio::DefinicaoInvalida;
    const auto seleccao = FormulaSeleccao::traduzir(pedido.FormulaSeleccao, definicao->tabela, &motivo);
    if (!seleccao)
        return EstadoRelatorio::FormulaRecusada;
    const auto composto = comporRelatorio(*definicao, *seleccao, m_baseDados(), m_relogio.agora(), &motivo);
    if (!composto)
        return EstadoRelatorio::ErroBaseDados;

    if (pedido.Destino == DestinoRelatorio::Janela) {
        m_saida.mostrar(composto->html, definicao->paisagem, pedido, definicao->numerarPaginas);
        return EstadoRelatorio::Executado;
    }
    // A document with no row has nothing to put on paper.
    if (definicao->paginaPorRegisto && composto->registos == 0)
        return EstadoRelatorio::SemRegistos;
    return m_saida.imprimir(composto->html, definicao->paisagem, QFileInfo(definicao->nome).completeBaseName(),
                            pedido.Copias, pastaPdf(), definicao->numerarPaginas);
}

QString MotorRelatorios::pastaPdf() const
{
    // The database's own file, as SQLite opened it (the connection's name may be a URI).
    QSqlQuery q(m_baseDados());
    if (!q.exec(QStringLiteral("PRAGMA database_list")))
        return {};
    QString ficheiro;
    while (q.next()) {
        if (q.value(1).toString() == u"main")
            ficheiro = q.value(2).toString();
    }
    if (ficheiro.isEmpty())
        return {};
    return QFileInfo(ficheiro).absoluteDir().filePath(QStringLiteral("impressos"));
}
