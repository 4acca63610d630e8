#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "data/Consulta.h"
#include "platform/impressao/FicheiroPdf.h"
#include "platform/impressao/SemSinalPipe.h"
#include "support/AvisosAnotados.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/JanelaModal.h"
#include "support/MotorTeste.h"
#include "support/ProxyImpressao.h"
#include "support/ServidorImpressao.h"
#include "support/TextoPdf.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLoggingCategory>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>
#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString PastaRelatorios = QStringLiteral(ZUMAREL_RELATORIOS);
const QString Guia = QStringLiteral("{Pesagens.Pesagem} = 3");
const QString Silencio = QStringLiteral("zumarel.relatorios.warning=false\nzumarel.relatorios.info=false");
const QString Recusado = QStringLiteral("A impressora fila não aceitou o trabalho: Destination \"fila\" is not accepting jobs.");

// The queue of the test's own print server; the test is skipped when it cannot run.
#define SERVIDOR_OU_SALTAR(servidor)                                                                                 \
    if (!(servidor).porqueNao().isEmpty())                                                                            \
        QSKIP(qPrintable((servidor).porqueNao()));

}  // namespace

// The report printer on a real database, writing real PDF files: the machine's
// printers are never used.
class TesteImpressoraQt : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<MotorTeste> r;

    QStringList pdfs() const
    {
        return QDir(t->caminho(QStringLiteral("impressos"))).entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Name);
    }

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void definicoesDaEstacaoValidas();
    void documentoEmPdf_data();
    void documentoEmPdf();
    void pedidos_data();
    void pedidos();
    void nuncaSobrepoeUmPdf();
    void janelaNaoModal();
    void impressaoNaFila_data();
    void impressaoNaFila();
    void impressaoDaVisualizacao_data();
    void impressaoDaVisualizacao();
    void ondeEstaOSistema_data();
    void ondeEstaOSistema();
    void impressoesUmaDeCadaVez();
    void pdfNuncaSubstitui_data();
    void pdfNuncaSubstitui();
    void ficheiroDaImpressaoSemNome_data();
    void ficheiroDaImpressaoSemNome();
    void documentoNumDiscoCheio_data();
    void documentoNumDiscoCheio();
    void servidorQueDesliga_data();
    void servidorQueDesliga();
};

void TesteImpressoraQt::initTestCase()
{
    if (!TextoPdf::disponivel())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    // The refusals are logged by design; their statuses are what is checked.
    QLoggingCategory::setFilterRules(Silencio);
}

