// Times what the operator waits for when a statistics report is asked on a
// database made by bench_criarbd: from the request to the preview's first
// page on screen, and from the request to the PDF written (no printer on the
// machine), with a real 250 ms timer ticking on the station's thread all the
// while, as the bridges' timers do. The bare query (every row of the period
// read, as the report reads them) is timed beside it. Then the report is
// asked again for a preview while weighings are saved every 200 ms, on the
// station's thread and by another process (another station on the same
// file), each save timed until the first page is on screen; the rows saved
// are removed at the end.
//   bench_estatisticas PESAGENS.mdb [report]     (report: m_produto.rpt)
// The period is every year the file's weighings span. A month of it (June of
// the middle year) is also asked with the file's pages dropped from the
// system's cache first, as on an office computer just started, beside the
// bare query of that month's rows, equally cold. Prints one line per
// measure and, last, a JSON object:
//   relatorio_pdf_ms, relatorio_primeira_pagina_ms, relatorio_pico_mb (the
//   process's peak resident memory), tique_atraso_max_ms (the largest delay of
//   a tick past its 250 ms), gravacao_durante_listagem_max_ms and
//   gravacao_outro_posto_durante_listagem_max_ms (the longest save while the
//   listing read), relatorio_mes_frio_ms and consulta_mes_fria_ms (the
//   month's preview to its first page, and its bare query, each on a cold
//   cache), with the rows, pages and the bare query's time.
#include "MemoriaProcesso.h"

#include "data/BaseDadosEstacao.h"
#include "data/Consulta.h"
#include "platform/Erro.h"
#include "platform/LigacaoBd.h"
#include "platform/Relogio.h"
#include "platform/gui/ImpressoraQt.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/gui/MensagensQt.h"
#include "reporting/MotorRelatorios.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

QTextStream saida(stdout);

[[noreturn]] void falhar(const QString& porque)
{
    std::fprintf(stderr, "bench_estatisticas: %s\n", qPrintable(porque));
    std::exit(1);
}

// The bridges' rhythm: a tick every 250 ms, and how late the latest was.
class Tique : public QObject
{
public:
    Tique()
    {
        m_timer.setInterval(250);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 agora = m_relogio.elapsed();
            m_maximo = std::max(m_maximo, agora - m_anterior - 250);
            m_anterior = agora;
            ++m_tiques;
        });
        m_relogio.start();
        m_timer.start();
    }
    qint64 atrasoMaximo() const { return m_maximo; }
    int tiques() const { return m_tiques; }

private:
    QTimer m_timer;
    QElapsedTimer m_relogio;
    qint64 m_anterior = 0;
    qint64 m_maximo = 0;
    int m_tiques = 0;
};

// Whoever saves them, the bench's weighings are known by their operator.
const QString OperadorBench = QStringLiteral("bench");

// One save as the weighing screen makes it: a first weighing's row in a
// transaction of its own, synced. Its time in ms.
qint64 gravarPesagem(const QSqlDatabase& db)
{
    QElapsedTimer relogio;
    relogio.start();
    Consulta::Transaccao tr(db);
    Consulta::executar(
        db,
        QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", \"Código da viatura\", Viatura, "
                       "Produto, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", "
                       "\"Hora de entrada\", Operador) VALUES ('P', 'BENCH', 'BE-NC-01', 'Areia', 14200, "
                       "'B1', ?, ?, ?)"),
        {QDateTime::currentDateTime(), QTime::currentTime().toString(QStringLiteral("HH:mm")), OperadorBench});
    tr.confirmar();
    return relogio.elapsed();
}

// Saves every 200 ms on the station's thread and keeps the longest.
class Gravacoes : public QObject
{
public:
    explicit Gravacoes(const QSqlDatabase& db) : m_db(db)
    {
        m_timer.setInterval(200);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            try {
                m_maximo = std::max(m_maximo, gravarPesagem(m_db));
                ++m_gravacoes;
            } catch (const Erro& e) {
                falhar(QStringLiteral("a save failed: ") + e.descricao);
            }
        });
    }
    void iniciar() { m_timer.start(); }
    void parar() { m_timer.stop(); }
    qint64 maximo() const { return m_maximo; }
    int gravacoes() const { return m_gravacoes; }

