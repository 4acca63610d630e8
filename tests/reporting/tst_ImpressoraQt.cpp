#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "data/Consulta.h"
#include "support/AvisosAnotados.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/JanelaModal.h"
#include "support/MotorTeste.h"
#include "support/ServidorImpressao.h"
#include "support/TextoPdf.h"
#include "ImpressaoTeste.h"

#include <QAction>
#include <QDir>
#include <QLoggingCategory>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QtTest>
#include <sys/stat.h>

namespace {

const QString PastaRelatorios = QStringLiteral(ZUMAREL_RELATORIOS);

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
    void impressaoDaVisualizacao_data();
    void impressaoDaVisualizacao();
    void documentoNumDiscoCheio_data();
    void documentoNumDiscoCheio();
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
    semearDocumentos(t->estacao->bd());
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
    QTest::newRow("recusa") << 1 << QStringList{"Erro 482 48 O documento não foi impresso\n\n(" + RecusaFila + ")"};
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

QTEST_MAIN(TesteImpressoraQt)
#include "tst_ImpressoraQt.moc"
