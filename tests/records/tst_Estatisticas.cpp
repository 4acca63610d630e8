#include "SementeMapas.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/Conversoes.h"
#include "records/Estatisticas.h"
#include "data/BaseDadosEstacao.h"
#include "records/LogicaMapas.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/FonteListagem.h"
#include "reporting/FormulaSeleccao.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/FicheiroOcupado.h"
#include "support/FusoHorario.h"
#include "support/MotorTeste.h"
#include "support/PassosSqlite.h"
#include "support/PesagensTresAnos.h"
#include "support/TextoPdf.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

using namespace Estatisticas;

namespace {

using Marcas = std::array<bool, 2>;
const Caixas Janeiro = {"01", "01", "2026", "31", "01", "2026"};
const QString PeriodoJaneiro = QStringLiteral("{Pesagens.Data de saída} in Date (2026, 01, 01) to Date (2026, 01, 31)");

}  // namespace

class TesteEstatisticas : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<LogicaMapas> logica;

    // A seeded station with the shipped definitions beside the program, and the window's logic for this title.
    void abrir(const QString& titulo, int opcao = -1, const Caixas& caixas = Janeiro)
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
        t->estacao->impressora = &t->impressora;
        t->estacao->Acesso.NivelAcesso = 4;
        t->estacao->Acesso.TituloMapa = titulo;
        semearPesagens(*t->estacao);
        MotorTeste::copiarDefinicoes(*t);
        logica = std::make_unique<LogicaMapas>(*t->estacao);
        logica->Form_Load();
        logica->txt = caixas;
        logica->opcao = opcao;
    }

    // The report of the window's current choices, printed to a PDF and read
    // back; or previewed, giving the preview's title. With `cancelar`, the
    // operator cancels it as soon as it starts.
    QString imprimir(int botao = 1, bool cancelar = false)
    {
        MotorTeste r(*t);
        QSignalSpy fim(r.motor.get(), &MotorRelatorios::relatorioTerminado);
        t->estacao->impressora = r.motor.get();
        logica->cmd_Click(botao);
        t->estacao->impressora = &t->impressora;
        for (QWidget* janela : cancelar ? QApplication::topLevelWidgets() : QWidgetList()) {
            if (auto* cancelamento = janela->findChild<QPushButton*>("cmdCancelar"))
                cancelamento->click();
        }
        // The report is made while the station goes on.
        if (fim.isEmpty() && !fim.wait(60000))
            return {};
        if (botao == 0) {
            std::unique_ptr<JanelaVisualizacao> janela(r.saida.ultimaVisualizacao());
            return janela && janela->isMaximized() ? janela->windowTitle() : QString();
        }
        if (r.saida.ultimoPdf().isEmpty())
            return {};
        return TextoPdf::texto(r.saida.ultimoPdf());
    }

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("zumarel.relatorios.warning=false")); }
    // The party clause only for a name other than "TODOS", its quotes doubled; the kind of the option.
    void formula_data()
    {
        QTest::addColumn<QString>("titulo");
        QTest::addColumn<QString>("identificacao");
        QTest::addColumn<int>("opcao");
        QTest::addColumn<QString>("formula");
        const QString tipo = QStringLiteral(" and {Pesagens.Tipo de pesagem}='");
        QTest::newRow("todos, com espaços") << "Estatísticas por viatura" << "  todos " << -1 << PeriodoJaneiro;
        QTest::newRow("vazio, tudo") << "Estatísticas por cliente ou fornecedor" << "" << 3 << PeriodoJaneiro;
        QTest::newRow("plica, guias") << "Estatísticas por cliente ou fornecedor" << " O'Neil " << 1
                                      << QString(PeriodoJaneiro + " and {Pesagens.Entidade} = ' O''Neil '" + tipo + "G'");
        QTest::newRow("entradas") << "Estatísticas por transportador" << "Rápidos" << 0
                                  << QString(PeriodoJaneiro + " and {Pesagens.Transportador}='Rápidos'" + tipo + "E'");
        QTest::newRow("talões") << "Estatísticas por operador" << "Ana" << 2
                                << QString(PeriodoJaneiro + " and {Pesagens.Operador}='Ana'" + tipo + "T'");
        QTest::newRow("pesagens, sem parte") << "Pesagens" << "Areia" << -1 << PeriodoJaneiro;
    }
    void formula()
    {
        QFETCH(QString, titulo);
        QFETCH(QString, identificacao);
        QFETCH(int, opcao);
        QFETCH(QString, formula);
        QCOMPARE(ConstruirFormula(*porTitulo(titulo), Janeiro, identificacao, opcao), formula);
    }

    // Every statistic's formula is one the report engine takes, and its report files are shipped.
    void formulasEFicheirosDeCadaUma()
    {
        for (const Estatistica& e : todas()) {
            const auto clausula = FormulaSeleccao::traduzir(ConstruirFormula(e, Janeiro, "O'Neil", 2), "Pesagens");
            QVERIFY2(clausula, qPrintable(e.titulo));
            QCOMPARE(clausula->valores.contains("O'Neil"), e.porPartes());
            QStringList f;
            for (int i = 0; i < 4; ++i) {
                f << ficheiroRelatorio(e, i & 1, i & 2);
                QVERIFY2(QFile::exists(QStringLiteral(ZUMAREL_RELATORIOS "/") + f.last()), qPrintable(f.last()));
            }
            QVERIFY(f[0].startsWith("m_"));
            QCOMPARE(f[3], f[2]);  // the chart wins over the totals
            QCOMPARE(QSet<QString>(f.begin(), f.end()).size(), e.porPartes() ? 3 : 1);
        }
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
        QTest::newRow("pesagens, ano com zeros à esquerda") << "Pesagens" << -1 << Caixas{"01", "01", "2026", "31", "01", "0026"}
                                                        << QStringList{} << int(F::Visualizar);
        QTest::newRow("ano de um algarismo, vazio") << "Pesagens" << -1 << Caixas{"01", "01", "2001", "31", "12", "1"}
                                                 << QStringList{} << int(F::Sair);
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

    // A period takes its days whole in the station's zone, the day whose
    // midnight the clock skips included (the Azores, 29-03-2026).
    void periodoNoFuso_data()
    {
        QTest::addColumn<QByteArray>("fuso");
        QTest::addColumn<QString>("dia");
        QTest::addColumn<QStringList>("operadores");
        for (const char* f : {"UTC", "Europe/Lisbon", "Atlantic/Azores"}) {
            QTest::addRow("%s: até à véspera da mudança", f) << QByteArray(f) << "28" << QStringList{"Sábado"};
            QTest::addRow("%s: desde o dia da mudança", f) << QByteArray(f) << "29" << QStringList{"Domingo"};
        }
    }
    void periodoNoFuso()
    {
        QFETCH(QByteArray, fuso);
        QFETCH(QString, dia);
        const FusoHorario zona(fuso);
        QVERIFY(zona.existe());
        EstacaoTeste e;
        e.abrirBaseDados();
        Consulta::executar(e.estacao->bd(), "INSERT INTO Pesagens (\"Tipo de pesagem\", \"Data de saída\", Operador) "
                                            "VALUES ('G', '2026-03-28 23:30:00', 'Sábado'), ('G', '2026-03-29 01:30:00', 'Domingo')");
        const auto periodo = intervalo(Caixas{dia, "03", "2026", dia, "03", "2026"});
        QVERIFY(periodo);
        QTEST(listar(e.estacao->bd(), *porTitulo("Estatísticas por operador"), *periodo, -1).valores, "operadores");
    }

    // A period of years is listed as one DISTINCT query would list it,
    // though it is read in many short slices; and a short one alike.
    void listaDeMuitasPesagens_data()
    {
        QTest::addColumn<Caixas>("caixas");
        QTest::newRow("três anos") << Caixas{"01", "01", "2024", "31", "12", "2026"};
        QTest::newRow("um mês") << Caixas{"01", "03", "2025", "31", "03", "2025"};
    }
    void listaDeMuitasPesagens()
    {
        QFETCH(Caixas, caixas);
        EstacaoTeste e;
        e.abrirBaseDados();
        const QSqlDatabase db = e.estacao->bd();
        semearTresAnos(db, 30000);
        const auto periodo = intervalo(caixas);
        QVERIFY(periodo);
        QStringList esperados;
        int linhas = 0;
        QSqlQuery q = Consulta::executar(db, "SELECT DISTINCT Produto FROM Pesagens WHERE \"Data de saída\" >= ? AND \"Data de saída\" < ? ORDER BY Produto",
                                         {Conversoes::dataParaBd(periodo->inicio), Conversoes::dataParaBd(periodo->fimExclusivo)});
        for (; q.next(); ++linhas) {
            if (!q.value(0).isNull())
                esperados << q.value(0).toString().toUpper();
        }
        QVERIFY(esperados.size() == 40 && linhas == 41);
        const Identificacoes achados = listar(db, *porTitulo("Estatísticas por produto"), *periodo, -1);
        QCOMPARE(QStringList(achados.valores).replaceInStrings("Produto", "PRODUTO"), esperados);
        QCOMPARE(achados.linhas, linhas);
    }

    // A period's reading visits the period's rows, not the table's: in a
    // file of three years whose dates are spread over the keys, a month's
    // list and a month's listing take a small part of the three years' steps.
    void leituraSoDoPeriodo_data()
    {
        QTest::addColumn<bool>("listagem");
        QTest::newRow("lista da janela") << false;
        QTest::newRow("listagem por produto") << true;
    }
    void leituraSoDoPeriodo()
    {
        QFETCH(bool, listagem);
        EstacaoTeste e;
        e.abrirBaseDados();
        semearTresAnos(e.estacao->bd(), 30000);
        const QString ficheiro = e.caminho("Pesagem.mdb");
        const auto definicao = DefinicaoRelatorio::carregar(QDir(ZUMAREL_RELATORIOS).filePath("m_produto.rpt"));
        QVERIFY(definicao);
        PassosSqlite passos;
        // The steps of one reading, on a connection opened while they are counted.
        const auto ler = [&](const Caixas& caixas) {
            passos.zerar();
            if (listagem) {
                FonteListagem fonte(*definicao, ficheiro);
                const std::atomic<bool> nao{false};
                fonte.copiar(*FormulaSeleccao::traduzir(FormulaPeriodo(caixas), "Pesagens"), nao);
            } else {
                listar(BaseDadosEstacao::abrir(ficheiro)->db(), *porTitulo("Estatísticas por produto"), *intervalo(caixas), -1);
            }
            return passos.total();
        };
        const qint64 mes = ler({"01", "03", "2025", "31", "03", "2025"});
        const qint64 anos = ler({"01", "01", "2024", "31", "12", "2026"});
        QVERIFY2(mes > 0 && mes * 16 < anos, qPrintable(QString("%1 steps for a month, %2 for three years").arg(mes).arg(anos)));
    }

    // A report that ends without a page once it is being made: its rows of
    // three years are read in many slices, and after the first another
    // station takes the file; they fill the database's temporary storage as
    // they are sorted (its folder on a small disk, or a limit on a file's
    // size), which the box names, not the database's own disk; or the
    // operator cancels it. The window says why a failure failed in its box,
    // and nothing of a cancellation; no part of the report is shown or printed.
    void semRelatorioDepoisDeComecar_data()
    {
        QTest::addColumn<int>("botao");
        QTest::addColumn<int>("falha");  // 0 the file taken, 1 cancelled, 2 a small disk for the temporary files, 3 a limit on a file's size
        QTest::addColumn<QStringList>("caixas");
        const QStringList ocupado{"Erro número: 5\r\nA base de dados está ocupada por outro utilizador [database is locked]"};
        QTest::newRow("visualizar, ficheiro tomado") << 0 << 0 << ocupado;
        QTest::newRow("imprimir, ficheiro tomado") << 1 << 0 << ocupado;
        QTest::newRow("imprimir, cancelado") << 1 << 1 << QStringList{};
        QTest::newRow("imprimir, pasta temporária cheia") << 1 << 2 << QStringList{"Erro número: 13\r\nNão há espaço livre na pasta temporária da base de dados [database or disk is full]"};
        QTest::newRow("visualizar, ficheiro temporário acima do tamanho permitido")
            << 0 << 3 << QStringList{"Erro número: 778\r\nErro de leitura ou escrita nos ficheiros temporários da base de dados [disk I/O error]"};
    }
    void semRelatorioDepoisDeComecar()
    {
        QFETCH(int, botao);
        QFETCH(int, falha);
        abrir("Estatísticas por produto", -1, {"01", "01", "2024", "31", "12", "2026"});
        semearTresAnos(t->estacao->bd(), 20000);
        logica->identificacao = "TODOS";
        std::optional<FicheiroOcupado> outroPosto;
        std::optional<DiscoPequeno> disco;
        std::optional<LimiteTamanhoFicheiros> limite;
        if (falha == 0)
            outroPosto.emplace(t->caminho("Pesagem.mdb"), "INSERT OR IGNORE INTO temp.lidas");
        if (falha == 2) {
            if (!disco.emplace().ok())
                QSKIP("a small file system of its own needs root");
            // Where every connection of the process makes its temporary files.
            Consulta::executar(t->estacao->bd(), QStringLiteral("PRAGMA temp_store_directory = '%1'").arg(disco->pasta()));
        }
        const auto deVolta = qScopeGuard([&] { Consulta::executar(t->estacao->bd(), QStringLiteral("PRAGMA temp_store_directory = ''")); });
        if (falha == 3)
            limite.emplace(64 * 1024);
        QCOMPARE(imprimir(botao, falha == 1), QString());
        limite.reset();
        QVERIFY(falha != 0 || outroPosto->ocupado());
        QStringList caixas;
        for (const auto& c : t->mensagens.caixas)
            caixas << c.texto;
        QTEST(caixas, "caixas");
        for (const auto& c : t->mensagens.caixas)
            QCOMPARE(std::pair(c.estilo, c.titulo), std::pair(64, QString("Estatísticas por produto")));
        QVERIFY(QDir(t->caminho("impressos")).isEmpty());
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
        QTest::addColumn<int>("nomes");  // a group's name: once in the table, again beside its bar
        QTest::addColumn<QString>("linha");  // a group's row, its columns in order; empty: none
        const QString linhaCimentos = QStringLiteral("Cimentos Lda +\\d+ +\\d[\\d ]* kg");
        QTest::newRow("só totais") << "TODOS" << Marcas{true, false} << QStringList{"Cimentos Lda", "O'Neil", "Total geral"}
                                   << QStringList{"05-01-2026", "12-AB-34"} << 1 << linhaCimentos;
        QTest::newRow("gráfico") << "TODOS" << Marcas{false, true} << QStringList{"Cimentos Lda", "12 000 kg"}
                                 << QStringList{"05-01-2026"} << 2 << linhaCimentos;
        QTest::newRow("O'Neil") << "O'Neil" << Marcas{false, false}
                                << QStringList{"Total de O'Neil: 2 pesagens", "31-01-2026", "Total geral: 2 pesagens"}
                                << QStringList{"Cimentos"} << 0 << QString();
    }
    void totaisGraficoEUmaParte()
    {
        QFETCH(QString, identificacao);
        QFETCH(Marcas, chk);
        QFETCH(QStringList, tem);
        QFETCH(QStringList, naoTem);
        QFETCH(int, nomes);
        abrir("Estatísticas por cliente ou fornecedor");
        logica->identificacao = identificacao;
        logica->chk = chk;
        const QString texto = imprimir();
        for (const QString& s : tem)
            QVERIFY2(texto.contains(s), qPrintable(s + "\n" + texto));
        for (const QString& s : naoTem)
            QVERIFY2(!texto.contains(s), qPrintable(s));
        QCOMPARE(texto.count(QStringLiteral("Cimentos Lda")), nomes);
        QFETCH(QString, linha);
        QVERIFY2(linha.isEmpty() || texto.contains(QRegularExpression(linha)), qPrintable(texto));
    }
};

QTEST_MAIN(TesteEstatisticas)
#include "tst_Estatisticas.moc"
