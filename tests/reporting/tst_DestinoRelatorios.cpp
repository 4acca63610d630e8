#include "data/Consulta.h"
#include "reporting/DestinoRelatorios.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/MotorRelatorios.h"
#include "reporting/PaginasVisualizacao.h"
#include "support/AvisosAnotados.h"
#include "support/EstacaoTeste.h"
#include "support/PedidoTeste.h"

#include <QBuffer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QPdfWriter>
#include <QSemaphore>
#include <QThread>
#include <QtTest>

namespace {

const QString Janeiro = QStringLiteral("{Pesagens.Data de saída} in Date (2026, 01, 01) to Date (2026, 01, 31)");

// What the engine asked of its destination, in order; written from either thread.
class Registo
{
public:
    void anotar(const QString& linha)
    {
        const QMutexLocker fecho(&m_fecho);
        m_linhas << linha;
    }
    QStringList linhas() const
    {
        const QMutexLocker fecho(&m_fecho);
        return m_linhas;
    }

private:
    mutable QMutex m_fecho;
    QStringList m_linhas;
};

// A PDF in memory that counts its pages; a printer's that refuses page `recusada`.
class PdfContado : public QPdfWriter
{
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override
    {
        if (++paginas == recusada)
            return false;
        return QPdfWriter::newPage();
    }
    int paginas = 1;
    int recusada = 0;
};

class PaginasEmMemoria final : public SaidaPaginas
{
public:
    PaginasEmMemoria(Registo& registo, bool abre, int recusada, const QPageLayout& folha, const QString& ficheiro)
        : m_registo(registo),
          m_ficheiro(ficheiro)
    {
        if (!abre)
            return;
        m_buffer.open(QIODevice::WriteOnly);
        m_pdf = std::make_unique<PdfContado>(&m_buffer);
        m_pdf->recusada = recusada;
        m_pdf->setPageLayout(folha);
    }
    QPagedPaintDevice* dispositivo() const override { return m_pdf.get(); }
    QString verificar() override { return {}; }
    QString concluir() override
    {
        m_registo.anotar(QStringLiteral("concluída, páginas: %1").arg(m_pdf->paginas));
        return {};
    }
    QString ficheiro() const override { return m_ficheiro; }
    void desistir() override { m_registo.anotar(QStringLiteral("abandonada")); }

private:
    Registo& m_registo;
    const QString m_ficheiro;
    QBuffer m_buffer;
    std::unique_ptr<PdfContado> m_pdf;
};

// The station as the engine sees it, with no window: it writes down what it
// is asked, and shows and prints nothing.
class DestinoGravador final : public DestinoRelatorios
{
public:
    Registo registo;
    bool comImpressora = false;                // the pages go to a printer, not a PDF
    bool semSaida = false;                     // nowhere to print
    bool abre = true;                          // the pages can be opened
    int recusada = 0;                          // the page the printer refuses (from 1)
    std::function<void()> antesDeAbrir;        // in the thread that opens them
    std::function<void()> cancelar;            // the open progress's "Cancelar"
    std::pair<int, int> ultimaPagina{-1, -1};  // what the progress said last
    std::unique_ptr<PaginasVisualizacao> paginas;