private:
    QSqlDatabase m_db;
    QTimer m_timer;
    qint64 m_maximo = 0;
    int m_gravacoes = 0;
};

// The other station: saves every 200 ms for ever, each save's time in ms on
// a line of its own ("falha" and the reason when one fails).
int outroPosto(const QString& caminho)
{
    std::unique_ptr<LigacaoBd> ligacao;
    try {
        ligacao = BaseDadosEstacao::abrir(caminho);
    } catch (const Erro& e) {
        falhar(e.descricao);
    }
    QTimer timer;
    timer.setInterval(200);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        try {
            saida << gravarPesagem(ligacao->db()) << "\n";
        } catch (const Erro& e) {
            saida << "falha " << e.descricao << "\n";
        }
        saida.flush();
    });
    timer.start();
    return QCoreApplication::exec();
}

// Drops the file's pages from the system's cache: the next reading goes to the disk.
void esfriar(const QString& caminho)
{
    const int fd = ::open(QFile::encodeName(caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fdatasync(fd) != 0 || ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0)
        falhar(QStringLiteral("could not drop the cache of ") + caminho);
    ::close(fd);
}

// The period's rows with the fields the detailed report shows, read once on a
// connection of its own; the rows read.
qint64 consultaNua(const QString& caminho, const QString& de, const QString& ate)
{
    std::unique_ptr<LigacaoBd> ligacao;
    try {
        ligacao = BaseDadosEstacao::abrir(caminho);
    } catch (const Erro& e) {
        falhar(e.descricao);
    }
    QSqlQuery q(ligacao->db());
    q.setForwardOnly(true);
    if (!q.exec(
            QStringLiteral("SELECT \"Data de saída\", \"Hora de saída\", \"Tipo de pesagem\", \"Número de pesagem\", "
                           "Viatura, Entidade, Transportador, Produto, \"Peso á entrada\", \"Peso á saída\", "
                           "\"Peso líquido\" FROM Pesagens WHERE \"Data de saída\" >= '%1' AND "
                           "\"Data de saída\" < '%2' ORDER BY \"Data de saída\", Pesagem")
                .arg(de, ate)))
        falhar(QStringLiteral("bare query failed"));
    qint64 linhas = 0;
    while (q.next()) {
        for (int i = 0; i < 11; ++i)
            q.value(i).toString();
        ++linhas;
    }
    return linhas;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--outro-posto") == 0) {
        QCoreApplication app(argc, argv);
        return outroPosto(QString::fromLocal8Bit(argv[2]));
    }
    QApplication app(argc, argv);
    if (argc < 2 || argv[1][0] == '-')
        falhar(QStringLiteral("usage: bench_estatisticas PESAGENS.mdb [report]"));
    const QString caminho = QString::fromLocal8Bit(argv[1]);
    const QString relatorio = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("m_produto.rpt");

    std::unique_ptr<LigacaoBd> ligacao;
    try {
        ligacao = BaseDadosEstacao::abrir(caminho);
    } catch (const Erro& e) {
        falhar(e.descricao);
    }
    const QSqlDatabase db = ligacao->db();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT (SELECT MIN(\"Data de saída\") FROM Pesagens), "
                               "(SELECT MAX(\"Data de saída\") FROM Pesagens)"))
        || !q.next())
        falhar(QStringLiteral("no weighings"));
    const int de = q.value(0).toString().left(4).toInt(), ate = q.value(1).toString().left(4).toInt();
    q.finish();
    const QString formula =
        QStringLiteral("{Pesagens.Data de saída} in Date (%1, 01, 01) to Date (%2, 12, 31)").arg(de).arg(ate);

    // The bare query: the period's rows with the fields the detailed report shows.
    QElapsedTimer relogio;
    relogio.start();
    const qint64 linhas =
        consultaNua(caminho, QStringLiteral("%1-01-01").arg(de), QStringLiteral("%1-01-01").arg(ate + 1));
    const qint64 nua = relogio.elapsed();
    saida << caminho << ": " << linhas << " weighings in " << de << "-" << ate << "; bare query " << nua << " ms\n";
    saida.flush();

    RelogioSistema agora;
    MensagensQt mensagens;
    ImpressoraQt impressora(agora, mensagens);
    impressora.lugaresImpressao = {};  // no print system: a PDF beside the database
    MotorRelatorios motor([&db] { return db; }, agora, impressora);
    PedidoRelatorio pedido;
    pedido.FicheiroRelatorio = QDir(QStringLiteral(ZUMAREL_RELATORIOS)).filePath(relatorio);
    pedido.FormulaSeleccao = formula;
    pedido.TituloJanela = QStringLiteral("Estatísticas");
    pedido.EstadoJanela = EstadoJanelaRelatorio::Maximizada;

    Tique tique;
    QEventLoop espera;
    int estado = -1;
    QObject::connect(&motor, &MotorRelatorios::relatorioTerminado, &espera, [&](const QString&, int e) {
        estado = e;
        espera.quit();
    });

    // A preview: the request, then the window, then its first page drawn.
    qint64 janelaMs = 0;
    const auto visualizar = [&](const PedidoRelatorio& p) {
        relogio.restart();
        if (motor.ExecutarRelatorio(p) != EstadoRelatorio::EmCurso)
            falhar(QStringLiteral("the preview was refused"));
        espera.exec();
        JanelaVisualizacao* j = impressora.ultimaVisualizacao();
        if (estado != EstadoRelatorio::Executado || !j)
            falhar(QStringLiteral("no preview, status %1").arg(estado));
        janelaMs = relogio.elapsed();
        const auto ligacao = QObject::connect(j, &JanelaVisualizacao::paginaMostrada, &espera, [&](int pagina) {
            if (pagina == 0)
                espera.quit();
        });
        espera.exec();
        QObject::disconnect(ligacao);
        return j;
    };
    pedido.Destino = DestinoRelatorio::Janela;

    JanelaVisualizacao* janela = visualizar(pedido);
    const qint64 primeiraPagina = relogio.elapsed();
    const int paginas = janela->paginas()->paginas();
    // The last page too, as the operator jumping to the grand total sees it.
    relogio.restart();
    QObject::connect(janela, &JanelaVisualizacao::paginaMostrada, &espera, [&](int pagina) {
        if (pagina == paginas - 1)
            espera.quit();
    });
    janela->irPara(paginas - 1);
    espera.exec();
    const qint64 ultimaPagina = relogio.elapsed();
    delete janela;
    saida << relatorio << " preview: window after " << janelaMs << " ms, first page on screen after " << primeiraPagina
          << " ms, last page " << ultimaPagina << " ms after the jump; " << paginas << " pages\n";
    saida.flush();

    // The printer: the request, then every page in a new PDF.
    relogio.restart();
    pedido.Destino = DestinoRelatorio::Impressora;
    pedido.Copias = 1;
    if (motor.ExecutarRelatorio(pedido) != EstadoRelatorio::EmCurso)
        falhar(QStringLiteral("the print was refused"));
    espera.exec();
    const qint64 pdf = relogio.elapsed();
    if (estado != EstadoRelatorio::Executado || !QFileInfo::exists(impressora.ultimoPdf()))
        falhar(QStringLiteral("no PDF, status %1").arg(estado));
    const double megas = double(QFileInfo(impressora.ultimoPdf()).size()) / 1048576.0;
    QFile::remove(impressora.ultimoPdf());
    const long pico = memoriaKb("VmHWM:") / 1024;
    // The ticks while the report was made (what follows runs saves on this thread).
    const qint64 atrasoTique = tique.atrasoMaximo();
    saida << relatorio << " to PDF: " << pdf << " ms, " << QString::number(megas, 'f', 1) << " MiB; peak memory "
          << pico << " MB; " << tique.tiques() << " ticks of 250 ms, the latest " << atrasoTique << " ms late\n";

    // Saves while the listing reads the file: the preview again, to its first page.
    QProcess outro;
    outro.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    outro.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--outro-posto"), caminho});
    if (!outro.waitForStarted() || !outro.waitForReadyRead(10000))
        falhar(QStringLiteral("the other station did not start"));
    outro.readAll();
    qint64 outroMaximo = 0;
    int outroGravacoes = 0;
    bool aLer = true;
    QObject::connect(&outro, &QProcess::readyReadStandardOutput, [&] {
        while (outro.canReadLine()) {
            const QString linha = QString::fromUtf8(outro.readLine()).trimmed();
            if (linha.startsWith(QStringLiteral("falha")))
                falhar(QStringLiteral("a save of the other station failed: ") + linha);
            if (aLer) {
                outroMaximo = std::max(outroMaximo, linha.toLongLong());
                ++outroGravacoes;
            }
        }
    });
    Gravacoes gravacoes(db);
    gravacoes.iniciar();
    pedido.Destino = DestinoRelatorio::Janela;
    janela = visualizar(pedido);
    const qint64 comGravacoes = relogio.elapsed();
    aLer = false;
    gravacoes.parar();
    outro.kill();
    outro.waitForFinished();
    delete janela;
    Consulta::executar(db, QStringLiteral("DELETE FROM Pesagens WHERE Operador = ?"), {OperadorBench});
    saida << relatorio << " preview with saves every 200 ms: first page after " << comGravacoes << " ms; "
          << gravacoes.gravacoes() << " saves here, the longest " << gravacoes.maximo() << " ms; " << outroGravacoes
          << " by another station, the longest " << outroMaximo << " ms\n";

    // A month, on a cold cache: its bare query, then its preview.
    const int ano = de + (ate - de) / 2;
    esfriar(caminho);
    relogio.restart();
    const qint64 linhasMes =
        consultaNua(caminho, QStringLiteral("%1-06-01").arg(ano), QStringLiteral("%1-07-01").arg(ano));
    const qint64 nuaMes = relogio.elapsed();
    esfriar(caminho);
    PedidoRelatorio mes = pedido;
    mes.FormulaSeleccao = QStringLiteral("{Pesagens.Data de saída} in Date (%1, 06, 01) to Date (%1, 06, 30)").arg(ano);
    delete visualizar(mes);
    const qint64 mesFrio = relogio.elapsed();
    saida << relatorio << " June " << ano << " on a cold cache: " << linhasMes << " weighings, first page after "
          << mesFrio << " ms; bare query " << nuaMes << " ms\n";
    saida.flush();

    QJsonObject r;
    r[QStringLiteral("linhas")] = linhas;
    r[QStringLiteral("paginas")] = paginas;
    r[QStringLiteral("consulta_nua_ms")] = nua;
    r[QStringLiteral("relatorio_primeira_pagina_ms")] = primeiraPagina;
    r[QStringLiteral("relatorio_pdf_ms")] = pdf;
    r[QStringLiteral("relatorio_pico_mb")] = qint64(pico);
    r[QStringLiteral("tique_atraso_max_ms")] = atrasoTique;
    r[QStringLiteral("gravacao_durante_listagem_max_ms")] = gravacoes.maximo();
    r[QStringLiteral("gravacao_outro_posto_durante_listagem_max_ms")] = outroMaximo;
    r[QStringLiteral("relatorio_mes_frio_ms")] = mesFrio;
    r[QStringLiteral("consulta_mes_fria_ms")] = nuaMes;
    saida << QJsonDocument(r).toJson(QJsonDocument::Compact) << "\n";
    return 0;
}
