#include "reporting/ComposicaoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "platform/gui/ImpressoraQt.h"
#include "reporting/MotorRelatorios.h"
#include "data/Consulta.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

namespace {

const QString PastaRelatorios = QStringLiteral(ZUMAREL_RELATORIOS);

QString correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    // Compatibility forms: the weights' no-break spaces read as plain ones, "ﬁ" as "fi".
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

int paginasPdf(const QString& pdf)
{
    const QString info = correr(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& linha : info.split(u'\n')) {
        if (linha.startsWith(QStringLiteral("Pages:")))
            return linha.mid(6).trimmed().toInt();
    }
    return -1;
}

}  // namespace

// The report printer on a real database, writing real PDF files: the machine's
// printers are never used.
class TesteImpressoraQt : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<ImpressoraQt> saida;
    std::unique_ptr<MotorRelatorios> impressora;

    PedidoRelatorio pedido(const QString& ficheiro, const QString& formula, int destino = 1, int copias = 1)
    {
        PedidoRelatorio p;
        p.FicheiroRelatorio = QDir(PastaRelatorios).filePath(ficheiro);
        p.FormulaSeleccao = formula;
        p.Destino = destino;
        p.Copias = qint16(copias);
        return p;
    }

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
    void copiasRepetemAsPaginas_data();
    void copiasRepetemAsPaginas();
    void variasLinhasUmaPaginaCada();
    void semRegistosNadaImprime();
    void pedidosRecusados_data();
    void pedidosRecusados();
    void definicoesInvalidas_data();
    void definicoesInvalidas();
    void filtroDaDefinicaoJuntaSeAFormula_data();
    void filtroDaDefinicaoJuntaSeAFormula();
    void nuncaSobrepoeUmPdf();
    void janelaNaoModal();
    void pesosAgrupados_data();
    void pesosAgrupados();
};

void TesteImpressoraQt::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
    // The refusals below are logged by design; their statuses are what is checked.
    QLoggingCategory::setFilterRules(QStringLiteral("zumarel.impressora.warning=false"));
}

void TesteImpressoraQt::init()
{
    t = std::make_unique<EstacaoTeste>();
    t->abrirBaseDados();
    saida = std::make_unique<ImpressoraQt>(t->relogio);
    saida->impressoraPorDefeito = [] { return QPrinterInfo(); };  // no printer: PDF files
    impressora = std::make_unique<MotorRelatorios>([this] { return t->estacao->bd(); }, t->relogio, *saida);
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
    if (saida && saida->ultimaJanela())
        delete saida->ultimaJanela();
    impressora.reset();
    saida.reset();
    t.reset();
}