void TesteImpressoraQt::init()
{
    t = std::make_unique<EstacaoTeste>();
    t->abrirBaseDados();
    r = std::make_unique<MotorTeste>(*t);
    const QSqlDatabase db = t->estacao->bd();
    Consulta::executar(db, QStringLiteral(
        "UPDATE Empresas SET \"Linha 1\" = 'Areias & Britas, Lda.', \"Linha 2\" = 'Zona Industrial', "
        "\"Linha 3\" = 'Lote 7', \"Código postal\" = '2000-123', Localidade = 'Santarém', "
        "Contribuinte = '501234567', Telefone = '243000000', Fax = '243000001', "
        "\"Linha de fundo\" = 'Processado por computador' WHERE Empresa = 1"));
    const QString sql = QStringLiteral(
        "INSERT INTO Pesagens (Pesagem, \"Tipo de pesagem\", \"Número de pesagem\", \"Código da viatura\", Viatura, "
        "\"Código da entidade\", Entidade, \"Código do transportador\", Transportador, \"Código do produto\", Produto, "
        "\"Código do local de carga\", \"Local de carga\", \"Código do local de descarga\", \"Local de descarga\", "
        "Observações, \"Peso á entrada\", \"Báscula de entrada\", \"Data de entrada\", \"Hora de entrada\", "
        "\"Peso á saída\", \"Báscula de saída\", \"Data de saída\", \"Hora de saída\", \"Peso líquido\", Operador) "
        "VALUES (?, ?, ?, 'AB12', '12-AB-34', 'C01', ?, 'T01', 'Transportes Rápidos', 'P01', 'Areia fina', "
        "'LC1', 'Pedreira Norte', 'LD1', 'Obra da Ponte', 'Sem lona', 12500, 'B1', '2026-12-05 09:15:00', "
        "'09:15', ?, ?, ?, ?, ?, 'Maria')");
    const QList<QVariantList> linhas = {
        {1, "P", QVariant(), "O'Neil & <Filhos>", QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {2, "E", 7, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 19000},
        {3, "G", 42, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 19000},
        {4, "T", QVariant(), "Quinta D'Ouro", 13750, "A2", "2026-12-05 10:40:00", "10:40", 1250},
        {5, "A", 9, "Quinta D'Ouro", 31500, "B2", "2026-12-05 10:40:00", "10:40", 0},
    };
    for (const QVariantList& l : linhas)
        Consulta::executar(db, sql, l);
}

void TesteImpressoraQt::cleanup()
{
    if (r)
        delete r->saida.ultimaJanela();
    r.reset();
    t.reset();
}

void TesteImpressoraQt::definicoesDaEstacaoValidas()
{
    const QStringList presentes = QDir(PastaRelatorios).entryList({QStringLiteral("*.rpt")}, QDir::Files, QDir::Name);
    for (const char* tipo : {"anu", "pri", "seg_e", "seg_g", "seg_t", "sgv_e", "sgv_g", "sgv_t"})
        QVERIFY2(presentes.contains(QStringLiteral("doc_%1.rpt").arg(QLatin1String(tipo))), tipo);
    for (const QString& nome : presentes) {
        QString motivo;
        const auto d = DefinicaoRelatorio::carregar(QDir(PastaRelatorios).filePath(nome), nullptr, &motivo);
        QVERIFY2(d, qPrintable(nome + QStringLiteral(": ") + motivo));
        // The documents print one weighing a page; the rest are the table editor's listings and statistics.
        if (nome.startsWith(QStringLiteral("doc_")))
            QVERIFY(d->tabela == u"Pesagens" && d->paginaPorRegisto);
    }
}

void TesteImpressoraQt::documentoEmPdf_data()
{
    QTest::addColumn<QString>("ficheiro");
    QTest::addColumn<int>("pesagem");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<QStringList>("ausentes");

    const QStringList comuns = {"Areias & Britas, Lda.", "Zona Industrial", "Lote 7", "2000-123 Santarém",
                                "501234567", "243000000", "243000001", "Processado por computador",
                                "AB12", "12-AB-34", "C01", "T01", "Transportes Rápidos", "P01", "Areia fina",
                                "LC1", "Pedreira Norte", "LD1", "Obra da Ponte", "Sem lona", "Operador: Maria",
                                "12 500 kg", "B1", "05-12-2026", "09:15"};
    const QStringList segunda = {"31 500 kg", "B2", "10:40", "19 000 kg", "Peso líquido", "Quinta D'Ouro"};
    QTest::newRow("primeira") << "doc_pri.rpt" << 1
                              << comuns + QStringList{"Talão de 1.ª pesagem", "O'Neil & <Filhos>", "Pesagem: 1"}
                              << QStringList{"Peso líquido", "2.ª pesagem", "Sem registos."};
    QTest::newRow("entrada") << "doc_seg_e.rpt" << 2 << comuns + segunda + QStringList{"Entrada de matéria prima", "N.º 7"}
                             << QStringList{"2.ª VIA"};
    QTest::newRow("guia") << "doc_seg_g.rpt" << 3 << comuns + segunda + QStringList{"Guia de remessa", "N.º 42"}
                          << QStringList{"2.ª VIA"};
    QTest::newRow("talão automático") << "doc_seg_t.rpt" << 4
                                      << comuns + QStringList{"Talão de pesagem", "13 750 kg", "A2", "1 250 kg"}
                                      << QStringList{"2.ª VIA"};
    QTest::newRow("2ª via entrada") << "doc_sgv_e.rpt" << 2 << comuns + segunda + QStringList{"Entrada de matéria prima", "2.ª VIA"}
                                    << QStringList{};
    QTest::newRow("2ª via talão") << "doc_sgv_t.rpt" << 4 << comuns + QStringList{"Talão de pesagem", "2.ª VIA"}
                                  << QStringList{};
}

void TesteImpressoraQt::documentoEmPdf()
{
    QFETCH(QString, ficheiro);
    QFETCH(int, pesagem);
    QFETCH(QStringList, textos);
    QFETCH(QStringList, ausentes);

    const int estado =
        r->motor->ExecutarRelatorio(MotorTeste::pedido(ficheiro, QStringLiteral("{Pesagens.Pesagem} = %1").arg(pesagem)));
    QCOMPARE(estado, 0);
    QCOMPARE(pdfs().size(), 1);
    const QString pdf = r->saida.ultimoPdf();
    QCOMPARE(QFileInfo(pdf).absolutePath(), QFileInfo(t->caminho(QStringLiteral("impressos"))).absoluteFilePath());
    QVERIFY(QFileInfo(pdf).fileName().startsWith(QFileInfo(ficheiro).completeBaseName() + QStringLiteral("-20261205-143000")));
    QCOMPARE(TextoPdf::paginas(pdf), 1);
    // Layout blanks between label and value count as one.
    const QString texto = TextoPdf::texto(pdf).simplified();
    for (const QString& esperado : textos) {
        QVERIFY2(texto.contains(esperado.normalized(QString::NormalizationForm_KC)),
                 qPrintable(esperado + QStringLiteral(" not in:\n") + texto));
    }
    for (const QString& ausente : ausentes)
        QVERIFY2(!texto.contains(ausente.normalized(QString::NormalizationForm_KC)), qPrintable(ausente));
}

void TesteImpressoraQt::pedidos_data()
{
    QTest::addColumn<QString>("ficheiro");      // a shipped definition, or "proprio.rpt"
    QTest::addColumn<QByteArray>("definicao");  // the content of "proprio.rpt"
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("destino");
    QTest::addColumn<int>("copias");
    QTest::addColumn<int>("estado");
    QTest::addColumn<int>("paginas");  // -1: no file

    const QString guia = QStringLiteral("{Pesagens.Pesagem} = 3");
    const int invalida = EstadoRelatorio::DefinicaoInvalida;
    // Copies repeat the pages; a count below one prints nothing, and says so.
    QTest::newRow("2 cópias") << "doc_seg_g.rpt" << QByteArray() << guia << 1 << 2 << 0 << 2;
    QTest::newRow("3 cópias") << "doc_seg_g.rpt" << QByteArray() << guia << 1 << 3 << 0 << 3;
    QTest::newRow("0 cópias") << "doc_seg_g.rpt" << QByteArray() << guia << 1 << 0 << 0 << -1;
    QTest::newRow("-1 cópias") << "doc_seg_g.rpt" << QByteArray() << guia << 1 << -1 << 0 << -1;
    // Rows 2 to 5 are of "Quinta D'Ouro": one page each, for each copy.
    QTest::newRow("4 linhas, 2 cópias") << "doc_seg_g.rpt" << QByteArray() << "{Pesagens.Entidade} = 'Quinta D''Ouro'" << 1
                                        << 2 << 0 << 8;
    QTest::newRow("sem registos") << "doc_pri.rpt" << QByteArray() << "{Pesagens.Pesagem} = 57" << 1 << 1
                                  << int(EstadoRelatorio::SemRegistos) << -1;
    QTest::newRow("definição em falta") << "nao_existe.rpt" << QByteArray() << "" << 1 << 1
                                        << int(EstadoRelatorio::DefinicaoEmFalta) << -1;
    QTest::newRow("fórmula de outra tabela") << "doc_pri.rpt" << QByteArray() << "{Viaturas.Viatura}='x'" << 1 << 1
                                             << int(EstadoRelatorio::FormulaRecusada) << -1;
    QTest::newRow("fórmula com texto a mais") << "doc_pri.rpt" << QByteArray() << "{Pesagens.Pesagem} = 1 or 1=1" << 0
                                              << 1 << int(EstadoRelatorio::FormulaRecusada) << -1;
    QTest::newRow("destino 2") << "doc_pri.rpt" << QByteArray() << "{Pesagens.Pesagem} = 1" << 2 << 1
                               << int(EstadoRelatorio::DestinoDesconhecido) << -1;

    // The definition's own filter joins the formula.
    const QByteArray filtrado = "tabela = Pesagens\nfiltro = {Pesagens.Entidade} = 'Quinta D''Ouro'\n"
                                "pagina_por_registo = sim\n---\n"
                                "{{#registos}}<div{{^primeiro}} style=\"page-break-before: always;\"{{/primeiro}}>"
                                "<p>{{Pesagem}}</p></div>{{/registos}}\n";
    QTest::newRow("só o filtro") << "proprio.rpt" << filtrado << "" << 1 << 1 << 0 << 4;
    QTest::newRow("filtro e fórmula") << "proprio.rpt" << filtrado << "{Pesagens.Tipo de pesagem} = 'G'" << 1 << 1 << 0 << 1;
    QTest::newRow("nada em comum") << "proprio.rpt" << filtrado << "{Pesagens.Tipo de pesagem} = 'P'" << 1 << 1
                                   << int(EstadoRelatorio::SemRegistos) << -1;

    const QByteArray cabecalho = "titulo = X\ntabela = Pesagens\n";
    const QList<std::pair<const char*, QByteArray>> invalidas = {
        {"binário", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11)},
        {"sem separador", cabecalho},
        {"chave desconhecida", cabecalho + "cor = azul\n---\n<p>{{titulo}}</p>\n"},
        {"tabela desconhecida", "tabela = Pessoas\n---\n<p>{{titulo}}</p>\n"},
        {"campo de ordem inexistente", cabecalho + "ordem = Foo\n---\n<p></p>\n"},
        {"peso que não é número", cabecalho + "pesos = Viatura\n---\n<p></p>\n"},
        {"etiqueta desconhecida", cabecalho + "---\n{{#registos}}<p>{{Peso liquido}}</p>{{/registos}}\n"},
        {"secção por fechar", cabecalho + "---\n{{#registos}}<p>{{Viatura}}</p>\n"},
        {"parte inexistente", cabecalho + "---\n{{> nao_existe}}\n"},
        {"valor sem escape", cabecalho + "---\n{{#registos}}{{{Viatura}}}{{/registos}}\n"},
        {"latin-1", cabecalho + "---\n<p>Pesagem anula\xE7\xE3o</p>\n"},
        {"filtro com campo inexistente", cabecalho + "filtro = {Pesagens.Foo} = 1\n---\n<p></p>\n"},
        {"grupo que não é texto", cabecalho + "grupo = Peso líquido\n---\n<p></p>\n"},
        {"só totais sem grupo", cabecalho + "detalhe = nao\n---\n<p></p>\n"},
        // Listings: their columns and texts.
        {"colunas em falta", cabecalho + "colunas = nao_ha\n---\n<p></p>\n"},
        {"coluna de campo inexistente", cabecalho + "colunas = campo\n---\n<p></p>\n"},
        {"colunas que passam a linha", cabecalho + "colunas = larga\n---\n<p></p>\n"},
        {"alinhamento desconhecido", cabecalho + "colunas = torta\n---\n<p></p>\n"},
        {"coluna sem largura", cabecalho + "colunas = magra\n---\n<p></p>\n"},
        {"total de grupo com outro valor", cabecalho + "grupo = Produto\ncolunas = boas\n"
                                                      "total_grupo = Total de {{Produto}}\n---\n<p></p>\n"},
        {"cabeçalho de listagem com um campo", cabecalho + "colunas = boas\n---\n<p>{{Viatura}}</p>\n"},
        {"grupo num documento", cabecalho + "grupo = Produto\n---\n<p></p>\n"},
        {"páginas numeradas num documento", cabecalho + "numerar_paginas = sim\n---\n<p></p>\n"},
        {"listagem de um registo por página", cabecalho + "colunas = boas\npagina_por_registo = sim\n---\n<p></p>\n"},
        {"só totais com colunas de campos", cabecalho + "grupo = Produto\ndetalhe = nao\ncolunas = boas\n---\n<p></p>\n"},
    };
    for (const auto& [nome, conteudo] : invalidas)
        QTest::newRow(nome) << "proprio.rpt" << conteudo << "{Pesagens.Pesagem} = 1" << 1 << 1 << invalida << -1;
}