    void mostrarDocumento(const QString&, bool paisagem, const PedidoRelatorio& pedido, const QString&) override
    {
        registo.anotar(QStringLiteral("documento %1 %2").arg(pedido.TituloJanela, folha(folhaDaEstacao(paisagem))));
    }
    void mostrarPaginas(PaginasVisualizacao* p, const PedidoRelatorio& pedido) override
    {
        // Taken, as the preview window takes them.
        p->setParent(nullptr);
        paginas.reset(p);
        registo.anotar(QStringLiteral("páginas %1").arg(pedido.TituloJanela));
    }
    ImpressaoEscolhida escolherImpressao(const QString& nome, const QString& pastaPdf) override
    {
        registo.anotar(QStringLiteral("escolher %1 em %2").arg(nome, QFileInfo(pastaPdf).fileName()));
        ImpressaoEscolhida escolhida;
        if (semSaida)
            return escolhida;
        if (!comImpressora)
            escolhida.pdf = pastaPdf + u'/' + nome + QStringLiteral(".pdf");
        // Another file took the name meanwhile: the pages go into the next.
        const QString escrito = comImpressora ? QString() : pastaPdf + u'/' + nome + QStringLiteral("-2.pdf");
        escolhida.abrir = [this, escrito](const QString&, const QPageLayout& f) -> std::unique_ptr<SaidaPaginas> {
            const bool noutroFio = QThread::currentThread() != QCoreApplication::instance()->thread();
            registo.anotar(QStringLiteral("abrir %1%2").arg(folha(f), noutroFio ? QStringLiteral(" noutro fio") : QString()));
            if (antesDeAbrir)
                antesDeAbrir();
            return std::make_unique<PaginasEmMemoria>(registo, abre, recusada, f, escrito);
        };
        return escolhida;
    }
    void pdfTerminado(const QString& pdf, const QString& escrito) override
    {
        registo.anotar(QStringLiteral("pdf %1 %2").arg(QFileInfo(pdf).fileName(), escrito.isEmpty() ? QStringLiteral("por escrever") : QStringLiteral("escrito como ") + QFileInfo(escrito).fileName()));
    }
    std::unique_ptr<ProgressoListagem> abrirProgresso(const QString& titulo, std::function<void()> c) override;

private:
    // The station's page in one orientation or the other, or another page.
    static QString folha(const QPageLayout& f)
    {
        return f == folhaDaEstacao(true) ? QStringLiteral("paisagem")
               : f == folhaDaEstacao(false) ? QStringLiteral("retrato")
                                            : QStringLiteral("outra folha");
    }
};

class ProgressoGravador final : public ProgressoListagem
{
public:
    ProgressoGravador(DestinoGravador& destino, const QString& titulo, std::function<void()> cancelar)
        : m_destino(destino)
    {
        m_destino.registo.anotar(QStringLiteral("progresso %1").arg(titulo));
        m_destino.cancelar = std::move(cancelar);
    }
    ~ProgressoGravador() override
    {
        m_destino.cancelar = nullptr;
        m_destino.registo.anotar(QStringLiteral("progresso fechado"));
    }
    void pagina(int pagina, int total) override { m_destino.ultimaPagina = {pagina, total}; }

private:
    DestinoGravador& m_destino;
};

std::unique_ptr<ProgressoListagem> DestinoGravador::abrirProgresso(const QString& titulo, std::function<void()> c)
{
    return std::make_unique<ProgressoGravador>(*this, titulo, std::move(c));
}

}  // namespace