void TesteImpressoraQt::definicoesDaEstacaoValidas()
{
    const QStringList esperadas = {"doc_anu.rpt", "doc_pri.rpt", "doc_seg_e.rpt", "doc_seg_g.rpt", "doc_seg_t.rpt",
                                   "doc_sgv_e.rpt", "doc_sgv_g.rpt", "doc_sgv_t.rpt"};
    const QStringList presentes = QDir(PastaRelatorios).entryList({QStringLiteral("*.rpt")}, QDir::Files, QDir::Name);
    for (const QString& nome : esperadas)
        QVERIFY2(presentes.contains(nome), qPrintable(nome));
    for (const QString& nome : presentes) {
        QString motivo;
        const auto d = DefinicaoRelatorio::carregar(QDir(PastaRelatorios).filePath(nome), nullptr, &motivo);
        QVERIFY2(d, qPrintable(nome + QStringLiteral(": ") + motivo));
        if (!nome.startsWith(QStringLiteral("doc_")))
            continue;  // the table editor's listings
        QCOMPARE(d->tabela, QStringLiteral("Pesagens"));
        QCOMPARE(d->paginaPorRegisto, nome.startsWith(QStringLiteral("doc_")));
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
                              << QStringList{"Peso líquido", "2.ª pesagem"};
    QTest::newRow("entrada") << "doc_seg_e.rpt" << 2 << comuns + segunda + QStringList{"Entrada de matéria prima", "N.º 7"}
                             << QStringList{"2.ª VIA"};
    QTest::newRow("guia") << "doc_seg_g.rpt" << 3 << comuns + segunda + QStringList{"Guia de remessa", "N.º 42"}
                          << QStringList{"2.ª VIA"};
    QTest::newRow("talão automático") << "doc_seg_t.rpt" << 4
                                      << comuns + QStringList{"Talão de pesagem", "13 750 kg", "A2", "1 250 kg"}
                                      << QStringList{"2.ª VIA"};
    QTest::newRow("2ª via entrada") << "doc_sgv_e.rpt" << 2 << comuns + segunda + QStringList{"Entrada de matéria prima", "2.ª VIA"}
                                    << QStringList{};
    QTest::newRow("2ª via guia") << "doc_sgv_g.rpt" << 3 << comuns + segunda + QStringList{"Guia de remessa", "2.ª VIA"}
                                 << QStringList{};
    QTest::newRow("2ª via talão") << "doc_sgv_t.rpt" << 4 << comuns + QStringList{"Talão de pesagem", "2.ª VIA"}
                                  << QStringList{};
    QTest::newRow("anulada") << "doc_anu.rpt" << 5 << comuns + QStringList{"Pesagem anulada", "ANULADA", "N.º 9", "0 kg"}
                             << QStringList{};
}

void TesteImpressoraQt::documentoEmPdf()
{
    QFETCH(QString, ficheiro);
    QFETCH(int, pesagem);
    QFETCH(QStringList, textos);
    QFETCH(QStringList, ausentes);

    const int estado =
        impressora->ExecutarRelatorio(pedido(ficheiro, QStringLiteral("{Pesagens.Pesagem} = %1").arg(pesagem)));
    QCOMPARE(estado, 0);
    QCOMPARE(pdfs().size(), 1);
    const QString pdf = saida->ultimoPdf();
    QCOMPARE(QFileInfo(pdf).absolutePath(), QFileInfo(t->caminho(QStringLiteral("impressos"))).absoluteFilePath());
    QVERIFY(QFileInfo(pdf).fileName().startsWith(QFileInfo(ficheiro).completeBaseName() + QStringLiteral("-20261205-143000")));
    QCOMPARE(paginasPdf(pdf), 1);
    // Layout blanks between label and value count as one.
    const QString texto = correr(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}).simplified();
    for (const QString& esperado : textos) {
        QVERIFY2(texto.contains(esperado.normalized(QString::NormalizationForm_KC)),
                 qPrintable(esperado + QStringLiteral(" not in:\n") + texto));
    }
    for (const QString& ausente : ausentes)
        QVERIFY2(!texto.contains(ausente.normalized(QString::NormalizationForm_KC)), qPrintable(ausente));
}

void TesteImpressoraQt::copiasRepetemAsPaginas_data()
{
    QTest::addColumn<int>("copias");
    QTest::addColumn<int>("paginas");  // -1: no file
    QTest::newRow("2 cópias") << 2 << 2;
    QTest::newRow("3 cópias") << 3 << 3;
    QTest::newRow("0 cópias") << 0 << -1;
    QTest::newRow("-1 cópias") << -1 << -1;
}

void TesteImpressoraQt::copiasRepetemAsPaginas()
{
    QFETCH(int, copias);
    QFETCH(int, paginas);
    const int estado =
        impressora->ExecutarRelatorio(pedido(QStringLiteral("doc_seg_g.rpt"), QStringLiteral("{Pesagens.Pesagem} = 3"), 1, copias));
    QCOMPARE(estado, 0);
    if (paginas < 0) {
        QVERIFY(pdfs().isEmpty());
        return;
    }
    QCOMPARE(pdfs().size(), 1);
    QCOMPARE(paginasPdf(saida->ultimoPdf()), paginas);
    const QString texto = correr(QStringLiteral("pdftotext"), {saida->ultimoPdf(), QStringLiteral("-")});
    QCOMPARE(texto.count(QStringLiteral("Guia de remessa")), paginas);
}

void TesteImpressoraQt::variasLinhasUmaPaginaCada()
{
    // Two documents share kind 'A' and number 9... and one formula picks both.
    Consulta::executar(t->estacao->bd(),
                       QStringLiteral("UPDATE Pesagens SET \"Tipo de pesagem\" = 'A', \"Número de pesagem\" = 9 "
                                      "WHERE Pesagem = 2"));
    const int estado = impressora->ExecutarRelatorio(
        pedido(QStringLiteral("doc_anu.rpt"), QStringLiteral("{Pesagens.Tipo de pesagem} = 'A' and {Pesagens.Número de pesagem} = 9"), 1, 2));
    QCOMPARE(estado, 0);
    QCOMPARE(paginasPdf(saida->ultimoPdf()), 4);
}