void TesteImpressoraQt::pedidos()
{
    QFETCH(QString, ficheiro);
    QFETCH(QByteArray, definicao);
    QFETCH(QString, formula);
    QFETCH(int, destino);
    QFETCH(int, copias);
    QFETCH(int, estado);
    QFETCH(int, paginas);
    PedidoRelatorio p = MotorTeste::pedido(ficheiro, formula, destino, copias);
    if (!definicao.isEmpty()) {
        p.FicheiroRelatorio = t->caminho(ficheiro);
        escreverFicheiro(p.FicheiroRelatorio, definicao);
        QDir(t->pasta()).mkpath(QStringLiteral("partials"));
        const QList<std::pair<const char*, QByteArray>> colunas = {
            {"boas", "Viatura | Viatura | 50 | esquerda\nPeso líquido | Líquido | 50 | direita\n"},
            {"campo", "Viatura | Viatura | 50 | esquerda\nPeso liquido | Líquido | 50 | direita\n"},
            {"larga", "Viatura | Viatura | 60 | esquerda\nPeso líquido | Líquido | 50 | direita\n"},
            {"torta", "Viatura | Viatura | 50 | à esquerda\n"},
            {"magra", "Viatura | Viatura | 0 | esquerda\n"},
        };
        for (const auto& [nome, conteudo] : colunas)
            escreverFicheiro(t->caminho(QStringLiteral("partials/%1.colunas").arg(QLatin1String(nome))), conteudo);
    }
    QCOMPARE(r->motor->ExecutarRelatorio(p), estado);
    QCOMPARE(pdfs().size(), paginas < 0 ? 0 : 1);
    if (paginas >= 0)
        QCOMPARE(TextoPdf::paginas(r->saida.ultimoPdf()), paginas);
    QVERIFY(!r->saida.ultimaJanela());
}

