#include "data/Consulta.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "platform/gui/ProgressoRelatorio.h"
#include "reporting/DefinicaoRelatorio.h"
#include "reporting/ExecucaoListagem.h"
#include "platform/Erro.h"
#include "reporting/FonteListagem.h"
#include "reporting/FolhaEstacao.h"
#include "reporting/FormulaSeleccao.h"
#include "reporting/PintorListagem.h"
#include "shared/Esquema.h"
#include "support/AvisosAnotados.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/MotorTeste.h"
#include "support/ServidorImpressao.h"
#include "support/TextoPdf.h"
#include "ImpressaoTeste.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLoggingCategory>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QtTest>

#include <map>
#include <thread>

namespace {

const QString Janeiro = QStringLiteral("{Pesagens.Data de saída} in Date (2026, 01, 01) to Date (2026, 01, 31)");

// Each group of a detailed report as its text shows it: "name: its rows'
// numbers = count, net weight", the name of its heading (and of its total
// line, when that says another).
QStringList lerGrupos(const QString& texto)
{
    static const QRegularExpression linha(QStringLiteral(R"(^\d\d-\d\d-\d{4}\s+\d\d:\d\d\s+[A-Z]\s+(\d+)\s)"));
    static const QRegularExpression total(QStringLiteral(R"(^\s*Total de (.+): (\d+) pesagens\s+(.+ kg)\s*$)"));
    QStringList grupos;
    QString anterior, nome, numeros;
    for (const QString& l : texto.split(u'\n')) {
        if (const auto m = linha.match(l); m.hasMatch()) {
            if (numeros.isEmpty())
                nome = anterior;
            numeros += m.captured(1) + u' ';
        } else if (const auto t = total.match(l); t.hasMatch()) {
            const QString nomes = t.captured(1) == nome ? nome : nome + " / " + t.captured(1);
            grupos << QStringLiteral("%1: %2= %3, %4").arg(nomes, numeros, t.captured(2), t.captured(3).simplified());
            numeros.clear();
        } else if (!l.trimmed().isEmpty()) {
            anterior = l.trimmed();
        }
    }
    return grupos;
}

// Runs something once, just before an object receives its first event of a kind.
class AntesDoEvento : public QObject
{
public:
    AntesDoEvento(QEvent::Type tipo, std::function<void()> accao) : m_tipo(tipo), m_accao(std::move(accao)) {}
    bool visto = false;

protected:
    bool eventFilter(QObject*, QEvent* evento) override
    {
        if (evento->type() == m_tipo && !visto) {
            visto = true;
            m_accao();
        }
        return false;
    }

private:
    QEvent::Type m_tipo;
    std::function<void()> m_accao;
};

// Zeroes the database's temporary files this process holds open (SQLite
// names them etilqs_... and unlinks them), as a failing disk may leave them.
int estragarTemporarios()
{
    int estragados = 0;
    const QDir abertos(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : abertos.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        QFile f(abertos.filePath(fd));
        if (QFileInfo(f.symLinkTarget()).fileName().startsWith(QLatin1String("etilqs_")) && f.open(QIODevice::ReadWrite))
            estragados += f.write(QByteArray(f.size(), '\0')) == f.size();
    }
    return estragados;
}

}  // namespace