void TesteImpressoraQt::semRegistosNadaImprime()
{
    const int estado =
        impressora->ExecutarRelatorio(pedido(QStringLiteral("doc_pri.rpt"), QStringLiteral("{Pesagens.Pesagem} = 57")));
    QCOMPARE(estado, EstadoRelatorio::SemRegistos);
    QVERIFY(pdfs().isEmpty());
}

void TesteImpressoraQt::pedidosRecusados_data()
{
    QTest::addColumn<QString>("ficheiro");
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("destino");
    QTest::addColumn<int>("estado");
    QTest::newRow("definição em falta") << "nao_existe.rpt" << "" << 1 << int(EstadoRelatorio::DefinicaoEmFalta);
    QTest::newRow("fórmula de outra tabela") << "doc_pri.rpt" << "{Viaturas.Viatura}='x'" << 1
                                             << int(EstadoRelatorio::FormulaRecusada);
    QTest::newRow("fórmula com texto a mais") << "doc_pri.rpt" << "{Pesagens.Pesagem} = 1 or 1=1" << 0
                                              << int(EstadoRelatorio::FormulaRecusada);
    QTest::newRow("destino 2") << "doc_pri.rpt" << "{Pesagens.Pesagem} = 1" << 2 << int(EstadoRelatorio::DestinoDesconhecido);
}

void TesteImpressoraQt::pedidosRecusados()
{
    QFETCH(QString, ficheiro);
    QFETCH(QString, formula);
    QFETCH(int, destino);
    QFETCH(int, estado);
    QCOMPARE(impressora->ExecutarRelatorio(pedido(ficheiro, formula, destino)), estado);
    QVERIFY(pdfs().isEmpty());
    QVERIFY(!saida->ultimaJanela());
}

void TesteImpressoraQt::definicoesInvalidas_data()
{
    QTest::addColumn<QByteArray>("conteudo");
    const QByteArray cabecalho = "titulo = X\ntabela = Pesagens\n";
    QTest::newRow("binário") << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0\0", 11);
    QTest::newRow("sem separador") << cabecalho;
    QTest::newRow("chave desconhecida") << cabecalho + "cor = azul\n---\n<p>{{titulo}}</p>\n";
    QTest::newRow("tabela desconhecida") << QByteArray("tabela = Pessoas\n---\n<p>{{titulo}}</p>\n");
    QTest::newRow("campo de ordem inexistente") << cabecalho + "ordem = Foo\n---\n<p></p>\n";
    QTest::newRow("peso que não é número") << cabecalho + "pesos = Viatura\n---\n<p></p>\n";
    QTest::newRow("etiqueta desconhecida") << cabecalho + "---\n{{#registos}}<p>{{Peso liquido}}</p>{{/registos}}\n";
    QTest::newRow("secção por fechar") << cabecalho + "---\n{{#registos}}<p>{{Viatura}}</p>\n";
    QTest::newRow("parte inexistente") << cabecalho + "---\n{{> nao_existe}}\n";
    QTest::newRow("valor sem escape") << cabecalho + "---\n{{#registos}}{{{Viatura}}}{{/registos}}\n";
    QTest::newRow("latin-1") << cabecalho + "---\n<p>Pesagem anula\xE7\xE3o</p>\n";
    QTest::newRow("filtro com campo inexistente") << cabecalho + "filtro = {Pesagens.Foo} = 1\n---\n<p></p>\n";
    QTest::newRow("grupo que não é texto") << cabecalho + "grupo = Peso líquido\n---\n<p></p>\n";
    QTest::newRow("só totais sem grupo") << cabecalho + "detalhe = nao\n---\n<p></p>\n";
}

void TesteImpressoraQt::definicoesInvalidas()
{
    QFETCH(QByteArray, conteudo);
    const QString caminho = t->caminho(QStringLiteral("estranho.rpt"));
    escreverFicheiro(caminho, conteudo);
    PedidoRelatorio p = pedido(QString(), QStringLiteral("{Pesagens.Pesagem} = 1"));
    p.FicheiroRelatorio = caminho;
    QCOMPARE(impressora->ExecutarRelatorio(p), int(EstadoRelatorio::DefinicaoInvalida));
    QVERIFY(pdfs().isEmpty());
}

void TesteImpressoraQt::filtroDaDefinicaoJuntaSeAFormula_data()
{
    QTest::addColumn<QString>("formula");
    QTest::addColumn<int>("paginas");  // -1: nothing printed
    // Rows 2 to 5 are of "Quinta D'Ouro", row 1 is the only 'P'.
    QTest::newRow("só o filtro") << "" << 4;
    QTest::newRow("filtro e fórmula") << "{Pesagens.Tipo de pesagem} = 'G'" << 1;
    QTest::newRow("nada em comum") << "{Pesagens.Tipo de pesagem} = 'P'" << -1;
}