void TesteImpressoraQt::nuncaSobrepoeUmPdf()
{
    // No mask: the modes the folder and the files are made with are the modes they have.
    const mode_t mascara = ::umask(0);
    const auto repor = qScopeGuard([mascara] { ::umask(mascara); });
    const PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("doc_seg_e.rpt"), QStringLiteral("{Pesagens.Pesagem} = 2"));
    QCOMPARE(r->motor->ExecutarRelatorio(p), 0);
    QCOMPARE(r->motor->ExecutarRelatorio(p), 0);
    QCOMPARE(r->motor->ExecutarRelatorio(p), 0);
    QCOMPARE(pdfs(), (QStringList{"doc_seg_e-20261205-143000-2.pdf", "doc_seg_e-20261205-143000-3.pdf",
                                  "doc_seg_e-20261205-143000.pdf"}));
    // The folder the first made, and each PDF, are open to whoever the process's mask lets in, as any new file.
    struct stat pasta{};
    QCOMPARE(::stat(QFile::encodeName(t->caminho(QStringLiteral("impressos"))).constData(), &pasta), 0);
    QCOMPARE(pasta.st_mode & 07777, mode_t(0777));
    for (const QString& pdf : pdfs()) {
        struct stat ficheiro{};
        QCOMPARE(::stat(QFile::encodeName(t->caminho(QStringLiteral("impressos/") + pdf)).constData(), &ficheiro), 0);
        QCOMPARE(ficheiro.st_mode & 07777, mode_t(0666));
    }
}

void TesteImpressoraQt::janelaNaoModal()
{
    PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("doc_pri.rpt"),
                               QStringLiteral("{Pesagens.Tipo de pesagem} = 'P' and {Pesagens.Pesagem} = 1"), 0);
    p.TituloJanela = QStringLiteral("Segunda via");
    p.EstadoJanela = 2;
    QCOMPARE(r->motor->ExecutarRelatorio(p), 0);
    QPrintPreviewDialog* janela = r->saida.ultimaJanela();
    QVERIFY(janela);
    QVERIFY(janela->isVisible());
    QVERIFY(!janela->isModal());
    QCOMPARE(janela->windowTitle(), QStringLiteral("Segunda via"));
    QVERIFY(janela->windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(janela->findChild<QPrintPreviewWidget*>()->pageCount(), 1);
    QVERIFY(pdfs().isEmpty());

    // An empty selection still shows its page, and copies do not matter.
    p.FormulaSeleccao = QStringLiteral("{Pesagens.Tipo de pesagem} = 'E' and {Pesagens.Pesagem} = 1");
    p.Copias = 0;
    p.EstadoJanela = 0;
    QCOMPARE(r->motor->ExecutarRelatorio(p), 0);
    QVERIFY(r->saida.ultimaJanela() != janela);
    QVERIFY(r->saida.ultimaJanela()->isVisible());
    QCOMPARE(r->saida.ultimaJanela()->windowState(), Qt::WindowNoState);
    delete janela;
}

// A document for the printer goes to the print system's queue whole, as a
// PDF of all its copies, only once it is made, handed over by the print
// thread while the station goes on (its timers keep firing): the request
// answers at once, and how it went comes later, within the stated wait. A
// queue that takes it prints it, and the log names the job; one that holds
// it (stopped, or holding its jobs) keeps it whole, and that is no failure.
// The queue is the one named for the user (LPDEST, PRINTER but "lp", the
// user's lpoptions), else the server's default. A print system that is
// there but fails (the queue refuses, is missing, or there is no default;
// the server dead with its socket left at the usual place, silent, or
// stopped) is a failed print told to whoever asked with its reason, never a
// PDF.
void TesteImpressoraQt::impressaoNaFila_data()
{
    QTest::addColumn<int>("fila");               // ServidorImpressao::Fila
    QTest::addColumn<bool>("porDefeito");        // the server has a default queue
    QTest::addColumn<int>("servidor");           // 0 up; 1 killed; 2 a socket that never answers; 3 stopped
    QTest::addColumn<QStringList>("ambiente");   // "NAME=value", or "lpoptions=…" for the user's lpoptions
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("aviso");   // "%1": the server's socket
    QTest::addColumn<QString>("diario");  // the log's line of the job, after its level; empty: none
    QTest::addColumn<int>("saida");       // 0 nowhere, 1 printed, 2 kept by the server
    const int falha = EstadoRelatorio::FalhaImpressao;
    const QString tomado = QStringLiteral("info: print job 1 taken by queue fila");
    const QString semOutra = QStringLiteral("5: 482 A impressora outra não aceitou o trabalho: a fila outra não existe");
    const QString semServidor = QStringLiteral("5: 482 Não foi possível imprimir: ");
    QTest::newRow("aceita") << 0 << true << 0 << QStringList() << 0 << "" << tomado << 1;
    QTest::newRow("recusa") << 1 << true << 0 << QStringList() << falha << "5: 482 " + Recusado << "" << 0;
    QTest::newRow("parada") << 2 << true << 0 << QStringList() << 0 << "" << "warning: print job 1 held by queue fila: the queue is stopped" << 2;
    QTest::newRow("retém") << 3 << true << 0 << QStringList() << 0 << "" << "warning: print job 1 held by queue fila: the job is held" << 2;
    QTest::newRow("PRINTER lp") << 0 << true << 0 << QStringList{"PRINTER=lp"} << 0 << "" << tomado << 1;
    QTest::newRow("LPDEST antes de PRINTER") << 0 << false << 0 << QStringList{"LPDEST=fila/rascunho", "PRINTER=outra"} << 0 << "" << tomado << 1;
    QTest::newRow("lpoptions") << 0 << false << 0 << QStringList{"lpoptions=Dest outra\nDefault fila opcao=1"} << 0 << "" << tomado << 1;
    QTest::newRow("PRINTER sem a fila") << 0 << true << 0 << QStringList{"PRINTER=outra"} << falha << semOutra << "" << 0;
    QTest::newRow("LPDEST sem a fila") << 0 << true << 0 << QStringList{"LPDEST=outra"} << falha << semOutra << "" << 0;
    QTest::newRow("lpoptions sem a fila") << 0 << true << 0 << QStringList{"lpoptions=Default outra"} << falha << semOutra << "" << 0;
    QTest::newRow("sem fila por defeito") << 0 << false << 0 << QStringList() << falha
                                          << semServidor + "o servidor de impressão %1 não tem fila por defeito" << "" << 0;
    QTest::newRow("servidor morto") << 0 << true << 1 << QStringList() << falha
                                    << semServidor + "não foi possível ligar ao servidor de impressão %1 (O servidor não está a funcionar [Connection refused])"
                                    << "" << 0;
    QTest::newRow("servidor calado") << 0 << true << 2 << QStringList() << falha
                                     << semServidor + "o servidor de impressão %1 não respondeu em 2 s" << "" << 0;
    QTest::newRow("servidor parado") << 0 << true << 3 << QStringList() << falha
                                     << semServidor + "o servidor de impressão %1 não respondeu em 2 s" << "" << 0;
}

