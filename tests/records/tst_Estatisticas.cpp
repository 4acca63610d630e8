#include "SementeMapas.h"
#include "platform/gui/ImpressoraQt.h"
#include "records/Estatisticas.h"
#include "records/LogicaMapas.h"
#include "reporting/FormulaSeleccao.h"
#include "reporting/MotorRelatorios.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QLoggingCategory>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace Estatisticas;

namespace {

using Marcas = std::array<bool, 2>;
const Caixas Janeiro = {"01", "01", "2026", "31", "01", "2026"};
const QString PeriodoJaneiro = QStringLiteral("{Pesagens.Data de saída} in Date (2026, 01, 01) to Date (2026, 01, 31)");

// The party clauses exactly as the station writes them.
const QList<std::pair<QString, QString>> Clausulas = {
    {"Estatísticas por viatura", " and {Pesagens.Viatura} = '"},
    {"Estatísticas por cliente ou fornecedor", " and {Pesagens.Entidade} = '"},
    {"Estatísticas por transportador", " and {Pesagens.Transportador}='"},
    {"Estatísticas por produto", " and {Pesagens.Produto}='"},
    {"Estatísticas por local de carga", " and {Pesagens.Local de carga}='"},
    {"Estatísticas por local de descarga", " and {Pesagens.Local de descarga}='"},
    {"Estatísticas por operador", " and {Pesagens.Operador}='"},
    {"Pesagens", ""}};

QString correr(const QString& programa, const QStringList& argumentos)
{
    QProcess p;
    p.start(programa, argumentos);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

}  // namespace

class TesteEstatisticas : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<LogicaMapas> logica;

    void abrir(const QString& titulo, int opcao = -1, const Caixas& caixas = Janeiro)
    {
        preparar();
        t->estacao->Acesso.TituloMapa = titulo;
        logica = std::make_unique<LogicaMapas>(*t->estacao);
        logica->Form_Load();
        logica->txt = caixas;
        logica->opcao = opcao;
    }

