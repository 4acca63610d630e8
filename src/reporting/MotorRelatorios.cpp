#include "reporting/MotorRelatorios.h"

#include "data/Consulta.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"
#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/DestinoRelatorios.h"
#include "reporting/ExecucaoListagem.h"
#include "reporting/FormulaSeleccao.h"
#include "reporting/ImpressaoDocumento.h"

#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSqlQuery>

#include <exception>

namespace {
Q_LOGGING_CATEGORY(diarioRelatorios, "zumarel.relatorios")

void registar(const QString& ficheiro, const QString& formula, int estado, const QString& motivo)
{
    if (estado == EstadoRelatorio::Cancelado)
        qCInfo(diarioRelatorios) << "report" << ficheiro << "formula" << formula << "cancelled";
    else if (estado != EstadoRelatorio::Executado && estado != EstadoRelatorio::EmCurso)
        qCWarning(diarioRelatorios) << "report" << ficheiro << "formula" << formula << "status" << estado << motivo;
}
}  // namespace

MotorRelatorios::MotorRelatorios(std::function<QSqlDatabase()> baseDados, const Relogio& relogio, DestinoRelatorios& saida,
                                 QObject* pai)
    : QObject(pai),
      m_baseDados(std::move(baseDados)),
      m_relogio(relogio),
      m_saida(saida)
{}

MotorRelatorios::~MotorRelatorios()
{
    // Each run still going is a child: deleting it stops it and waits for its thread.
    qDeleteAll(findChildren<ExecucaoListagem*>(Qt::FindDirectChildrenOnly));
}

int MotorRelatorios::ExecutarRelatorio(const PedidoRelatorio& pedido, const AvisoFalha& aviso)
{
    // One document at a time: a run inside a run is refused.
    if (m_ocupado) {
        qCWarning(diarioRelatorios) << pedido.FicheiroRelatorio << "refused: another report is running";
        return EstadoRelatorio::FalhaImpressao;
    }
    const QScopedValueRollback<bool> ocupado(m_ocupado, true);
    int estado = EstadoRelatorio::FalhaImpressao;
    QString motivo;
    try {
        estado = executar(pedido, aviso, motivo);
    } catch (const std::exception& e) {
        // It runs inside the bridges' ticks too: nothing may escape.
        motivo = QString::fromLocal8Bit(e.what());
    }
    registar(pedido.FicheiroRelatorio, pedido.FormulaSeleccao, estado, motivo);
    if (estado == EstadoRelatorio::EmCurso)
        return estado;
    Q_EMIT relatorioTerminado(pedido.FicheiroRelatorio, estado);
    // A print that failed is told to whoever asked; the other statuses are only logged.
    if (estado == EstadoRelatorio::FalhaImpressao && aviso.avisar)
        aviso.avisar(estado, Erro{ErroImpressora, motivo});
    return estado;
}

int MotorRelatorios::executar(const PedidoRelatorio& pedido, const AvisoFalha& aviso, QString& motivo)
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

    if (definicao->listagem()) {
        const QString ficheiro = ficheiroBd();
        if (ficheiro.isEmpty()) {
            motivo = QStringLiteral("a base de dados não é um ficheiro");
            return EstadoRelatorio::ErroBaseDados;
        }
        auto* execucao = new ExecucaoListagem(*definicao, *seleccao, ficheiro, m_relogio.agora(), pedido, m_saida,
                                              pastaPdf(ficheiro), this);
        connect(execucao, &ExecucaoListagem::terminada, this, [this, pedido](int estado, const Erro& falha) {
            registar(pedido.FicheiroRelatorio, pedido.FormulaSeleccao, estado, falha.descricao);
            Q_EMIT relatorioTerminado(pedido.FicheiroRelatorio, estado);
        });
        // Told only while the window that asked lives: the connection goes with it.
        if (aviso.contexto && aviso.avisar) {
            const auto avisar = [avisar = aviso.avisar](int estado, const Erro& falha) {
                if (estado != EstadoRelatorio::Executado && estado != EstadoRelatorio::Cancelado)
                    avisar(estado, falha);
            };
            connect(execucao, &ExecucaoListagem::terminada, aviso.contexto, avisar);
            connect(execucao, &ExecucaoListagem::paginaFalhou, aviso.contexto, avisar);
        }
        execucao->iniciar();
        return EstadoRelatorio::EmCurso;
    }

    const auto composto = comporRelatorio(*definicao, *seleccao, m_baseDados(), m_relogio.agora(), &motivo);
    if (!composto)
        return EstadoRelatorio::ErroBaseDados;
    if (pedido.Destino == DestinoRelatorio::Janela) {
        m_saida.mostrarDocumento(composto->html, definicao->paisagem, pedido, pastaPdf(ficheiroBd()));
        return EstadoRelatorio::Executado;
    }
    // A document with no row has nothing to put on paper.
    if (definicao->paginaPorRegisto && composto->registos == 0)
        return EstadoRelatorio::SemRegistos;
    // Told when the printer answers, while this engine lives, and the window that asked, when one did.
    const QPointer<MotorRelatorios> motor(this);
    const QPointer<const QObject> quemPediu(aviso.contexto);
    const auto depois = [motor, quemPediu, pedido, aviso](int estado, const QString& razao) {
        if (!motor)
            return;
        registar(pedido.FicheiroRelatorio, pedido.FormulaSeleccao, estado, razao);
        Q_EMIT motor->relatorioTerminado(pedido.FicheiroRelatorio, estado);
        if (estado == EstadoRelatorio::FalhaImpressao && aviso.avisar && (!aviso.contexto || quemPediu))
            aviso.avisar(estado, Erro{ErroImpressora, razao});
    };
    return imprimirDocumento(m_saida, composto->html, definicao->paisagem, QFileInfo(definicao->nome).completeBaseName(),
                             pedido.Copias, pastaPdf(ficheiroBd()), motivo, depois);
}

QString MotorRelatorios::ficheiroBd() const
{
    // The database's own file, as SQLite opened it (the connection's name may be a URI).
    try {
        QSqlQuery q = Consulta::executar(m_baseDados(), QStringLiteral("PRAGMA database_list"));
        while (q.next()) {
            if (q.value(1).toString() == u"main")
                return q.value(2).toString();
        }
    } catch (const Erro&) {
        // No file: no listing and no PDF.
    }
    return {};
}

QString MotorRelatorios::pastaPdf(const QString& ficheiroBd)
{
    if (ficheiroBd.isEmpty())
        return {};
    return QFileInfo(ficheiroBd).absoluteDir().filePath(QStringLiteral("impressos"));
}