void TesteImpressoraQt::impressaoNaFila()
{
    QFETCH(int, fila);
    QFETCH(bool, porDefeito);
    QFETCH(int, servidor);
    QFETCH(QStringList, ambiente);
    QFETCH(int, saida);
    ServidorImpressao cups(ServidorImpressao::Fila(fila), porDefeito);
    SERVIDOR_OU_SALTAR(cups)
    LugaresImpressao lugares = cups.lugares();
    // A server that takes the connection and never answers.
    QLocalServer calado;
    if (servidor == 1) {
        // Found where a local server's socket usually is.
        cups.matar();
        lugares = {};
        lugares.sockets = {cups.socket()};
    } else if (servidor == 2) {
        QVERIFY(calado.listen(t->caminho(QStringLiteral("calado.sock"))));
        lugares.ambiente[QStringLiteral("CUPS_SERVER")] = calado.fullServerName();
    } else if (servidor == 3) {
        cups.parar();
    }
    for (const QString& a : ambiente) {
        if (a.startsWith(QStringLiteral("lpoptions="))) {
            lugares.casa = t->caminho(QStringLiteral("casa"));
            QVERIFY(QDir().mkpath(lugares.casa + QStringLiteral("/.cups")));
            escreverFicheiro(lugares.casa + QStringLiteral("/.cups/lpoptions"), a.section(u'=', 1).toUtf8());
        } else {
            lugares.ambiente[a.section(u'=', 0, 0)] = a.section(u'=', 1);
        }
    }
    const QString socket = servidor == 2 ? calado.fullServerName() : cups.socket();
    r->saida.lugaresImpressao = lugares;
    r->saida.esperaImpressao = std::chrono::milliseconds(2000);
    // The log's line of the job must come.
    QLoggingCategory::setFilterRules({});
    const auto silencio = qScopeGuard([] { QLoggingCategory::setFilterRules(Silencio); });
    QFETCH(QString, diario);
    if (!diario.isEmpty())
        QTest::ignoreMessage(diario.startsWith(u'w') ? QtWarningMsg : QtInfoMsg, qPrintable(diario.section(QStringLiteral(": "), 1)));
    // The station's thread goes on meanwhile.
    int tiques = 0;
    QTimer relogio;
    connect(&relogio, &QTimer::timeout, this, [&] { ++tiques; });
    relogio.start(20);
    QObject quemPediu;
    QStringList avisos;
    QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
    QElapsedTimer espera;
    espera.start();
    QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("doc_seg_g.rpt"), Guia, DestinoRelatorio::Impressora, 2),
                                         anotar(quemPediu, avisos)),
             int(EstadoRelatorio::EmCurso));
    QVERIFY2(espera.elapsed() < 1500, qPrintable(QStringLiteral("the request took %1 ms").arg(espera.elapsed())));
    QVERIFY(fim.wait(10000));
    const qint64 ms = espera.elapsed();
    QTEST(fim.first().at(1).toInt(), "estado");
    QFETCH(QString, aviso);
    QCOMPARE(avisos, aviso.isEmpty() ? QStringList() : QStringList{QString(aviso).replace(QStringLiteral("%1"), socket)});
    // Within the wait, however silent the server; and the timer kept its rhythm all along.
    QVERIFY2(ms < 3000, qPrintable(QStringLiteral("answered after %1 ms").arg(ms)));
    QVERIFY2(tiques >= ms / 40, qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(tiques).arg(ms)));
    if (servidor >= 2)
        QVERIFY2(ms >= 1900, qPrintable(QStringLiteral("answered after %1 ms").arg(ms)));
    QVERIFY(pdfs().isEmpty());
    if (servidor != 0)
        return;
    // What reached the printer, or waits in the server, is the whole document: both copies.
    QString documento;
    if (saida == 1) {
        QTRY_COMPARE_WITH_TIMEOUT(cups.impressos(), QStringList{"trabalho-1.pdf"}, 10000);
        documento = cups.impresso(1);
    } else {
        QVERIFY(cups.impressos().isEmpty());
        QCOMPARE(cups.guardados(), saida == 2 ? QStringList{"d00001-001"} : QStringList());
        documento = cups.guardado(1);
    }
    if (saida != 0) {
        QCOMPARE(TextoPdf::paginas(documento), 2);
        QCOMPARE(TextoPdf::texto(documento).count(QStringLiteral("Guia de remessa")), 2);
    }
}