void TesteImpressoraQt::filtroDaDefinicaoJuntaSeAFormula()
{
    QFETCH(QString, formula);
    QFETCH(int, paginas);
    const QString caminho = t->caminho(QStringLiteral("filtrado.rpt"));
    escreverFicheiro(caminho, "tabela = Pesagens\nfiltro = {Pesagens.Entidade} = 'Quinta D''Ouro'\n"
                              "pagina_por_registo = sim\n---\n"
                              "{{#registos}}<div{{^primeiro}} style=\"page-break-before: always;\"{{/primeiro}}>"
                              "<p>{{Pesagem}}</p></div>{{/registos}}\n");
    PedidoRelatorio p = pedido(QString(), formula);
    p.FicheiroRelatorio = caminho;
    const int estado = impressora->ExecutarRelatorio(p);
    if (paginas < 0) {
        QCOMPARE(estado, int(EstadoRelatorio::SemRegistos));
        QVERIFY(pdfs().isEmpty());
        return;
    }
    QCOMPARE(estado, 0);
    QCOMPARE(paginasPdf(saida->ultimoPdf()), paginas);
}

void TesteImpressoraQt::nuncaSobrepoeUmPdf()
{
    const PedidoRelatorio p = pedido(QStringLiteral("doc_seg_e.rpt"), QStringLiteral("{Pesagens.Pesagem} = 2"));
    QCOMPARE(impressora->ExecutarRelatorio(p), 0);
    QCOMPARE(impressora->ExecutarRelatorio(p), 0);
    QCOMPARE(impressora->ExecutarRelatorio(p), 0);
    QCOMPARE(pdfs(), (QStringList{"doc_seg_e-20261205-143000-2.pdf", "doc_seg_e-20261205-143000-3.pdf",
                                  "doc_seg_e-20261205-143000.pdf"}));
}

void TesteImpressoraQt::janelaNaoModal()
{
    PedidoRelatorio p = pedido(QStringLiteral("doc_pri.rpt"),
                               QStringLiteral("{Pesagens.Tipo de pesagem} = 'P' and {Pesagens.Pesagem} = 1"), 0);
    p.TituloJanela = QStringLiteral("Segunda via");
    p.EstadoJanela = 2;
    QCOMPARE(impressora->ExecutarRelatorio(p), 0);
    QPrintPreviewDialog* janela = saida->ultimaJanela();
    QVERIFY(janela);
    QVERIFY(janela->isVisible());
    QVERIFY(!janela->isModal());
    QCOMPARE(janela->windowTitle(), QStringLiteral("Segunda via"));
    QVERIFY(janela->windowState().testFlag(Qt::WindowMaximized));
    QVERIFY(pdfs().isEmpty());

    // An empty selection still shows its page, and copies do not matter.
    p.FormulaSeleccao = QStringLiteral("{Pesagens.Tipo de pesagem} = 'E' and {Pesagens.Pesagem} = 1");
    p.Copias = 0;
    p.EstadoJanela = 0;
    QCOMPARE(impressora->ExecutarRelatorio(p), 0);
    QVERIFY(saida->ultimaJanela() != janela);
    QVERIFY(saida->ultimaJanela()->isVisible());
    delete janela;
}

void TesteImpressoraQt::pesosAgrupados_data()
{
    QTest::addColumn<qint64>("quilos");
    QTest::addColumn<QString>("texto");
    QTest::newRow("0") << qint64(0) << "0 kg";
    QTest::newRow("950") << qint64(950) << "950 kg";
    QTest::newRow("1250") << qint64(1250) << "1 250 kg";
    QTest::newRow("12500") << qint64(12500) << "12 500 kg";
    QTest::newRow("999999") << qint64(999999) << "999 999 kg";
    QTest::newRow("1000000") << qint64(1000000) << "1 000 000 kg";
    QTest::newRow("-3400") << qint64(-3400) << "-3 400 kg";
}

void TesteImpressoraQt::pesosAgrupados()
{
    QFETCH(qint64, quilos);
    QFETCH(QString, texto);
    QCOMPARE(textoPeso(quilos), QString(texto).replace(u' ', QChar(0x00A0)));
}

QTEST_MAIN(TesteImpressoraQt)
#include "tst_ImpressoraQt.moc"
