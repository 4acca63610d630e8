#include "ImpressaoTeste.h"
#include "platform/impressao/SemSinalPipe.h"
#include "platform/gui/JanelaVisualizacao.h"
#include "support/AvisosAnotados.h"
#include "support/EstacaoTeste.h"
#include "support/MotorTeste.h"
#include "support/ProxyImpressao.h"
#include "support/ServidorImpressao.h"
#include "support/TextoPdf.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLoggingCategory>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <cups/ipp.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString Janeiro = QStringLiteral("{Pesagens.Data de saída} in Date (2026, 01, 01) to Date (2026, 01, 31)");

// Where job 1 is: printed (1), kept by the server (2), or nowhere (0).
QStringList trabalhoUm(int onde)
{
    return onde == 1 ? QStringList{"trabalho-1.pdf"} : onde == 2 ? QStringList{"d00001-001"} : QStringList();
}

}  // namespace

// Prints on their way to a print server of the test's own (or to a server
// that is not there, silent or stopped), through the station's report
// printer on a real database: found as the station finds its print system,
// handed over by the print thread while the station goes on, one at a
// time, each within its wait. The machine's own print server is never
// reached.
class TesteEntregaImpressao : public QObject
{
    Q_OBJECT

    std::unique_ptr<EstacaoTeste> t;
    std::unique_ptr<MotorTeste> r;

    QStringList pdfs() const
    {
        return QDir(t->caminho(QStringLiteral("impressos"))).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!TextoPdf::disponivel())
            QSKIP("poppler-utils (pdftotext, pdfinfo) is not installed");
        // The refusals are logged by design; their statuses are what is checked.
        QLoggingCategory::setFilterRules(Silencio);
    }
    void init()
    {
        t = std::make_unique<EstacaoTeste>();
        t->abrirBaseDados();
        r = std::make_unique<MotorTeste>(*t);
        semearDocumentos(t->estacao->bd());
    }
    void cleanup()
    {
        if (r)
            delete r->saida.ultimaVisualizacao();
        r.reset();
        t.reset();
    }
    void ondeEstaOSistema_data();
    void ondeEstaOSistema();
    void impressaoNaFila_data();
    void impressaoNaFila();
    void impressoesUmaDeCadaVez();
    void listagemNaFila_data();
    void listagemNaFila();
    void cancelarAEntregar();
    void servidorQueDesliga_data();
    void servidorQueDesliga();
};

// Where the station finds its print system, without a word on the network:
// the server named by CUPS_SERVER, else by the ServerName of the user's
// client.conf, else of the system's; else a local server whose socket is at
// a usual place (even with nobody behind it); else none, and only then do
// prints become PDFs. The queue named for the user comes from LPDEST, else
// PRINTER but "lp", else the Default of the user's lpoptions, else of the
// system's.
void TesteEntregaImpressao::ondeEstaOSistema_data()
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

void TesteEntregaImpressao::ondeEstaOSistema()
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
void TesteEntregaImpressao::impressaoNaFila_data()
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
    QTest::newRow("recusa") << 1 << true << 0 << QStringList() << falha << "5: 482 " + RecusaFila << "" << 0;
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

void TesteEntregaImpressao::impressaoNaFila()
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
    QTRY_COMPARE_WITH_TIMEOUT(cups.trabalhos(), trabalhoUm(saida), 10000);
    const QString documento = saida == 1 ? cups.impresso(1) : cups.guardado(1);
    if (saida != 0) {
        QCOMPARE(TextoPdf::paginas(documento), 2);
        QCOMPARE(TextoPdf::texto(documento).count(QStringLiteral("Guia de remessa")), 2);
    }
}

// Prints asked one after another reach the print server in the order they
// were asked, one at a time: no request of one while a request of another
// waits for its answer.
void TesteEntregaImpressao::impressoesUmaDeCadaVez()
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