// Prints asked one after another reach the print server in the order they
// were asked, one at a time: no request of one while a request of another
// waits for its answer.
void TesteImpressoraQt::impressoesUmaDeCadaVez()
{
    ServidorImpressao cups;
    SERVIDOR_OU_SALTAR(cups)
    ProxyImpressao intermediario(cups.socket(), t->pasta());
    r->saida.lugaresImpressao.ambiente[QStringLiteral("CUPS_SERVER")] = intermediario.socket();
    QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
    const QStringList documentos = {"doc_seg_e.rpt", "doc_seg_g.rpt", "doc_seg_t.rpt"};
    for (int i = 0; i < documentos.size(); ++i)
        QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(documentos[i], QStringLiteral("{Pesagens.Pesagem} = %1").arg(i + 2))),
                 int(EstadoRelatorio::EmCurso));
    QTRY_COMPARE_WITH_TIMEOUT(fim.size(), 3, 20000);
    for (const QList<QVariant>& f : fim)
        QCOMPARE(f.at(1).toInt(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(cups.impressos().size(), 3, 10000);
    const QStringList titulos = {"Entrada de matéria prima", "Guia de remessa", "Talão de pesagem"};
    for (int i = 0; i < titulos.size(); ++i)
        QVERIFY2(TextoPdf::texto(cups.impresso(i + 1)).contains(titulos[i]), qPrintable(titulos[i]));
    QVERIFY(intermediario.ligacoes() >= 6);
    QCOMPARE(intermediario.sobrepostos(), 0);
}

// "Print" in a document's preview goes where every print goes, checked,
// never through the dialog's own printing (it would open the print
// system's dialog and hand over pages unchecked): to the queue, or to a new
// PDF in impressos without a printer. A print that fails says so in the
// station's error box, with its reason.
void TesteImpressoraQt::impressaoDaVisualizacao_data()
{
    QTest::addColumn<int>("fila");  // ServidorImpressao::Fila; -1: no printer
    QTest::addColumn<QStringList>("caixas");
    QTest::newRow("aceita") << 0 << QStringList();
    QTest::newRow("recusa") << 1 << QStringList{"Erro 482 48 O documento não foi impresso\n\n(" + Recusado + ")"};
    QTest::newRow("sem impressora") << -1 << QStringList();
}

void TesteImpressoraQt::impressaoDaVisualizacao()
{
    QFETCH(int, fila);
    std::optional<ServidorImpressao> servidor;
    if (fila >= 0) {
        servidor.emplace(ServidorImpressao::Fila(fila));
        SERVIDOR_OU_SALTAR(*servidor)
        r->imprimirEm(*servidor);
    }
    QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("doc_seg_g.rpt"), Guia, DestinoRelatorio::Janela)), 0);
    QPrintPreviewDialog* janela = r->saida.ultimaJanela();
    QVERIFY(janela);
    QAction* imprimir = nullptr;
    for (QAction* a : janela->findChildren<QAction*>())
        imprimir = a->text() == QStringLiteral("Print") ? a : imprimir;
    QVERIFY(imprimir);
    // The dialog's own printing would open a modal print dialog: it is closed and counted.
    bool dialogoProprio = false;
    QTimer vigia;
    connect(&vigia, &QTimer::timeout, this, [&] {
        dialogoProprio = dialogoProprio || QApplication::activeModalWidget();
        fecharJanelasModais();
    });
    vigia.start(0);
    imprimir->trigger();
    vigia.stop();
    QVERIFY(!dialogoProprio);
    QFETCH(QStringList, caixas);
    // A print's box comes when the print system answers.
    QTRY_COMPARE_WITH_TIMEOUT(t->mensagens.vistas(), caixas, 10000);
    if (fila < 0) {
        QCOMPARE(pdfs().size(), 1);
        QCOMPARE(TextoPdf::paginas(r->saida.ultimoPdf()), 1);
    } else if (fila == 0) {
        QTRY_COMPARE_WITH_TIMEOUT(servidor->impressos(), QStringList{"trabalho-1.pdf"}, 10000);
        QVERIFY(TextoPdf::texto(servidor->impresso(1)).contains(QStringLiteral("Guia de remessa")));
        QCOMPARE(t->mensagens.vistas(), caixas);
    } else {
        QVERIFY(servidor->impressos().isEmpty() && servidor->guardados().isEmpty());
    }
    QVERIFY(fila < 0 || pdfs().isEmpty());
}

// Where the station finds its print system, without a word on the network:
// the server named by CUPS_SERVER, else by the ServerName of the user's
// client.conf, else of the system's; else a local server whose socket is at
// a usual place (even with nobody behind it); else none, and only then do
// prints become PDFs. The queue named for the user comes from LPDEST, else
// PRINTER but "lp", else the Default of the user's lpoptions, else of the
// system's.
void TesteImpressoraQt::ondeEstaOSistema_data()
{
    QTest::addColumn<QStringList>("lugares");  // "NAME=value" of the environment; "casa/…" or "raiz/…" files as "path=text"; "socket" at a usual place
    QTest::addColumn<QString>("servidor");     // ServidorCups::nome(), "%1" the test's folder; empty: none
    QTest::addColumn<int>("cifra");            // http_encryption_t
    QTest::addColumn<QString>("fila");
    const QString proprio = QStringLiteral("casa/.cups/client.conf=");
    const QString sistema = QStringLiteral("raiz/client.conf=");
    QTest::newRow("nada") << QStringList() << "" << 0 << "";
    QTest::newRow("só a raiz, sem ServerName") << QStringList{sistema + "# nada\nEncryption Never"} << "" << 0 << "";
    QTest::newRow("socket num lugar habitual") << QStringList{"socket"} << "%1/cups.sock" << 1 << "";
    QTest::newRow("CUPS_SERVER") << QStringList{"CUPS_SERVER=impressoras.local", proprio + "ServerName outro"}
                                 << "impressoras.local:631" << 0 << "";
    QTest::newRow("CUPS_SERVER com porto") << QStringList{"CUPS_SERVER=impressoras:8631/version=1.1"} << "impressoras:8631" << 0 << "";
    QTest::newRow("CUPS_SERVER IPv6") << QStringList{"CUPS_SERVER=[::1]:632", "IPP_PORT=700"} << "::1:632" << 0 << "";
    QTest::newRow("IPP_PORT") << QStringList{"CUPS_SERVER=impressoras", "IPP_PORT=700"} << "impressoras:700" << 0 << "";
    QTest::newRow("socket por CUPS_SERVER") << QStringList{"CUPS_SERVER=/algures/cups.sock", "socket"} << "/algures/cups.sock" << 1 << "";
    QTest::newRow("client.conf do utilizador") << QStringList{proprio + "# o servidor\nservername  impressoras\nEncryption Required", sistema + "ServerName outro", "socket"}
                                               << "impressoras:631" << 2 << "";
    QTest::newRow("client.conf do sistema") << QStringList{proprio + "Encryption Always", sistema + "ServerName outro:9631\nEncryption Never"}
                                            << "outro:9631" << 3 << "";
    QTest::newRow("CUPS_ENCRYPTION") << QStringList{"CUPS_SERVER=impressoras", "CUPS_ENCRYPTION=Never", proprio + "Encryption Always"}
                                     << "impressoras:631" << 1 << "";
    QTest::newRow("LPDEST") << QStringList{"LPDEST=a/rascunho", "PRINTER=b", "casa/.cups/lpoptions=Default c"} << "" << 0 << "a";
    QTest::newRow("PRINTER") << QStringList{"PRINTER=b", "casa/.cups/lpoptions=Default c"} << "" << 0 << "b";
    QTest::newRow("PRINTER lp") << QStringList{"PRINTER=lp", "raiz/lpoptions=Default d"} << "" << 0 << "d";
    QTest::newRow("lpoptions do utilizador") << QStringList{"casa/.cups/lpoptions=Dest x\nDefault c/inst opcao=1", "raiz/lpoptions=Default d"}
                                             << "" << 0 << "c";
    QTest::newRow("lpoptions do sistema") << QStringList{"casa/.cups/lpoptions=Dest x", "raiz/lpoptions=Default d"} << "" << 0 << "d";
}