// The report engine over a real database, with a destination of its own and
// no widget library: what it asks of the station's printer, previews and
// progress, on which page, in which thread, and how a run ends there.
class TesteDestinoRelatorios : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<DestinoGravador> d;
    std::unique_ptr<MotorRelatorios> motor;

    // Runs a listing to its end; its status.
    int executar(const PedidoRelatorio& p)
    {
        QSignalSpy fim(motor.get(), &MotorRelatorios::relatorioTerminado);
        if (motor->ExecutarRelatorio(p) != EstadoRelatorio::EmCurso)
            return -1;
        return fim.wait(60000) ? fim.first().at(1).toInt() : -1;
    }

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("zumarel.relatorios.info=false\nzumarel.relatorios.warning=false")); }

    void init()
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
        Consulta::executar(t->estacao->bd(), QStringLiteral("INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\") VALUES (3, 'G')"));
        d = std::make_unique<DestinoGravador>();
        motor = std::make_unique<MotorRelatorios>([this] { return t->estacao->bd(); }, t->relogio, *d);
    }

    void cleanup()
    {
        d->paginas.reset();
        motor.reset();
        d.reset();
        t.reset();
    }

    // A document: its copies on the station's upright page, the PDF's name
    // released however the run ended (with the name the file took); a
    // preview only shown. A print that fails tells whoever asked, at once.
    void documento_data()
    {
        QTest::addColumn<int>("destino");
        QTest::addColumn<int>("saida");  // 0 a PDF, 1 a printer, 2 nowhere, 3 pages that do not open
        QTest::addColumn<int>("estado");
        QTest::addColumn<QStringList>("pedidos");
        QTest::addColumn<QStringList>("avisos");
        const QString escolher = QStringLiteral("escolher doc_seg_g em impressos");
        const int falha = EstadoRelatorio::FalhaImpressao;
        QTest::newRow("num PDF") << 1 << 0 << 0
                                 << QStringList{escolher, "abrir retrato", "concluída, páginas: 3", "pdf doc_seg_g.pdf escrito como doc_seg_g-2.pdf"}
                                 << QStringList();
        QTest::newRow("na impressora") << 1 << 1 << 0 << QStringList{escolher, "abrir retrato", "concluída, páginas: 3"} << QStringList();
        QTest::newRow("sem onde imprimir") << 1 << 2 << falha << QStringList{escolher}
                                           << QStringList{"5: 482 Não há impressora nem pasta onde escrever o PDF"};
        QTest::newRow("páginas que não abrem") << 1 << 3 << falha
                                               << QStringList{escolher, "abrir retrato", "pdf doc_seg_g.pdf por escrever"}
                                               << QStringList{"5: 482 As páginas do documento não puderam ser feitas"};
        QTest::newRow("pré-visualização") << 0 << 0 << 0 << QStringList{"documento Segunda via retrato"} << QStringList();
    }
    void documento()
    {
        QFETCH(int, destino);
        QFETCH(int, saida);
        d->comImpressora = saida == 1;
        d->semSaida = saida == 2;
        d->abre = saida != 3;
        PedidoRelatorio p = pedidoTeste(QStringLiteral("doc_seg_g.rpt"), QStringLiteral("{Pesagens.Pesagem} = 3"), destino, 3);
        p.TituloJanela = QStringLiteral("Segunda via");
        QObject quemPediu;
        QStringList avisos;
        QTEST(motor->ExecutarRelatorio(p, anotar(quemPediu, avisos)), "estado");
        QTEST(d->registo.linhas(), "pedidos");
        QTEST(avisos, "avisos");
    }

    // A listing for the printer: its progress from the start to the last
    // page of the last copy, its pages opened in the work's own thread on the
    // station's page in the listing's orientation.
    void listagemImpressa()
    {
        QCOMPARE(executar(pedidoTeste(QStringLiteral("m_pesagens.rpt"), Janeiro, DestinoRelatorio::Impressora, 2)),
                 int(EstadoRelatorio::Executado));
        QCOMPARE(d->registo.linhas(), (QStringList{"progresso Pesagens", "escolher m_pesagens em impressos",
                                                   "abrir paisagem noutro fio", "concluída, páginas: 2", "progresso fechado",
                                                   "pdf m_pesagens.pdf escrito como m_pesagens-2.pdf"}));
        QCOMPARE(d->ultimaPagina, std::pair(2, 2));
    }

    // "Cancelar" while the pages are being opened: the run is abandoned
    // before its first page, and the PDF's name is released unwritten.
    void listagemCancelada()
    {
        QSemaphore aAbrir, continuar;
        d->antesDeAbrir = [&] {
            aAbrir.release();
            continuar.tryAcquire(1, 30000);
        };
        QSignalSpy fim(motor.get(), &MotorRelatorios::relatorioTerminado);
        QCOMPARE(motor->ExecutarRelatorio(pedidoTeste(QStringLiteral("m_pesagens.rpt"), Janeiro)), int(EstadoRelatorio::EmCurso));
        QTRY_VERIFY_WITH_TIMEOUT(aAbrir.available() > 0, 30000);
        QVERIFY(d->cancelar);
        d->cancelar();
        continuar.release();
        QVERIFY(fim.wait(30000));
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Cancelado));
        QCOMPARE(d->registo.linhas(), (QStringList{"progresso Pesagens", "escolher m_pesagens em impressos",
                                                   "abrir paisagem noutro fio", "abandonada", "progresso fechado",
                                                   "pdf m_pesagens.pdf por escrever"}));
    }

    // A listing that fails once it is being made (nowhere to print, a page
    // the printer refuses) tells the window that asked why, while it lives.
    void avisoDaFalha_data()
    {
        QTest::addColumn<int>("janela");  // 0 open, 1 closed before the failure, 2 one with nothing to call
        QTest::addColumn<int>("saida");   // 0 prints, 1 nowhere, 2 refuses page 3
        QTest::addColumn<QStringList>("avisos");
        QTest::newRow("sem onde imprimir") << 0 << 1 << QStringList{"5: 482 Não há impressora nem pasta onde escrever o PDF"};
        QTest::newRow("página recusada") << 0 << 2 << QStringList{"5: 482 A página 3 não pôde ser começada"};
        QTest::newRow("impressa") << 0 << 0 << QStringList{};
        QTest::newRow("janela fechada antes da falha") << 1 << 1 << QStringList{};
        QTest::newRow("janela sem aviso") << 2 << 1 << QStringList{};
    }
    void avisoDaFalha()
    {
        QFETCH(int, janela);
        QFETCH(int, saida);
        Consulta::executar(t->estacao->bd(), "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                                             "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Data de saída\") SELECT 'G', '2026-01-10 10:00:00' FROM n");
        d->semSaida = saida == 1;
        d->recusada = saida == 2 ? 3 : 0;
        auto quemPediu = std::make_unique<QObject>();
        QStringList avisos;
        AvisoFalha aviso = anotar(*quemPediu, avisos);
        if (janela == 2)
            aviso.avisar = nullptr;
        QSignalSpy fim(motor.get(), &MotorRelatorios::relatorioTerminado);
        motor->ExecutarRelatorio(pedidoTeste(QStringLiteral("m_pesagens.rpt"), Janeiro), aviso);
        if (janela == 1)
            quemPediu.reset();
        QVERIFY(fim.wait(30000));
        QCOMPARE(fim.first().at(1).toInt(), int(saida ? EstadoRelatorio::FalhaImpressao : EstadoRelatorio::Executado));
        QTEST(avisos, "avisos");
    }

    // A listing's preview: its pages handed over once counted, each the
    // station's page, drawn on request; printing them is a run of its own.
    void listagemVisualizada()
    {
        PedidoRelatorio p = pedidoTeste(QStringLiteral("m_pesagens.rpt"), Janeiro, DestinoRelatorio::Janela);
        p.TituloJanela = QStringLiteral("Estatísticas");
        QCOMPARE(executar(p), int(EstadoRelatorio::Executado));
        QCOMPARE(d->registo.linhas(), (QStringList{"progresso Pesagens", "progresso fechado", "páginas Estatísticas"}));
        PaginasVisualizacao* paginas = d->paginas.get();
        QVERIFY(paginas);
        QCOMPARE(paginas->paginas(), 1);
        QCOMPARE(paginas->tamanho(), folhaDaEstacao(true).fullRect(QPageLayout::Point).size());

        QSignalSpy desenhada(paginas, &PaginasVisualizacao::desenhada);
        paginas->pedir(0, 300);
        QVERIFY(desenhada.wait(30000));
        QCOMPARE(desenhada.first().at(1).toInt(), 300);
        QCOMPARE(desenhada.first().at(2).value<QImage>().width(), 300);

        QSignalSpy fim(motor.get(), &MotorRelatorios::relatorioTerminado);
        paginas->imprimir();
        QVERIFY(fim.wait(30000));
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Executado));
        QCOMPARE(d->registo.linhas().mid(3), (QStringList{"progresso Pesagens", "escolher m_pesagens em impressos",
                                                          "abrir paisagem noutro fio", "concluída, páginas: 1",
                                                          "progresso fechado", "pdf m_pesagens.pdf escrito como m_pesagens-2.pdf"}));
    }
};

QTEST_MAIN(TesteDestinoRelatorios)
#include "tst_DestinoRelatorios.moc"