// A listing for the printer, printed at once or from its preview, goes to
// the queue whole, all its copies in one job: a queue that takes it
// prints it; one that refuses it tells the window that asked, with the
// print system's reason; one that holds it keeps it whole, and that is
// no failure. A server that has stopped fails it once the stated wait
// has passed, whatever the print system's library does inside. Nothing
// goes into impressos.
void TesteEntregaImpressao::listagemNaFila_data()
{
    QTest::addColumn<bool>("daVisualizacao");
    QTest::addColumn<int>("fila");  // ServidorImpressao::Fila; -1: the server stopped
    QTest::addColumn<QStringList>("esperados");  // what the window is told; "%1": the server's socket
    for (const bool daVisualizacao : {false, true}) {
        const char* de = daVisualizacao ? "da pré-visualização" : "directa";
        QTest::addRow("%s, aceita", de) << daVisualizacao << 0 << QStringList();
        QTest::addRow("%s, recusa", de) << daVisualizacao << 1
                                        << QStringList{"5: 482 A impressora fila não aceitou o trabalho: Destination \"fila\" is not accepting jobs."};
        QTest::addRow("%s, parada", de) << daVisualizacao << 2 << QStringList();
    }
    QTest::addRow("directa, servidor parado") << false << -1
                                              << QStringList{"5: 482 Não foi possível imprimir: o servidor de impressão %1 não respondeu em 2 s"};
}
void TesteEntregaImpressao::listagemNaFila()
{
    QFETCH(bool, daVisualizacao);
    QFETCH(int, fila);
    ServidorImpressao servidor{ServidorImpressao::Fila(std::max(fila, 0))};
    if (!servidor.porqueNao().isEmpty())
        QSKIP(qPrintable(servidor.porqueNao()));
    r->imprimirEm(servidor);
    r->saida.esperaImpressao = std::chrono::milliseconds(2000);
    semearJaneiro(t->estacao->bd());
    if (fila < 0)
        servidor.parar();
    QObject quemPediu;
    QStringList avisos;
    QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
    QElapsedTimer espera;
    espera.start();
    r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_produto.rpt"), Janeiro,
                                                   daVisualizacao ? DestinoRelatorio::Janela : DestinoRelatorio::Impressora, 2),
                                anotar(quemPediu, avisos));
    QVERIFY(fim.wait(60000));
    if (daVisualizacao) {
        JanelaVisualizacao* janela = r->saida.ultimaVisualizacao();
        QVERIFY(janela);
        fim.clear();
        janela->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
        QVERIFY(fim.wait(60000));
    }
    QFETCH(QStringList, esperados);
    QCOMPARE(avisos, esperados.replaceInStrings(QStringLiteral("%1"), servidor.socket()));
    QVERIFY2(espera.elapsed() < 4000, qPrintable(QStringLiteral("%1 ms").arg(espera.elapsed())));
    QCOMPARE(pdfs(), QStringList());
    if (fila < 0) {
        servidor.continuar();
        return;
    }
    QTRY_COMPARE_WITH_TIMEOUT(servidor.trabalhos(), trabalhoUm(fila == 0 ? 1 : fila == 2 ? 2 : 0), 10000);
    const QString documento = fila == 0 ? servidor.impresso(1) : servidor.guardado(1);
    if (fila == 1)
        return;
    // The preview prints one copy; the request, its two: two pages each.
    const int copias = daVisualizacao ? 1 : 2;
    QCOMPARE(TextoPdf::paginas(documento), 2 * copias);
    QCOMPARE(TextoPdf::texto(documento).count(QStringLiteral("Total geral: 12 pesagens")), copias);
}

// "Cancelar" pressed while a listing is handed to a print server that
// went silent in the middle of it ends the run within a second or two,
// and the job already made for it is cancelled at the server: nothing of
// it is printed, then or later.
void TesteEntregaImpressao::cancelarAEntregar()
{
    ServidorImpressao servidor;
    if (!servidor.porqueNao().isEmpty())
        QSKIP(qPrintable(servidor.porqueNao()));
    ProxyImpressao intermediario(servidor.socket(), t->pasta());
    intermediario.emudecerApos(4096);
    r->saida.lugaresImpressao.ambiente[QStringLiteral("CUPS_SERVER")] = intermediario.socket();
    semearJaneiro(t->estacao->bd());
    auto pai = std::make_unique<QWidget>();
    r->saida.setJanelaPrincipal(pai.get());
    QSignalSpy fim(r->motor.get(), &MotorRelatorios::relatorioTerminado);
    QCOMPARE(r->motor->ExecutarRelatorio(MotorTeste::pedido(QStringLiteral("m_produto.rpt"), Janeiro)),
             int(EstadoRelatorio::EmCurso));
    QTRY_VERIFY_WITH_TIMEOUT(intermediario.emudecida(), 20000);
    QVERIFY(fim.isEmpty());
    QElapsedTimer espera;
    espera.start();
    pai->findChild<QPushButton*>(QStringLiteral("cmdCancelar"))->click();
    QVERIFY(fim.wait(10000));
    QCOMPARE(fim.first().at(1).toInt(), int(EstadoRelatorio::Cancelado));
    QVERIFY2(espera.elapsed() < 2000, qPrintable(QStringLiteral("%1 ms to stop").arg(espera.elapsed())));
    QTRY_COMPARE_WITH_TIMEOUT(servidor.estadoTrabalho(1), int(IPP_JSTATE_CANCELED), 5000);
    QVERIFY(servidor.impressos().isEmpty());
    QCOMPARE(pdfs(), QStringList());
}

// Handing a print to a server that hangs up in the middle fails the write,
// and the program goes on: the signal such a write raises is taken, and
// the thread's signals are as they were (one pending before stays pending).
void TesteEntregaImpressao::servidorQueDesliga_data()
{
    QTest::addColumn<bool>("pendenteAntes");
    QTest::newRow("nenhum sinal antes") << false;
    QTest::newRow("um sinal pendente antes") << true;
}

void TesteEntregaImpressao::servidorQueDesliga()
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

QTEST_MAIN(TesteEntregaImpressao)
#include "tst_EntregaImpressao.moc"