void TesteImpressoraQt::ondeEstaOSistema()
{
    QFETCH(QStringList, lugares);
    const QString pasta = t->caminho(QStringLiteral("maquina"));
    LugaresImpressao l;
    l.casa = pasta + QStringLiteral("/casa");
    l.raizServidor = pasta + QStringLiteral("/raiz");
    // A usual place, with a socket there or not.
    l.sockets = {pasta + QStringLiteral("/nada.sock"), pasta + QStringLiteral("/cups.sock")};
    QLocalServer local;
    QVERIFY(QDir().mkpath(pasta));
    for (const QString& lugar : lugares) {
        if (lugar == u"socket") {
            QVERIFY(local.listen(pasta + QStringLiteral("/cups.sock")));
        } else if (lugar.startsWith(QStringLiteral("casa/")) || lugar.startsWith(QStringLiteral("raiz/"))) {
            const QString ficheiro = pasta + u'/' + lugar.section(u'=', 0, 0);
            QVERIFY(QDir().mkpath(QFileInfo(ficheiro).path()));
            escreverFicheiro(ficheiro, lugar.section(u'=', 1).toUtf8());
        } else {
            l.ambiente.insert(lugar.section(u'=', 0, 0), lugar.section(u'=', 1));
        }
    }
    // A file of the same name as the socket's is no socket.
    escreverFicheiro(pasta + QStringLiteral("/nada.sock"), "");
    const std::optional<ServidorCups> encontrado = l.servidor();
    QFETCH(QString, servidor);
    QCOMPARE(encontrado ? encontrado->nome() : QString(), QString(servidor).replace(QStringLiteral("%1"), pasta));
    QTEST(encontrado ? encontrado->cifra : 0, "cifra");
    QTEST(l.filaNomeada(), "fila");
}

// A PDF takes its name only while it is free: a file put at that name while
// the PDF was being written (by hand, or by another station sharing the
// folder) is kept as it was, and the PDF takes the next free name, with or
// without nameless files. Nothing else is left in the folder; a PDF
// abandoned leaves nothing.
void TesteImpressoraQt::pdfNuncaSubstitui_data()
{
    QTest::addColumn<bool>("semNome");       // the file system has nameless files
    QTest::addColumn<int>("numero");         // the name it was promised
    QTest::addColumn<QStringList>("outros"); // files that appear while it is written
    QTest::addColumn<QString>("nome");       // the name it takes; empty: abandoned
    for (const bool semNome : {true, false}) {
        const char* como = semNome ? "sem nome" : "com nome provisório";
        QTest::addRow("%s, livre", como) << semNome << 1 << QStringList() << "x.pdf";
        QTest::addRow("%s, tomado", como) << semNome << 1 << QStringList{"x.pdf"} << "x-2.pdf";
        QTest::addRow("%s, dois tomados", como) << semNome << 1 << QStringList{"x.pdf", "x-2.pdf"} << "x-3.pdf";
        QTest::addRow("%s, o segundo tomado", como) << semNome << 2 << QStringList{"x-2.pdf"} << "x-3.pdf";
        QTest::addRow("%s, abandonado", como) << semNome << 1 << QStringList{"x.pdf"} << "";
    }
}

void TesteImpressoraQt::pdfNuncaSubstitui()
{
    QFETCH(bool, semNome);
    QFETCH(int, numero);
    QFETCH(QStringList, outros);
    QFETCH(QString, nome);
    Descritores::ficheirosSemNome = semNome;
    const auto repor = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
    const QString pasta = t->caminho(QStringLiteral("impressos"));
    const QDir d(pasta);
    {
        FicheiroPdf pdf(d.filePath(QStringLiteral("x")), numero);
        QVERIFY(pdf.abrir());
        QCOMPARE(pdf.write("%PDF-1.4 nosso"), 14);
        // Written meanwhile, where nobody had it.
        for (const QString& o : outros)
            escreverFicheiro(d.filePath(o), "de outro: " + o.toUtf8());
        if (nome.isEmpty()) {
            pdf.desistir();
            QVERIFY(!pdf.concluir() && pdf.caminho().isEmpty());
        } else {
            QVERIFY(pdf.concluir());
            QCOMPARE(pdf.caminho(), d.filePath(nome));
        }
        QVERIFY(pdf.falha().isEmpty());
    }
    for (const QString& o : outros)
        QCOMPARE(lerFicheiro(d.filePath(o)), "de outro: " + o.toUtf8());
    QStringList esperados = outros;
    if (!nome.isEmpty()) {
        QCOMPARE(lerFicheiro(d.filePath(nome)), QByteArray("%PDF-1.4 nosso"));
        esperados << nome;
    }
    esperados.sort();
    QCOMPARE(d.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name), esperados);
}