    // The report of the window's current choices, printed to a PDF and read
    // back; or previewed, giving the preview's title.
    QString imprimir(int botao = 1)
    {
        ImpressoraQt saida(t->relogio);
        saida.impressoraPorDefeito = [] { return QPrinterInfo(); };
        MotorRelatorios motor([this] { return t->estacao->bd(); }, t->relogio, saida);
        t->estacao->impressora = &motor;
        logica->cmd_Click(botao);
        t->estacao->impressora = &t->impressora;
        if (botao == 0) {
            std::unique_ptr<QPrintPreviewDialog> janela(saida.ultimaJanela());
            return janela && janela->isMaximized() ? janela->windowTitle() : QString();
        }
        if (saida.ultimoPdf().isEmpty())
            return {};
        return correr(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), saida.ultimoPdf(), QStringLiteral("-")});
    }

    QVariant valor(const QString& sql, const QVariantList& valores = {})
    {
        QSqlQuery q = Consulta::executar(t->estacao->bd(), sql, valores);
        return q.next() ? q.value(0) : QVariant();
    }

    // A seeded station with the shipped definitions, for the tests that read rows.
    void preparar()
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
        t->estacao->impressora = &t->impressora;
        t->estacao->Acesso.NivelAcesso = 4;
        semearPesagens(*t->estacao);
        // The shipped definitions, as the build puts them beside the program.
        QDir(t->pasta()).mkpath(QStringLiteral("partials"));
        for (const QString& f : QDir(QStringLiteral(ZUMAREL_RELATORIOS)).entryList({"*.rpt", "partials/*"}, QDir::Files))
            QFile::copy(QStringLiteral(ZUMAREL_RELATORIOS "/") + f, t->caminho(f));
        for (const QString& f : QDir(QStringLiteral(ZUMAREL_RELATORIOS "/partials")).entryList(QDir::Files))
            QFile::copy(QStringLiteral(ZUMAREL_RELATORIOS "/partials/") + f, t->caminho("partials/" + f));
    }

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("zumarel.relatorios.warning=false")); }
    // Every statistic x party x kind x check boxes: the formula, as the
    // engine accepts it, and the file.
    void formulaEFicheiro_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("identificacao");
        QTest::addColumn<int>("opcao");
        QTest::addColumn<QString>("formula");
        const QStringList nomes = {"TODOS", "", "  todos ", "Areia fina", " O'Neil "};
        for (const auto& [titulo, clausula] : Clausulas) {
            for (const QString& nome : nomes) {
                for (int opcao = -1; opcao <= 3; ++opcao) {
                    QString f = PeriodoJaneiro;
                    if (!clausula.isEmpty() && nome.trimmed().toUpper() != u"TODOS" && !nome.trimmed().isEmpty())
                        f += clausula + QString(nome).replace("'", "''") + "'";
                    if (opcao >= 0 && opcao <= 2)
                        f += QStringLiteral(" and {Pesagens.Tipo de pesagem}='") + "EGT"[opcao] + "'";
                    QTest::addRow("%s|%s|%d", qPrintable(titulo), qPrintable(nome), opcao)
                        << titulo << nome << opcao << f;
                }
            }
        }
    }
    void formulaEFicheiro()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, identificacao);
        QFETCH(int, opcao);
        QFETCH(QString, formula);
        const Estatistica& e = *porTitulo(titulo);
        QCOMPARE(ConstruirFormula(e, Janeiro, identificacao, opcao), formula);
        const auto clausula = FormulaSeleccao::traduzir(formula, QStringLiteral("Pesagens"));
        QVERIFY(clausula);
        if (e.porPartes() && identificacao.contains(u'\''))
            QVERIFY(clausula->valores.contains(identificacao));
        const QString radical = e.radical + ".rpt";
        const bool partes = e.porPartes();
        QCOMPARE(ficheiroRelatorio(e, false, false), "m_" + radical);
        QCOMPARE(ficheiroRelatorio(e, true, false), (partes ? "t_" : "m_") + radical);
        QCOMPARE(ficheiroRelatorio(e, false, true), (partes ? "g_" : "m_") + radical);
        QCOMPARE(ficheiroRelatorio(e, true, true), (partes ? "g_" : "m_") + radical);
    }

    void preencherLista_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<int>("opcao");
        QTest::addColumn<Caixas>("caixas");
        QTest::addColumn<QStringList>("lista");
        QTest::addColumn<int>("foco");
        using F = LogicaMapas::Foco;
        QTest::newRow("produtos: Null conta para TODOS, areia/Areia uma só")
            << "Estatísticas por produto" << -1 << Janeiro << QStringList{"Areia", "Brita", "TODOS"} << int(F::Identificacao);
        QTest::newRow("guias: uma só viatura") << "Estatísticas por viatura" << 1 << Janeiro << QStringList{"12-AB-34"}
                                               << int(F::Visualizar);
        QTest::newRow("entidades com aspas") << "Estatísticas por cliente ou fornecedor" << 2 << Janeiro
                                             << QStringList{"O'Neil"} << int(F::Visualizar);
        QTest::newRow("fim antes do inicio") << "Estatísticas por operador" << -1
                                             << Caixas{"31", "01", "2026", "01", "01", "2026"} << QStringList{}
                                             << int(F::Sair);
        QTest::newRow("pesagens") << "Pesagens" << 3 << Caixas{"1", "2", "26", "1", "2", "26"} << QStringList{}
                                  << int(F::Visualizar);
    }
    void preencherLista()
    {
        QFETCH(QString, titulo);
        QFETCH(int, opcao);
        QFETCH(Caixas, caixas);
        QFETCH(QStringList, lista);
        QFETCH(int, foco);
        abrir(titulo, opcao, caixas);
        QVERIFY(logica->txt_Enter(5));
        QCOMPARE(int(logica->foco), foco);
        const bool achou = foco != int(LogicaMapas::Foco::Sair);
        QCOMPARE(logica->cmdVisivel, achou);
        QCOMPARE(logica->identificacaoVisivel, achou && titulo != u"Pesagens");
        QCOMPARE(logica->chkVisivel, achou && titulo != u"Pesagens");
        if (!lista.isEmpty()) {
            QCOMPARE(QStringList(logica->lista).replaceInStrings("areia", "Areia"), lista);
            QCOMPARE(logica->identificacao, lista.last());
        }
        QVERIFY(t->mensagens.caixas.isEmpty());
    }

    // A date that does not exist: a clear message, no list, no report.
    void dataImpossivel()
    {
        abrir("Estatísticas por produto", -1, {"31", "02", "2026", "1a", "03", "2026"});
        logica->txt_Enter(5);
        logica->cmd_Click(0);
        QCOMPARE(t->mensagens.caixas.size(), 2);
        for (const auto& c : t->mensagens.caixas) {
            QVERIFY(c.texto.startsWith("Erro número: 13\r\nA data de inicio não é válida (31-02-2026)"));
            QCOMPARE(c.estilo, 64);
            QCOMPARE(c.titulo, "Estatísticas por produto");
        }
        QVERIFY(!logica->cmdVisivel);
        QVERIFY(t->impressora.pedidos.isEmpty());
    }

    void pedidos()
    {
        abrir("Estatísticas por produto", 0);
        logica->identificacao = "Areia";
        logica->chk = {false, true};
        logica->cmd_Click(0);
        logica->txt[3] = "15";
        logica->cmd_Click(1);
        QCOMPARE(t->impressora.pedidos.size(), 2);
        const PedidoRelatorio& v = t->impressora.pedidos[0];
        const PedidoRelatorio& i = t->impressora.pedidos[1];
        QCOMPARE(QFileInfo(v.FicheiroRelatorio).fileName(), "g_produto.rpt");
        QCOMPARE(v.FormulaSeleccao, PeriodoJaneiro + " and {Pesagens.Produto}='Areia' and {Pesagens.Tipo de pesagem}='E'");
        QCOMPARE(std::tuple(v.Destino, v.Esquerda, v.Topo, v.EstadoJanela, v.TituloJanela, v.Copias),
                 std::tuple(0, 0, 0, 2, QString("Estatísticas por produto"), qint16(1)));
        QVERIFY(i.FormulaSeleccao.contains("to Date (2026, 01, 15)"));
        QCOMPARE(std::tuple(i.Destino, i.EstadoJanela, i.TituloJanela, i.Copias),
                 std::tuple(1, 2, QString("Estatísticas por produto"), qint16(1)));
    }

    void previsaoComOTitulo()
    {
        abrir("Pesagens");
        QCOMPARE(imprimir(0), "Pesagens");
        // Every weighing of the period, the cancelled one included.
        QVERIFY(imprimir().contains(QRegularExpression("Total: 5 pesagens\\s+25 000 kg")));
    }

    // The detailed report's groups agree with the database's own count and sum.
    void gruposComoABaseDados_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<int>("opcao");
        QTest::newRow("produto, entradas") << "Estatísticas por produto" << "Produto" << 0;
        QTest::newRow("entidade") << "Estatísticas por cliente ou fornecedor" << "Entidade" << -1;
        QTest::newRow("operador") << "Estatísticas por operador" << "Operador" << -1;
    }
    void gruposComoABaseDados()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, campo);
        QFETCH(int, opcao);
        abrir(titulo, opcao);
        logica->identificacao = "TODOS";
        const QString texto = imprimir();
        QMap<QString, QString> noPdf;
        static const QRegularExpression total(R"(Total de (.+?): (\d+) pesagens\s+([\d ]+ kg))");
        for (auto it = total.globalMatch(texto); it.hasNext();) {
            const auto m = it.next();
            noPdf.insert(m.captured(1).toLower(), m.captured(2) + "|" + m.captured(3));
        }
        QMap<QString, QString> naBase;
        QSqlQuery q = Consulta::executar(
            t->estacao->bd(),
            QStringLiteral("SELECT lower(coalesce(\"%1\", '(sem identificação)')), COUNT(*), SUM(\"Peso líquido\") "
                           "FROM Pesagens WHERE \"Data de saída\" BETWEEN '2026-01-01' AND '2026-01-31 23:59:59' "
                           "AND (? = '' OR \"Tipo de pesagem\" = ?) GROUP BY 1").arg(campo),
            {tipoDaOpcao(opcao), tipoDaOpcao(opcao)});
        while (q.next()) {
            QString kg = QString::number(q.value(2).toLongLong());
            for (qsizetype i = kg.size() - 3; i > 0; i -= 3)
                kg.insert(i, u' ');
            naBase.insert(q.value(0).toString(), q.value(1).toString() + "|" + kg + " kg");
        }
        QVERIFY(naBase.size() >= 2);
        QCOMPARE(noPdf, naBase);
        QVERIFY(texto.contains("05-01-2026"));  // the rows themselves
    }

    void totaisGraficoEUmaParte_data()
    {
        QTest::addColumn<QString>("identificacao");
        QTest::addColumn<Marcas>("chk");
        QTest::addColumn<QStringList>("tem");
        QTest::addColumn<QStringList>("naoTem");
        QTest::addColumn<int>("imagens");
        QTest::newRow("só totais") << "TODOS" << Marcas{true, false} << QStringList{"Cimentos Lda", "O'Neil", "Total geral"}
                                   << QStringList{"05-01-2026", "12-AB-34"} << 0;
        QTest::newRow("gráfico") << "TODOS" << Marcas{false, true} << QStringList{"Cimentos Lda", "12 000 kg"}
                                 << QStringList{"05-01-2026"} << 1;
        QTest::newRow("O'Neil") << "O'Neil" << Marcas{false, false}
                                << QStringList{"Total de O'Neil: 2 pesagens", "31-01-2026", "Total geral: 2 pesagens"}
                                << QStringList{"Cimentos"} << 0;
    }
    void totaisGraficoEUmaParte()
    {
        QFETCH(QString, identificacao);
        QFETCH(Marcas, chk);
        QFETCH(QStringList, tem);
        QFETCH(QStringList, naoTem);
        QFETCH(int, imagens);
        abrir("Estatísticas por cliente ou fornecedor");
        logica->identificacao = identificacao;
        logica->chk = chk;
        const QString texto = imprimir();
        for (const QString& s : tem)
            QVERIFY2(texto.contains(s), qPrintable(s + "\n" + texto));
        for (const QString& s : naoTem)
            QVERIFY2(!texto.contains(s), qPrintable(s));
        const QString pdf = QDir(t->caminho("impressos")).entryInfoList({"*.pdf"}).value(0).filePath();
        const QString lista = correr("pdfimages", {"-list", pdf});
        QCOMPARE(lista.count(QStringLiteral(" image ")), imagens);
    }
};

QTEST_MAIN(TesteEstatisticas)
#include "tst_Estatisticas.moc"