// Long reports on a real database, made in a thread of their own and read
// back from the PDF files they write.
class TesteListagens : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<MotorTeste> r;

    // Runs a request to its end; its status.
    int executar(const PedidoRelatorio& p)
    {
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        r->motor->ExecutarRelatorio(p);
        return !fim.isEmpty() || fim.wait(120000) ? fim.first().at(1).toInt() : -1;
    }

    QStringList ficheirosImpressos() const
    {
        return QDir(t->caminho(QStringLiteral("impressos"))).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    // n weighings of January 2026, two minutes apart, over 25 products. The
    // indexes are made again after, at once: row by row they take most of the time.
    void gerar(int n)
    {
        const QSqlDatabase db = t->estacao->bd();
        QStringList nomes, indices;
        for (QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL")); q.next();)
            nomes << q.value(0).toString(), indices << q.value(1).toString();
        for (const QString& nome : nomes)
            Consulta::executar(db, QStringLiteral("DROP INDEX ") + Esquema::citar(nome));
        const auto refazer = qScopeGuard([&] {
            for (const QString& sql : indices)
                Consulta::executar(db, sql);
        });
        Consulta::executar(db,
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) INSERT INTO Pesagens (\"Tipo de pesagem\", "
            "\"Número de pesagem\", Viatura, Entidade, Transportador, Produto, \"Local de carga\", \"Local de descarga\", \"Peso á entrada\", "
            "\"Peso á saída\", \"Data de saída\", \"Hora de saída\", \"Peso líquido\", Operador) SELECT substr('EGT', i % 3 + 1, 1), i, "
            "printf('%02d-AB-%02d', i % 97, i % 89), 'Cliente ' || (i % 300), 'Transportes ' || (i % 60), 'Produto ' || (i % 25), 'Pedreira ' || (i % 7), "
            "'Obra ' || (i % 9), 12000, 20000 + i % 9000, strftime('%Y-%m-%d %H:%M:%S', '2026-01-01', '+' || (i * 120 % 2592000) || ' seconds'), "
            "'10:00', 8000 + i % 9000, 'Ana' FROM n", {n});
    }

    // Weighings of January 2026 and round it: names in several cases and
    // accents, none and empty, a quote, a cancelled one, a pending one.
    void semear() { semearJaneiro(t->estacao->bd()); }

    // The whole text of the last PDF, each page ending with "Página n de m".
    QString textoTodo()
    {
        const QString pdf = r->saida.ultimoPdf();
        const int paginas = TextoPdf::paginas(pdf);
        QString texto;
        for (int p = 1; p <= paginas; ++p) {
            const QString pagina = TextoPdf::texto(pdf, p);
            if (!pagina.contains(QRegularExpression(QStringLiteral("Página %1 de %2\\s*$").arg(p).arg(paginas))))
                return QStringLiteral("sem \"Página %1 de %2\"").arg(p).arg(paginas);
            texto += pagina;
        }
        return texto;
    }

    // Waits until the spy has seen page `pagina` (drawn, or shown).
    static bool pagina(QSignalSpy& espiao, int pagina)
    {
        const auto vista = [&] { return std::any_of(espiao.begin(), espiao.end(), [&](const QVariantList& a) { return a.at(0).toInt() == pagina; }); };
        return vista() || QTest::qWaitFor(vista, 30000);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!TextoPdf::disponivel())
            QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
        QLoggingCategory::setFilterRules(QStringLiteral("zumarel.relatorios.info=false"));
    }

    void init()
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
        r = std::make_unique<MotorTeste>(*t);
    }

    void cleanup()
    {
        delete r->saida.ultimaVisualizacao();
        r.reset();
        t.reset();
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // The detailed reports: each group under its name, its rows in order, its
    // count and net weight; the groups in Portuguese order of their names (A-Z
    // case aside, spelt as their first row; Évora and évora, which differ in
    // the case of another letter, are two groups in the order they came), the
    // unnamed ones last; and the grand total.
    void gruposLinhasETotais_data()
    {
        QTest::addColumn<QString>("ficheiro");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QStringList>("grupos");
        QTest::addColumn<QString>("total");
        QTest::newRow("produto") << "m_produto.rpt" << Janeiro
            << QStringList{"Ácido: 106 = 1, 3 000 kg", "AREIA: 103 101 102 = 3, 23 000 kg", "Brita: 104 105 = 2, 12 000 kg", "éter: 107 = 1, 4 000 kg",
                           "Évora: 108 = 1, 6 000 kg", "évora: 114 = 1, 2 000 kg", "Zebra: 109 = 1, 7 000 kg", "(sem identificação): 111 110 = 2, 10 000 kg"}
            << "Total geral: 12 pesagens 67 000 kg";
        QTest::newRow("um cliente com plica") << "m_entidade.rpt" << Janeiro + " and {Pesagens.Entidade} = 'O''Neil & <Filhos>'"
            << QStringList{"O'Neil & <Filhos>: 102 109 = 2, 15 000 kg"} << "Total geral: 2 pesagens 15 000 kg";
        // A name alone: its rows are found by the index of that one value.
        QTest::newRow("um cliente, sem período") << "m_entidade.rpt" << "{Pesagens.Entidade} = 'O''Neil & <Filhos>'"
            << QStringList{"O'Neil & <Filhos>: 102 109 = 2, 15 000 kg"} << "Total geral: 2 pesagens 15 000 kg";
        QTest::newRow("nada no período") << "m_produto.rpt" << "{Pesagens.Data de saída} in Date (2026, 03, 01) to Date (2026, 03, 31)"
            << QStringList{} << "Total geral: 0 pesagens 0 kg";
    }
    void gruposLinhasETotais()
    {
        QFETCH(QString, ficheiro);
        QFETCH(QString, formula);
        QFETCH(QString, total);
        semear();
        QCOMPARE(executar(MotorTeste::pedido(ficheiro, formula)), int(EstadoRelatorio::Executado));
        const QString texto = textoTodo();
        QTEST(lerGrupos(texto), "grupos");
        QVERIFY2(texto.simplified().contains(total), qPrintable(texto));
    }

    // The ticks of the station's thread go on while a long report is made:
    // the longest gap between them is a small part of the report's time (or a
    // few ticks' time), where a report made on that thread would be one gap
    // as long as itself.
    void tiquesDuranteORelatorio()
    {
        gerar(20000);
        QTimer tique;
        tique.setInterval(50);
        QElapsedTimer relogio;
        qint64 anterior = 0, maior = 0;
        connect(&tique, &QTimer::timeout, this, [&] {
            maior = std::max(maior, relogio.elapsed() - anterior);
            anterior = relogio.elapsed();
        });
        relogio.start();
        tique.start();
        QCOMPARE(executar(MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro)), int(EstadoRelatorio::Executado));
        const qint64 duracao = relogio.elapsed();
        maior = std::max(maior, duracao - anterior);
        // A few intervals at least, so a fast machine's short report is not taken for a stopped station.
        const qint64 limite = std::max<qint64>(duracao / 3, 4 * tique.interval());
        QVERIFY2(maior < limite, qPrintable(QStringLiteral("%1 ms without a tick in a report of %2 ms").arg(maior).arg(duracao)));

        // "Página n de m" is true: m is the file's page count.
        const int paginas = TextoPdf::paginas(r->saida.ultimoPdf());
        const QString ultima = TextoPdf::texto(r->saida.ultimoPdf(), paginas).simplified();
        QVERIFY(paginas > 100 && ultima.contains(QStringLiteral("Página %1 de %1").arg(paginas)) && ultima.contains("Total: 20000 pesagens"));
    }

    // Cancelled while its rows are read or its pages printed, by "Cancelar",
    // by closing the progress, with the window that asked for it, or as the
    // program ends: no file, not even a part of one, and no window.
    void cancelarNaoDeixaFicheiro_data()
    {
        QTest::addColumn<bool>("aImprimir");
        QTest::addColumn<int>("destino");
        QTest::addColumn<int>("como");  // 0 "Cancelar", 1 the progress closed, 2 the window that asked closed, 3 the program ends
        QTest::newRow("ao ler, Cancelar") << false << int(DestinoRelatorio::Impressora) << 0;
        QTest::newRow("a imprimir, Cancelar") << true << int(DestinoRelatorio::Impressora) << 0;
        QTest::newRow("a imprimir, fechado o progresso") << true << int(DestinoRelatorio::Impressora) << 1;
        QTest::newRow("ao ler, fechada a janela que o pediu") << false << int(DestinoRelatorio::Janela) << 2;
        QTest::newRow("a imprimir, o programa acaba") << true << int(DestinoRelatorio::Impressora) << 3;
    }
    void cancelarNaoDeixaFicheiro()
    {
        QFETCH(bool, aImprimir);
        QFETCH(int, destino);
        QFETCH(int, como);
        gerar(20000);
        auto pai = std::make_unique<QWidget>();
        r->saida.setJanelaPrincipal(pai.get());
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro, destino);
        p.Copias = 50;  // far more pages than are made before the click
        QCOMPARE(r->motor->ExecutarRelatorio(p), int(EstadoRelatorio::EmCurso));
        QVERIFY(QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor);
        QPointer<ProgressoRelatorio> janela = pai->findChild<ProgressoRelatorio*>();
        QVERIFY(janela);
        // Its pages are being made, and counted.
        if (aImprimir)
            QTRY_VERIFY_WITH_TIMEOUT(janela->findChild<QLabel*>(QStringLiteral("lblProgresso"))->text().startsWith(QStringLiteral("Página ")), 60000);
        if (como == 0)
            QTest::mouseClick(janela->findChild<QPushButton*>(QStringLiteral("cmdCancelar")), Qt::LeftButton);
        else if (como == 1)
            QVERIFY(!janela->close());  // it stays until the report has stopped
        else if (como == 2)
            pai.reset();
        if (como == 3) {
            r->motor.reset();  // it waits for the report's thread
        } else {
            QVERIFY(fim.wait(60000));
            QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Cancelado));
        }
        QVERIFY(!janela);
        QCOMPARE(ficheirosImpressos(), QStringList());
        QVERIFY(r->saida.ultimoPdf().isEmpty());
        QVERIFY(!r->saida.ultimaVisualizacao());
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Cancelled at any moment, reading its rows, counting its pages or
    // printing them, a long report stops at once: the operator has the
    // station back within a tenth of a second, by "Cancelar" or as the
    // program ends, and no file is left.
    void cancelarAQualquerMomento()
    {
        gerar(50000);
        for (const bool fimDoPrograma : {false, true}) {
            for (const int momento : {0, 40, 100, 200, 400, 800}) {
                r = std::make_unique<MotorTeste>(*t);
                auto pai = std::make_unique<QWidget>();
                r->saida.setJanelaPrincipal(pai.get());
                QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
                PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("m_produto.rpt"), Janeiro);
                p.Copias = 50;
                QCOMPARE(r->motor->ExecutarRelatorio(p), int(EstadoRelatorio::EmCurso));
                QTest::qWait(momento);
                QVERIFY(fim.isEmpty());
                QElapsedTimer espera;
                espera.start();
                if (fimDoPrograma) {
                    r->motor.reset();
                } else {
                    pai->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
                    QVERIFY(fim.wait(10000));
                    QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Cancelado));
                }
                const qint64 ms = espera.elapsed();
                QVERIFY2(ms < 100, qPrintable(QStringLiteral("%1 ms to stop a report cancelled %2 ms after it started").arg(ms).arg(momento)));
                QCOMPARE(ficheirosImpressos(), QStringList());
            }
        }
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    // Cancelled when its pages are ready but before the station has heard
    // so: the run ends cancelled, and no preview opens after.
    void canceladoQuandoProntoNaoMostra()
    {
        semear();
        auto pai = std::make_unique<QWidget>();
        r->saida.setJanelaPrincipal(pai.get());
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_produto.rpt"), Janeiro, DestinoRelatorio::Janela)),
                 int(EstadoRelatorio::EmCurso));
        QObject* execucao = r->motor->findChild<ExecucaoListagem*>();
        QVERIFY(execucao);
        // The first word from the work's thread is that its pages are ready:
        // "Cancelar" is pressed just before the station reads it.
        AntesDoEvento antes(QEvent::MetaCall, [&] { pai->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click(); });
        execucao->installEventFilter(&antes);
        QVERIFY(fim.wait(10000));
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Cancelado));
        QVERIFY(antes.visto);
        QVERIFY(!r->saida.ultimaVisualizacao());
        QVERIFY(!pai->findChild<QWidget*>(QStringLiteral("ProgressoRelatorio")));
    }

    // The preview: shown with the request's title and state, not modal, at
    // once with its first page; the pages are drawn as they are seen, not all;
    // "Imprimir" prints what it shows, and the pages stay.
    void visualizacao()
    {
        gerar(2000);
        PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro, DestinoRelatorio::Janela);
        p.TituloJanela = QStringLiteral("Estatísticas por produto");
        p.EstadoJanela = EstadoJanelaRelatorio::Maximizada;
        QCOMPARE(executar(p), int(EstadoRelatorio::Executado));
        JanelaVisualizacao* janela = r->saida.ultimaVisualizacao();
        QVERIFY(janela && janela->isVisible() && janela->windowState().testFlag(Qt::WindowMaximized));
        QCOMPARE(janela->windowTitle(), p.TituloJanela);
        QCOMPARE(janela->windowModality(), Qt::NonModal);
        QVERIFY(ficheirosImpressos().isEmpty());
        const int paginas = janela->paginas()->paginas();
        QVERIFY(paginas > 20);

        QSignalSpy mostradas(janela, &JanelaVisualizacao::paginaMostrada);
        QSignalSpy desenhadas(janela->paginas(), &PaginasVisualizacao::desenhada);
        QVERIFY(mostradas.wait(30000));
        QCOMPARE(mostradas.first().at(0).toInt(), 0);
        QVERIFY2(desenhadas.size() < 10, qPrintable(QString::number(desenhadas.size())));
        janela->irPara(paginas - 1);
        QVERIFY(pagina(mostradas, paginas - 1));
        QVERIFY(desenhadas.size() < paginas / 2);
        // The page number follows the view, and takes the operator where he types.
        auto* numero = janela->findChild<QSpinBox*>(QStringLiteral("pagina"));
        QCOMPARE(std::pair(numero->minimum(), numero->maximum()), std::pair(1, paginas));
        QTRY_COMPARE(numero->value(), janela->paginaActual() + 1);
        numero->setValue(5);
        QCOMPARE(janela->paginaActual(), 4);

        // A second "Imprimir" while the pages are printed is not a second print.
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        janela->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
        janela->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
        QVERIFY(fim.wait(60000));
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Executado));
        QCOMPARE(ficheirosImpressos(), QStringList{QFileInfo(r->saida.ultimoPdf()).fileName()});
        QCOMPARE(TextoPdf::paginas(r->saida.ultimoPdf()), paginas);
        QVERIFY(TextoPdf::texto(r->saida.ultimoPdf(), paginas).simplified().contains(QStringLiteral("Total: 2000 pesagens")));
        // Once it has ended, "Imprimir" prints again.
        fim.clear();
        janela->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
        QVERIFY(fim.wait(60000));
        QCOMPARE(ficheirosImpressos().size(), 2);
        QVERIFY(janela->isVisible());
        janela->irPara(paginas / 2);
        QVERIFY(pagina(mostradas, paginas / 2));

        // Drawn large, a page out of view is not kept: coming back draws it again.
        for (int i = 0; i < 8; ++i)
            janela->findChild<QAction*>(QStringLiteral("ampliar"))->trigger();
        for (const int k : {2, 0, 2}) {
            desenhadas.clear();
            janela->irPara(k);
            QVERIFY(pagina(desenhadas, k));
        }
    }

    // A preview page whose rows cannot be read (the temporary files damaged
    // once the listing was made) shows its heading and number; the window
    // that asked is told why once, not at each page nor each new drawing.
    void paginaQueNaoSeLe()
    {
        gerar(50000);
        QObject quemPediu;
        QStringList avisos;
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro, DestinoRelatorio::Janela), anotar(quemPediu, avisos));
        // Damaged when the pages are ready, before the station hears so.
        int estragados = 0;
        AntesDoEvento antes(QEvent::MetaCall, [&] { estragados = estragarTemporarios(); });
        r->motor->findChild<ExecucaoListagem*>()->installEventFilter(&antes);
        QVERIFY(fim.wait(60000) && estragados > 0);
        JanelaVisualizacao* janela = r->saida.ultimaVisualizacao();
        QSignalSpy desenhadas(janela->paginas(), &PaginasVisualizacao::desenhada);
        QVERIFY(pagina(desenhadas, 0));
        const QImage imagem = desenhadas.first().at(2).value<QImage>();
        QImage branca(imagem.width(), imagem.height() / 10, imagem.format());
        branca.fill(Qt::white);
        QVERIFY(imagem.copy(0, 0, branca.width(), branca.height()) != branca && imagem.copy(0, imagem.height() - branca.height(), branca.width(), branca.height()) != branca);
        const QStringList esperado{"4: 11 Os ficheiros temporários da base de dados estão danificados [database disk image is malformed]"};
        QTRY_COMPARE_WITH_TIMEOUT(avisos, esperado, 30000);
        // A page asked after another is drawn comes after what that one told.
        janela->irPara(2);
        QVERIFY(pagina(desenhadas, 2));
        desenhadas.clear();
        janela->findChild<QAction*>(QStringLiteral("ampliar"))->trigger();
        QVERIFY(pagina(desenhadas, 2));
        QCOMPARE(avisos, esperado);
    }

    // A listing for the printer or a PDF whose rows cannot be read once it
    // is being printed (its temporary files damaged when its pages are
    // counted) stops at its first page: the window that asked is told the
    // rows' failure, not the printer's; nothing is left or printed.
    void impressaSemLinhas_data()
    {
        QTest::addColumn<bool>("impressora");
        QTest::newRow("PDF") << false;
        QTest::newRow("impressora") << true;
    }
    void impressaSemLinhas()
    {
        QFETCH(bool, impressora);
        std::optional<ServidorImpressao> servidor;
        if (impressora) {
            if (const QString porque = servidor.emplace().porqueNao(); !porque.isEmpty())
                QSKIP(qPrintable(porque));
            r->imprimirEm(*servidor);
        }
        gerar(50000);
        QObject quemPediu;
        QStringList avisos;
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro), anotar(quemPediu, avisos));
        int estragados = 0;
        AntesDoEvento antes(QEvent::MetaCall, [&] { estragados = estragarTemporarios(); });
        r->motor->findChild<ExecucaoListagem*>()->installEventFilter(&antes);
        QVERIFY(fim.wait(60000) && estragados > 0);
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::ErroBaseDados));
        QCOMPARE(avisos, QStringList{"4: 11 Os ficheiros temporários da base de dados estão danificados [database disk image is malformed]"});
        QCOMPARE(ficheirosImpressos(), QStringList());
        QVERIFY(!servidor || (servidor->impressos().isEmpty() && servidor->guardados().isEmpty()));
    }

    // A page whose rows cannot be read is painted with its groups and a line
    // in place of the rows, said once however many bands of rows it has,
    // when the painter is given where to keep the failure; else the failure
    // is thrown, and nothing is made of the page.
    void paginaSemLinhasUmaVez()
    {
        using PaginacaoListagem::Faixa;
        const auto definicao = DefinicaoRelatorio::carregar(MotorTeste::pedido(QStringLiteral("m_produto.rpt"), {}).FicheiroRelatorio);
        QVERIFY(definicao);
        const QPageLayout folha = folhaDaEstacao(definicao->paisagem);
        PintorListagem pintor(*definicao, folha.paintRect(QPageLayout::Point).size());
        const QList<FonteListagem::Grupo> grupos{{"Areia", 2, 100}, {"Brita", 1, 50}, {"Cal", 1, 10}};
        pintor.preparar(QStringLiteral("<p>Estatísticas</p>"), grupos, 4, 160);
        PaginacaoListagem::Pagina pagina;
        qint64 de = 0;
        for (int g = 0; g < grupos.size(); ++g) {
            const double y = 60.0 * g;
            pagina.faixas << Faixa{Faixa::Tipo::Grupo, 0, 0, g, y, 20} << Faixa{Faixa::Tipo::Registos, de, de + grupos[g].n, -1, y + 20, 20}
                          << Faixa{Faixa::Tipo::TotalGrupo, 0, 0, g, y + 40, 20};
            de += grupos[g].n;
        }
        const auto ilegiveis = [](qint64, qint64) -> QList<QStringList> { throw Erro{11, QStringLiteral("danificadas")}; };
        const QString ficheiro = t->caminho(QStringLiteral("pagina.pdf"));
        Erro falha;
        bool lidas = true;
        {
            QPdfWriter pdf(ficheiro);
            pdf.setPageLayout(folha);
            pdf.setResolution(72);
            QPainter p(&pdf);
            lidas = pintor.pintar(p, pagina, 1, 1, ilegiveis, grupos, &falha);
        }
        QVERIFY(!lidas);
        QCOMPARE(falha.descricao, QStringLiteral("danificadas"));
        const QString texto = TextoPdf::texto(ficheiro);
        // Where the page's rows begin: under the first group's name.
        QCOMPARE(texto.count(QStringLiteral("As linhas desta página não puderam ser lidas.")), 1);
        QVERIFY(texto.indexOf(QStringLiteral("As linhas")) < texto.indexOf(QStringLiteral("Total de Areia")));
        for (const char* nome : {"Areia", "Brita", "Cal", "Total de Cal: 1 pesagens", "Página 1 de 1"})
            QVERIFY2(texto.contains(QString::fromUtf8(nome)), nome);

        QImage imagem(100, 100, QImage::Format_RGB32);
        QPainter p(&imagem);
        QVERIFY_THROWS_EXCEPTION(Erro, pintor.pintar(p, pagina, 1, 1, ilegiveis, grupos));
    }

    // A failure of the database's own file and one of its temporary storage
    // are each told as what they are: the file damaged while the rows are
    // copied; the temporary files damaged while the copied rows are measured.
    void falhaDoFicheiroOuDosTemporarios_data()
    {
        QTest::addColumn<bool>("ficheiro");  // else the temporary files
        QTest::addColumn<QString>("razao");
        QTest::newRow("ficheiro da base de dados") << true << "O ficheiro da base de dados está danificado [database disk image is malformed]";
        QTest::newRow("ficheiros temporários") << false << "Os ficheiros temporários da base de dados estão danificados [database disk image is malformed]";
    }
    void falhaDoFicheiroOuDosTemporarios()
    {
        QFETCH(bool, ficheiro);
        const QSqlDatabase db = t->estacao->bd();
        const auto pragma = [&](const char* nome) {
            QSqlQuery q = Consulta::executar(db, QStringLiteral("PRAGMA ") + QLatin1String(nome));
            return q.next() ? q.value(0).toLongLong() : 0;
        };
        const qint64 esquema = pragma("page_count");
        gerar(ficheiro ? 3000 : 50000);
        const auto definicao = DefinicaoRelatorio::carregar(MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), {}).FicheiroRelatorio);
        const auto seleccao = FormulaSeleccao::traduzir(Janeiro, Esquema::Pesagens);
        QVERIFY(definicao && seleccao);
        FonteListagem fonte(*definicao, t->caminho(QStringLiteral("Pesagem.mdb")));
        if (ficheiro) {
            // The pages the rows took, past the schema's: the file opens, its rows cannot be read.
            const qint64 pagina = pragma("page_size");
            QFile f(t->caminho(QStringLiteral("Pesagem.mdb")));
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(esquema * pagina));
            f.write(QByteArray((pragma("page_count") - esquema) * pagina, '\xA5'));
        }
        const std::atomic<bool> nao{false};
        Erro erro;
        try {
            fonte.copiar(*seleccao, nao);
            QVERIFY(estragarTemporarios() > 0);
            fonte.linhasPorRegisto([](int, const QString&) { return 1; }, nao);
        } catch (const Erro& e) {
            erro = e;
        }
        QCOMPARE(erro.numero, 11);
        QTEST(erro.descricao, "razao");
    }

    // A PDF that cannot be written whole (its disk fills, or it grows past
    // the size allowed) stops its run at the first page that cannot go out;
    // the window that asked is told which file and why; no file is left. A
    // print for the printer likewise, when the station's own file of it
    // cannot be written (the temporary folder fills): the window is told
    // that folder and why, not the printer's name, and nothing of it reaches
    // the print system.
    void pdfQueNaoSeEscreve_data()
    {
        QTest::addColumn<bool>("discoPequeno");  // else a limit on a file's size
        QTest::addColumn<bool>("impressora");
        QTest::addColumn<QString>("razao");
        for (const bool impressora : {false, true}) {
            const char* para = impressora ? "impressora" : "PDF";
            QTest::addRow("%s, disco cheio", para) << true << impressora << "Não há espaço livre no disco [No space left on device]";
            QTest::addRow("%s, acima do tamanho permitido", para) << false << impressora << "O ficheiro excede o tamanho máximo permitido [File too large]";
        }
    }
    void pdfQueNaoSeEscreve()
    {
        QFETCH(bool, discoPequeno);
        QFETCH(bool, impressora);
        std::optional<DiscoPequeno> disco;
        if (discoPequeno && !disco.emplace().ok())
            QSKIP("a small file system of its own needs root");
        std::optional<ServidorImpressao> servidor;
        if (impressora) {
            if (const QString porque = servidor.emplace().porqueNao(); !porque.isEmpty())
                QSKIP(qPrintable(porque));
            r->imprimirEm(*servidor);
        }
        // The PDF's folder, or the system's temporary folder, on the small disk.
        const QByteArray temporaria = qgetenv("TMPDIR");
        const auto repor = qScopeGuard([&] { qputenv("TMPDIR", temporaria); });
        if (disco && impressora)
            qputenv("TMPDIR", QFile::encodeName(disco->pasta()));
        else
            QVERIFY(!disco || QFile::link(disco->pasta(), t->caminho(QStringLiteral("impressos"))));
        gerar(3000);  // its temporary files stay below the limit
        auto pai = std::make_unique<QWidget>();
        r->saida.setJanelaPrincipal(pai.get());
        QObject quemPediu;
        QStringList avisos;
        PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro);
        p.Copias = 50;
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        std::optional<LimiteTamanhoFicheiros> limite;
        if (!disco)
            limite.emplace(2 << 20);
        r->motor->ExecutarRelatorio(p, anotar(quemPediu, avisos));
        auto* barra = pai->findChild<QProgressBar*>();
        int feitas = 0, total = 0;
        connect(barra, &QProgressBar::valueChanged, this, [&](int n) { feitas = n, total = barra->maximum(); });
        QVERIFY(fim.wait(120000));
        limite.reset();
        QFETCH(QString, razao);
        const QString ficheiro =
            impressora ? QStringLiteral("temporário da impressão, na pasta ") + QDir::tempPath()
                       : t->caminho(QStringLiteral("impressos/m_pesagens-%1.pdf").arg(t->relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
        QCOMPARE(avisos, QStringList{QStringLiteral("5: 482 Não foi possível escrever o ficheiro %1: %2").arg(ficheiro, razao)});
        QVERIFY2(feitas > 0 && feitas < total / 4, qPrintable(QStringLiteral("stopped after page %1 of %2").arg(feitas).arg(total)));
        QCOMPARE(ficheirosImpressos(), QStringList());
        QVERIFY(!disco || !impressora || QDir(disco->pasta()).entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty());
        QVERIFY(!servidor || (servidor->impressos().isEmpty() && servidor->guardados().isEmpty()));
    }

    // Two stations whose PDFs go into one shared folder write the same
    // listing in the same second, or someone puts a file at its name while
    // it is written: the file that took the name first keeps it, whole, and
    // the listing takes the next free name, the one it reports.
    void pastaPartilhada_data()
    {
        QTest::addColumn<bool>("outroPosto");  // else a file put there by hand
        QTest::newRow("outro posto") << true;
        QTest::newRow("ficheiro posto à mão") << false;
    }
    void pastaPartilhada()
    {
        QFETCH(bool, outroPosto);
        gerar(3000);
        auto pai = std::make_unique<QWidget>();
        r->saida.setJanelaPrincipal(pai.get());
        QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
        PedidoRelatorio p = MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro);
        p.Copias = 20;
        QCOMPARE(r->motor->ExecutarRelatorio(p), int(EstadoRelatorio::EmCurso));
        auto* rotulo = pai->findChild<QLabel*>(QStringLiteral("lblProgresso"));
        QTRY_VERIFY_WITH_TIMEOUT(rotulo->text().startsWith(QStringLiteral("Página ")), 60000);

        // Meanwhile, at the name it was promised:
        const QString nome = QStringLiteral("m_pesagens-%1").arg(t->relogio.agora().toString(QStringLiteral("yyyyMMdd-HHmmss")));
        const QString primeiro = t->caminho(QStringLiteral("impressos/") + nome + QStringLiteral(".pdf"));
        if (outroPosto) {
            // Another station, its own database, the same folder of PDFs and the same second.
            EstacaoTeste t2;
            t2.abrirBaseDados();
            QVERIFY(QFile::link(t->caminho(QStringLiteral("impressos")), t2.caminho(QStringLiteral("impressos"))));
            MotorTeste r2(t2);
            QSignalSpy fim2(r2.motor.get(), &MotorRelatorios::relatorioTerminado);
            r2.motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_pesagens.rpt"), Janeiro));
            QVERIFY(fim2.wait(60000));
            QCOMPARE(fim2.first().at(1).toInt(), int(EstadoRelatorio::Executado));
            QCOMPARE(QFileInfo(r2.saida.ultimoPdf()).fileName(), QFileInfo(primeiro).fileName());
        } else {
            escreverFicheiro(primeiro, "posto aqui à mão");
        }
        QVERIFY2(fim.isEmpty(), "the listing ended before the other file was made");
        const QByteArray outro = lerFicheiro(primeiro);
        QVERIFY(fim.wait(120000));
        QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Executado));
        QCOMPARE(lerFicheiro(primeiro), outro);
        QCOMPARE(r->saida.ultimoPdf(), t->caminho(QStringLiteral("impressos/") + nome + QStringLiteral("-2.pdf")));
        QCOMPARE(ficheirosImpressos(), (QStringList{nome + "-2.pdf", nome + ".pdf"}));
        const int paginas = TextoPdf::paginas(r->saida.ultimoPdf());
        QVERIFY(paginas > 20 && paginas % 20 == 0);
        QCOMPARE(TextoPdf::paginas(primeiro), outroPosto ? 1 : -1);
    }

    // The saves of the stations while a long listing reads its rows: each
    // waits for a short slice of the reading at most, never for the whole of
    // it (it would wait as long as the reading, and fail past the busy time);
    // and the listing holds each row stored when it started, once, and none
    // saved after: the groups and totals of a GROUP BY over those rows.
    void gravarDuranteALeitura()
    {
        constexpr int N = 50000;
        gerar(N);
        const QSqlDatabase db = t->estacao->bd();
        // What the disk takes to sync a save is not what is measured here.
        Consulta::executar(db, QStringLiteral("PRAGMA synchronous = OFF"));
        qint64 i = 0;
        const auto gravar = [&] {
            QElapsedTimer relogio;
            relogio.start();
            Consulta::Transaccao tr(db);
            Consulta::executar(db, QStringLiteral("INSERT INTO Pesagens (\"Tipo de pesagem\", Produto, \"Data de saída\", \"Peso líquido\") "
                                                  "VALUES ('G', ?, '2026-01-10 10:00:00', 1000)"),
                               {QStringLiteral("Produto %1").arg(++i % 30)});
            // A row of the period whose date another station moves to its end:
            // the listing may meet it twice, and holds it once.
            Consulta::executar(db, QStringLiteral("UPDATE Pesagens SET \"Data de saída\" = '2026-01-31 23:59:59' WHERE Pesagem = "
                                                  "(SELECT Pesagem FROM Pesagens WHERE \"Data de saída\" >= '2026-01-01' ORDER BY \"Data de saída\" LIMIT 1)"));
            tr.confirmar();
            return relogio.elapsed();
        };
        qint64 semListagem = 0;
        for (int k = 0; k < 10; ++k)
            semListagem = std::max(semListagem, gravar());
        QSqlQuery maior = Consulta::executar(db, QStringLiteral("SELECT MAX(Pesagem) FROM Pesagens"));
        QVERIFY(maior.next());
        const qint64 chaveAntes = maior.value(0).toLongLong();
        maior.finish();

        const auto definicao = DefinicaoRelatorio::carregar(MotorTeste::pedido(QStringLiteral("m_produto.rpt"), {}).FicheiroRelatorio);
        const auto seleccao = FormulaSeleccao::traduzir(Janeiro, Esquema::Pesagens);
        QVERIFY(definicao && seleccao);
        std::atomic<bool> acabou{false};
        QString falha;
        QList<FonteListagem::Grupo> grupos;
        qint64 registos = 0, liquido = 0;
        // The listing's own thread and connection, as the station runs it.
        std::thread leitura([&] {
            try {
                FonteListagem fonte(*definicao, t->caminho(QStringLiteral("Pesagem.mdb")));
                const std::atomic<bool> nao{false};
                fonte.copiar(*seleccao, nao);
                grupos = fonte.grupos();
                registos = fonte.registos();
                liquido = fonte.liquido();
            } catch (const Erro& e) {
                falha = e.descricao;
            }
            acabou = true;
        });
        // A save every 25 ms, as several stations weighing at once would make.
        QElapsedTimer duracao;
        duracao.start();
        qint64 durante = 0;
        int gravacoes = 0;
        QString falhaGravar;
        QTimer ritmo;
        ritmo.setInterval(25);
        QEventLoop ciclo;
        connect(&ritmo, &QTimer::timeout, &ciclo, [&] {
            if (acabou)
                return ciclo.quit();
            try {
                durante = std::max(durante, gravar());
                ++gravacoes;
            } catch (const Erro& e) {
                falhaGravar = e.descricao;
            }
        });
        ritmo.start();
        ciclo.exec();
        leitura.join();
        QVERIFY2(falha.isEmpty() && falhaGravar.isEmpty(), qPrintable(falha + falhaGravar));
        const QString medida = QStringLiteral("%1 saves during a reading of %2 ms: the longest %3 ms, %4 ms without it")
                                   .arg(gravacoes).arg(duracao.elapsed()).arg(durante).arg(semListagem);
        QVERIFY2(gravacoes > 1 && durante < semListagem + 100, qPrintable(medida));

        std::map<QString, std::pair<qint64, qint64>> esperados, lidos;
        QSqlQuery q = Consulta::executar(db, QStringLiteral("SELECT MIN(IFNULL(Produto, '')), COUNT(*), TOTAL(\"Peso líquido\") FROM Pesagens "
                                                            "WHERE Pesagem <= ? AND \"Data de saída\" BETWEEN '2026-01-01 00:00:00' AND '2026-01-31 23:59:59' "
                                                            "GROUP BY IFNULL(Produto, '') COLLATE NOCASE"),
                                         {chaveAntes});
        while (q.next())
            esperados[q.value(0).toString()] = {q.value(1).toLongLong(), qint64(q.value(2).toDouble())};
        for (const FonteListagem::Grupo& g : grupos)
            lidos[g.valor] = {g.n, g.liquido};
        QVERIFY(esperados.size() == 25 && esperados == lidos);
        QCOMPARE(registos, qint64(N) + 10);
        qint64 soma = 0;
        for (const auto& [nome, nl] : esperados)
            soma += nl.second;
        QCOMPARE(liquido, soma);
    }

    // The lines each row takes: the most of its columns, each text measured as
    // its column measures it; a number or a date as its widest value.
    void linhasDeCadaRegisto()
    {
        for (const auto& [codigo, matricula, tara] : {std::tuple{"V1", "AA-00-01 longa", 12000}, std::tuple{"V10", "BB", 100000}, std::tuple{"V2", "CC", 500}})
            Consulta::executar(t->estacao->bd(), QStringLiteral("INSERT INTO Viaturas (\"Código da viatura\", Viatura, \"Peso de tara\") VALUES (?, ?, ?)"),
                               {QString::fromLatin1(codigo), QString::fromLatin1(matricula), tara});
        QDir(t->pasta()).mkpath(QStringLiteral("partials"));
        escreverFicheiro(t->caminho(QStringLiteral("partials/estreitas.colunas")),
                         "Código da viatura | C | 10 | esquerda\nViatura | V | 10 | esquerda\nPeso de tara | T | 10 | direita\n");
        escreverFicheiro(t->caminho(QStringLiteral("viaturas.rpt")), "tabela = Viaturas\nordem = Código da viatura\npesos = Peso de tara\ncolunas = estreitas\n---\n");
        const auto definicao = DefinicaoRelatorio::carregar(t->caminho(QStringLiteral("viaturas.rpt")));
        QVERIFY(definicao);
        FonteListagem fonte(*definicao, t->caminho(QStringLiteral("Pesagem.mdb")));
        const std::atomic<bool> nao{false};
        fonte.copiar({}, nao);
        QCOMPARE(fonte.registos(), 3);
        // The code a line a character after the first, the plate one more each
        // five, the tare two from ten characters: "100 000 kg" gives every row two.
        const auto linhas = [](int coluna, const QString& texto) {
            return coluna == 0 ? int(texto.size()) - 1 : coluna == 1 ? 1 + int(texto.size()) / 5 : texto.size() > 9 ? 2 : 1;
        };
        QCOMPARE(fonte.linhasPorRegisto(linhas, nao), (std::vector<quint8>{3, 2, 2}));
        // With every weight on one line, V10's two lines are its code's.
        const auto pesosNumaLinha = [&](int coluna, const QString& texto) { return coluna == 2 ? 1 : linhas(coluna, texto); };
        QCOMPARE(fonte.linhasPorRegisto(pesosNumaLinha, nao), (std::vector<quint8>{3, 2, 1}));
        const QString kg = QStringLiteral("\u00A0kg");
        QCOMPARE(fonte.ler(0, 3), (QList<QStringList>{{"V1", "AA-00-01 longa", "12\u00A0000" + kg}, {"V10", "BB", "100\u00A0000" + kg}, {"V2", "CC", "500" + kg}}));
    }

    // A listing of a table: its own rows and order, "Sem registos." when the
    // table is empty, its copies one after the other.
    void listagemDeTabela()
    {
        QCOMPARE(executar(MotorTeste::pedido(QStringLiteral("l_produtos.rpt"), QString())), int(EstadoRelatorio::Executado));
        QVERIFY(TextoPdf::texto(r->saida.ultimoPdf(), 1).contains(QStringLiteral("Sem registos.")));
        for (const char* codigo : {"P2", "P10", "P1"})
            Consulta::executar(t->estacao->bd(), QStringLiteral("INSERT INTO Produtos VALUES (?, ?)"), {QString::fromLatin1(codigo), QString("Areia " + QString::fromLatin1(codigo))});
        QCOMPARE(executar(MotorTeste::pedido(QStringLiteral("l_produtos.rpt"), QString(), DestinoRelatorio::Impressora, 2)), int(EstadoRelatorio::Executado));
        QCOMPARE(TextoPdf::paginas(r->saida.ultimoPdf()), 2);
        const QString texto = TextoPdf::texto(r->saida.ultimoPdf(), 2).simplified();
        QVERIFY2(texto.contains(QStringLiteral("Código Produto P1 Areia P1 P10 Areia P10 P2 Areia P2")) && !texto.contains(QStringLiteral("Sem registos.")), qPrintable(texto));
        QCOMPARE(ficheirosImpressos().size(), 2);
    }
};

QTEST_MAIN(TesteListagens)
#include "tst_Listagens.moc"