// The station's own file of a print has no name, ever, in the temporary
// folder (with nameless files or without): a kill leaves nothing; it is read
// back whole, and nobody else may read it.
void TesteImpressoraQt::ficheiroDaImpressaoSemNome_data()
{
    QTest::addColumn<bool>("semNome");
    QTest::newRow("sem nome") << true;
    QTest::newRow("sem ficheiros sem nome") << false;
}

void TesteImpressoraQt::ficheiroDaImpressaoSemNome()
{
    QFETCH(bool, semNome);
    Descritores::ficheirosSemNome = semNome;
    const auto repor = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
    const QString pasta = t->caminho(QStringLiteral("temporaria"));
    QVERIFY(QDir().mkpath(pasta));
    const auto ficheiro = FicheiroPdf::daImpressao(pasta);
    QVERIFY(ficheiro->abrir());
    const QByteArray texto(300000, 'p');
    QCOMPARE(ficheiro->write(texto), texto.size());
    QVERIFY(QDir(pasta).isEmpty());
    QVERIFY(ficheiro->concluir());
    QVERIFY(QDir(pasta).isEmpty() && ficheiro->caminho().isEmpty());
    // The station's alone: a print holds the weighings' data.
    struct stat st{};
    QCOMPARE(::fstat(ficheiro->descritor(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0600));
    QByteArray lido(texto.size() + 1, '\0');
    QCOMPARE(::pread(ficheiro->descritor(), lido.data(), size_t(lido.size()), 0), ssize_t(texto.size()));
    QCOMPARE(lido.left(texto.size()), texto);
}

// A document whose file cannot be written whole (its disk full: the PDF's
// folder, or the temporary folder where a print is prepared) is no
// document: the run says which file and why, leaves nothing, and nothing
// of it reaches the print system.
void TesteImpressoraQt::documentoNumDiscoCheio_data()
{
    QTest::addColumn<bool>("impressora");
    QTest::newRow("PDF") << false;
    QTest::newRow("impressora") << true;
}

void TesteImpressoraQt::documentoNumDiscoCheio()
{
    QFETCH(bool, impressora);
    DiscoPequeno disco;
    if (!disco.ok())
        QSKIP("a small file system of its own needs root");
    std::optional<ServidorImpressao> servidor;
    const QByteArray temporaria = qgetenv("TMPDIR");
    const auto repor = qScopeGuard([&] { qputenv("TMPDIR", temporaria); });
    if (impressora) {
        SERVIDOR_OU_SALTAR(servidor.emplace())
        r->imprimirEm(*servidor);
        qputenv("TMPDIR", QFile::encodeName(disco.pasta()));
    } else {
        QVERIFY(QFile::link(disco.pasta(), t->caminho(QStringLiteral("impressos"))));
    }
    disco.encher();
    QObject quemPediu;
    QStringList avisos;
    QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("doc_seg_g.rpt"), Guia, DestinoRelatorio::Impressora, 2),
                                         anotar(quemPediu, avisos)),
             int(EstadoRelatorio::FalhaImpressao));
    const QString ficheiro = impressora ? QStringLiteral("temporário da impressão, na pasta ") + disco.pasta()
                                        : t->caminho(QStringLiteral("impressos/doc_seg_g-20261205-143000.pdf"));
    QCOMPARE(avisos, QStringList{QStringLiteral("5: 482 Não foi possível escrever o ficheiro %1: Não há espaço livre no disco "
                                                "[No space left on device]").arg(ficheiro)});
    QCOMPARE(QDir(disco.pasta()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"enchimento"});
    QVERIFY(r->saida.ultimoPdf().isEmpty());
    QVERIFY(!servidor || (servidor->impressos().isEmpty() && servidor->guardados().isEmpty()));
}

// Handing a print to a server that hangs up in the middle fails the write,
// and the program goes on: the signal such a write raises is taken, and
// the thread's signals are as they were (one pending before stays pending).
void TesteImpressoraQt::servidorQueDesliga_data()
{
    QTest::addColumn<bool>("pendenteAntes");
    QTest::newRow("nenhum sinal antes") << false;
    QTest::newRow("um sinal pendente antes") << true;
}

void TesteImpressoraQt::servidorQueDesliga()
{
    QFETCH(bool, pendenteAntes);
    sigset_t pipe, antes;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_SETMASK, nullptr, &antes);
    const auto repor = qScopeGuard([&] {
        const timespec nada{};
        while (sigtimedwait(&pipe, nullptr, &nada) == SIGPIPE) {
        }
        pthread_sigmask(SIG_SETMASK, &antes, nullptr);
    });
    if (pendenteAntes) {
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        pthread_kill(pthread_self(), SIGPIPE);
    }
    int par[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, par), 0);
    ::close(par[1]);
    {
        const SemSinalPipe semSinal;
        errno = 0;
        QCOMPARE(::write(par[0], "x", 1), ssize_t(-1));
        QCOMPARE(errno, EPIPE);
    }
    ::close(par[0]);
    // Without it, the signal would end the test here, once unblocked.
    sigset_t pendentes, agora;
    sigpending(&pendentes);
    pthread_sigmask(SIG_SETMASK, nullptr, &agora);
    QCOMPARE(sigismember(&pendentes, SIGPIPE) == 1, pendenteAntes);
    QCOMPARE(sigismember(&agora, SIGPIPE) == 1, pendenteAntes);
}

QTEST_MAIN(TesteImpressoraQt)
#include "tst_ImpressoraQt.moc"
