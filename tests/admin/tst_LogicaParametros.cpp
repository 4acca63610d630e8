#include "BancadaParametros.h"
#include "admin/PecasSerie.h"
#include "platform/Mensagens.h"

#include "support/EscritaFalhada.h"

#include <QDir>
#include <QScopeGuard>
#include <QtTest>
#include <csignal>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Every key of a station's settings file in the form the save writes, plus keys
// it never writes, comments and CRLF, in Latin-1.
QByteArray ficheiroCompleto(const QString& pasta, const QString& operadorAutomatico = QStringLiteral("False"))
{
    QString s = QStringLiteral(
        "; Posto de pesagem\n[BaseDados]\nLocalizacao=%1/Pesagem.mdb\n[BaseDadosBackup]\nLocalizacao=%1/Copia.mdb\n"
        "[FichInterface]\nLocalizacao=%1\n[IndicadorB1]\nComunicaçãoIP=True\nEndereçoIP=10.0.0.5\nLigado=True\n"
        "Indicador=Avery Berkel\nPorta=3\nHandshacking=2\nConfiguracao=19200,e,7,1.5\nDivisao=50\nTemporizacao=200\n"
        "[IndicadorB2]\nLigado=False\nComunicaçãoIP=False\nEndereçoIP=\nIndicador=Utilcel Matrix II\nPorta=12\n"
        "Handshacking=0\nConfiguracao=4800,o,8,2\nDivisao=1\nCapacidadeMaxima=30000\n"
        "[LeitorPrincipalB1]\nLigado=True\nPorta=8\nHandshacking=3\nConfiguracao=9600,n,8,1\nTemporizacao=40\n"
        "[LeitorPrincipalB2]\nLigado=False\nPorta=4\nHandshacking=0\nConfiguracao=9600,n,8,1\n"
        "[LeitorSecundarioB1]\nLigado=False\nPorta=5\nHandshacking=1\nConfiguracao=2400,s,5,1\n"
        "[LeitorSecundarioB2]\nLigado=True\nPorta=6\nHandshacking=0\nConfiguracao=9600,m,6,1\n"
        "[Geral]\nFormatViatNac=False\nDuasPesagens=True\nOperadorAutomatico=%2\n[NrCopias]\nPrimeiraPesagem=0\n"
        "SegundaVia=2\nEntrada=3\nSaida=4\nTalao=1\nUltimoDocPesagem=77\n[Acesso]\nOperador=Ana\n"
        "[PortasSerie]\nCOM3=/dev/ttyUSB0\n");
    return s.arg(pasta, operadorAutomatico).replace(u'\n', QStringLiteral("\r\n")).toLatin1();
}

// The lines of `depois` that are not, in order, lines of `antes`.
QStringList acrescentadas(const QByteArray& antes, const QByteArray& depois)
{
    const QStringList a = QString::fromUtf8(antes).split(u'\n');
    QStringList extra;
    qsizetype i = 0;
    for (const QString& linha : QString::fromUtf8(depois).split(u'\n')) {
        if (i < a.size() && a[i] == linha)
            ++i;
        else
            extra << linha;
    }
    return i == a.size() ? extra : QStringList{QStringLiteral("linhas perdidas")};
}

// The values as text, one blank between each.
template <typename... V>
QString juntar(const V&... v)
{
    QStringList s;
    (s << ... << QVariant(v).toString());
    return s.join(u' ');
}

}  // namespace

class TesteLogicaParametros : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pecasSerie_data();
    void pecasSerie();
    void cargaMostraODefinido_data();
    void cargaMostraODefinido();
    void gravarSemAlteracao_data();
    void gravarSemAlteracao();
    void cadaControloReLido();
    void ordemDasChaves();
    void listaSemSeleccaoGuardaOValor();
    void escritaRecusada_data();
    void escritaRecusada();
    void mortaAMeioNaoDeixaNada();
    void divisaoImediataECancelar();
    void seletorDeFicheiros_data();
    void seletorDeFicheiros();
    void empresaGravadaAntesDoFim();
    void empresaRecusadaDepoisDoFicheiro();
    void valoresPorDefeito();
};

void TesteLogicaParametros::pecasSerie_data()
{
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QList<int>>("posicoes");  // rate, parity, data, stop
    QTest::addColumn<QString>("gravada");      // written back with the lists untouched
    QTest::addColumn<QString>("par");          // then "Even" chosen
    QTest::newRow("defeito") << "9600,n,8,1" << QList<int>{5, 2, 4, 0} << "9600,n,8,1" << "9600,e,8,1";
    QTest::newRow("maiúscula e 1.5") << "19200,E,7,1.5" << QList<int>{7, 0, 3, 1} << "19200,e,7,1.5" << "19200,e,7,1.5";
    QTest::newRow("ímpar, 2") << "4800,o,8,2" << QList<int>{4, 3, 4, 2} << "4800,o,8,2" << "4800,e,8,2";
    QTest::newRow("velocidade fora da lista") << "110,N,8,1" << QList<int>{-1, 2, 4, 0} << "110,n,8,1" << "110,e,8,1";
    QTest::newRow("sem paridade") << "9600,,8,1" << QList<int>{5, -1, -1, -1} << "9600,,8,1" << "9600,e,,";
    QTest::newRow("sem velocidade") << ",n,8,1" << QList<int>{-1, 2, 4, 0} << ",n,8,1" << ",e,8,1";
    QTest::newRow("sem vírgula") << "9600" << QList<int>{-1, -1, -1, -1} << "9600" << "9600,e,,";
}

void TesteLogicaParametros::pecasSerie()
{
    QFETCH(QString, texto);
    QFETCH(QList<int>, posicoes);
    QFETCH(QString, par);
    PecasSerie::Seleccao s = PecasSerie::ler(texto);
    QCOMPARE((QList<int>{s.velocidade, s.paridade, s.dados, s.paragem}), posicoes);
    QTEST(PecasSerie::montar(s, texto), "gravada");
    s.paridade = 0;
    QCOMPARE(PecasSerie::montar(s, texto), par);
}

void TesteLogicaParametros::cargaMostraODefinido_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("mostrado");  // what the lists concerned show
    // model, division, minimum, indicator ports, main then second readers' ports, copies, IP, handshaking
    QTest::newRow("defeitos de arranque") << QByteArray() << "1 4 400 0 1 2 3 4 5 0 1 1 1 1 false 0";
    QTest::newRow("portas fora das listas")
        << QByteArray("[IndicadorB1]\nPorta=13\nHandshacking=4\n[IndicadorB2]\nPorta=0\n[LeitorPrincipalB1]\nPorta=9\n"
                      "[LeitorPrincipalB2]\nPorta=8\n[LeitorSecundarioB1]\nPorta=12\n")
        << "1 4 400 -1 -1 -1 7 -1 5 0 1 1 1 1 false -1";
    QTest::newRow("modelo noutra caixa, divisão fora, cópias 5, IP")
        << QByteArray("[IndicadorB1]\nIndicador=avery weigh-tronix\nDivisao=7\nComunicaçãoIP=True\n"
                      "[NrCopias]\nTalao=5\nPrimeiraPesagem=4\n")
        << "-1 -1 140 0 1 2 3 4 5 4 1 1 1 -1 true 0";
}

void TesteLogicaParametros::cargaMostraODefinido()
{
    QFETCH(QByteArray, ini);
    QFETCH(QString, mostrado);
    BancadaParametros p(ini);
    const QByteArray antes = p.bytes();
    const auto& b = p.c().b;
    const auto& n = p.c().cmbT;
    QCOMPARE(juntar(b[0].modelo, b[0].divisao, b[0].minimo, b[0].serie.porta, b[1].serie.porta,
                    b[0].principal.serie.porta, b[1].principal.serie.porta, b[0].secundario.serie.porta,
                    b[1].secundario.serie.porta, n[0], n[1], n[2], n[3], n[4], b[0].ip, b[0].serie.handshaking),
             mostrado);
    QCOMPARE(p.bytes(), antes);  // the load writes nothing
    QCOMPARE(p.t.mensagens.cursorOcupado, 0);
}

void TesteLogicaParametros::gravarSemAlteracao_data()
{
    QTest::addColumn<QString>("caso");
    QTest::newRow("ficheiro completo") << "completo";
    QTest::newRow("paridade guardada em maiúscula") << "maiuscula";
    QTest::newRow("operador automático, que o arranque não lê") << "operador";
    QTest::newRow("ficheiro dos valores de fábrica") << "fabrica";
}

void TesteLogicaParametros::gravarSemAlteracao()
{
    QFETCH(QString, caso);
    QTemporaryDir pasta;
    QByteArray ini = ficheiroCompleto(pasta.path(), caso == u"operador" ? QStringLiteral("True") : QStringLiteral("False"));
    if (caso == u"maiuscula")
        ini.replace("19200,e,7,1.5", "19200,E,7,1.5");
    if (caso == u"fabrica") {
        FicheiroPerfil f(pasta.filePath(QStringLiteral("Lorvane.ini")));
        Definicoes d;
        ModGlobal::ValoresPorDefeito(f, pasta.path(), d);
        ini = lerFicheiro(f.caminho());
    }
    BancadaParametros p(ini);
    QVERIFY(p.logica->GravarParametros());
    QCOMPARE(p.t.sistema.terminacoes, QList<int>{0});
    if (caso == u"completo")
        QCOMPARE(p.bytes(), ini);
    else if (caso == u"operador" || caso == u"maiuscula")
        QCOMPARE(p.bytes(), ficheiroCompleto(pasta.path()));
    else  // the keys the factory values leave out are added at the end of their sections
        QCOMPARE(acrescentadas(ini, p.bytes()),
                 QStringList({QStringLiteral("ComunicaçãoIP=False"), QStringLiteral("ComunicaçãoIP=False"),
                              QStringLiteral("OperadorAutomatico=False"), QStringLiteral("[BaseDadosBackup]"),
                              QStringLiteral("Localizacao=") + p.t.caminho("Pesagem.mdb"), QString(),
                              QStringLiteral("[FichInterface]"), QStringLiteral("Localizacao=") + p.t.pasta(), QString()}));
}

void TesteLogicaParametros::cadaControloReLido()
{
    BancadaParametros p(ficheiroCompleto(QStringLiteral("/x")));
    auto& c = p.c();
    c.txtG = {QStringLiteral("/srv/Pesagem.mdb"), QStringLiteral("/mnt/Pesagem.mdb"), QStringLiteral("exp.csv")};
    c.chkG = {true, false, true};
    c.cmbT = {4, 3, 2, 1, 0};
    c.b[0].ligada = false;
    c.b[0].modelo = 2;
    c.b[0].divisao = 5;
    c.b[0].ip = false;
    c.b[0].endereco = QStringLiteral("192.168.0.9");
    c.b[0].serie = {11, 3, {7, 0, 3, 1}};
    c.b[1].modelo = 0;
    c.b[1].principal = {true, {7, 1, {0, 4, 0, 2}}};
    c.b[1].secundario = {false, {0, 0, {12, 2, 4, 0}}};
    QVERIFY(p.logica->GravarParametros());

    const Definicoes d = p.relido();
    QCOMPARE(juntar(d.BaseDados, d.BaseDadosBackup, d.FichInterface, d.FormatViatNac, d.DuasPesagens,
                    FicheiroPerfil(p.ini()).ler("Geral", "OperadorAutomatico", {}), d.CopiasPrimeiraPesagem,
                    d.CopiasSegundaVia, d.CopiasEntrada, d.CopiasSaida, d.CopiasTalao),
             QStringLiteral("/srv/Pesagem.mdb /mnt/Pesagem.mdb exp.csv true false True 4 3 2 1 0"));
    const QString b1 = juntar(d.IndLigado[0], d.IndModelo[0], d.IndDivisao[0], d.PesagemMinima[0], d.ComunicacaoIP[0],
                              d.EnderecoIP[0], d.IndPorta[0], d.IndHandshaking[0], d.IndConfiguracao[0]);
    QCOMPARE(b1, QStringLiteral("false Utilcel Matrix II 50 1000 false 192.168.0.9 12 3 19200,e,7,1.5"));
    const QString b2 = juntar(d.IndModelo[1], d.LPLigado[1], d.LPPorta[1], d.LPHandshaking[1], d.LPConfiguracao[1], d.LSLigado[1],
                              d.LSPorta[1], d.LSHandshaking[1], d.LSConfiguracao[1]);
    QCOMPARE(b2, QStringLiteral("Avery Berkel true 8 1 300,s,4,2 false 1 0 256000,n,8,1"));
    const Definicoes& r = p.def();  // the settings record is the file's
    QCOMPARE(juntar(r.IndConfiguracao[0], r.LSConfiguracao[1], r.PesagemMinima[0], r.IndModelo[0]),
             juntar(d.IndConfiguracao[0], d.LSConfiguracao[1], d.PesagemMinima[0], d.IndModelo[0]));
    QCOMPARE(p.bytes().count("Temporizacao=200"), 1);  // keys the dialog does not show are kept
}

void TesteLogicaParametros::ordemDasChaves()
{
    BancadaParametros p;  // no settings file: every key written, in this order
    QVERIFY(p.logica->GravarParametros());
    const QString chaves =
        QString::fromUtf8(p.bytes()).remove(QRegularExpression(QStringLiteral("=[^\r\n]*"))).simplified();
    const QString indicador = QStringLiteral("ComunicaçãoIP EndereçoIP Ligado Indicador Porta Handshacking Configuracao Divisao");
    const QString leitor = QStringLiteral("Ligado Porta Handshacking Configuracao");
    QCOMPARE(chaves,
             QStringLiteral("[BaseDados] Localizacao [BaseDadosBackup] Localizacao [FichInterface] Localizacao "
                            "[IndicadorB1] %1 [IndicadorB2] %1 [LeitorPrincipalB1] %2 [LeitorPrincipalB2] %2 "
                            "[LeitorSecundarioB1] %2 [LeitorSecundarioB2] %2 [Geral] FormatViatNac DuasPesagens "
                            "OperadorAutomatico [NrCopias] PrimeiraPesagem SegundaVia Entrada Saida Talao")
                 .arg(indicador, leitor));
}

void TesteLogicaParametros::listaSemSeleccaoGuardaOValor()
{
    BancadaParametros p("[IndicadorB1]\nPorta=13\nIndicador=Outro\nDivisao=7\nConfiguracao=110,n,8,1\nHandshacking=9\n"
                        "[NrCopias]\nSaida=5\n[LeitorPrincipalB1]\nConfiguracao=9600\n");
    p.c().b[0].serie.pecas.paridade = 0;  // one piece chosen, the others kept
    QVERIFY(p.logica->GravarParametros());
    const Definicoes d = p.relido();
    QCOMPARE(juntar(d.IndPorta[0], d.IndModelo[0], d.IndDivisao[0], d.PesagemMinima[0], d.IndConfiguracao[0],
                    d.IndHandshaking[0], d.CopiasSaida, d.LPConfiguracao[0]),
             QStringLiteral("13 Outro 7 140 110,e,8,1 9 5 9600"));
}

void TesteLogicaParametros::escritaRecusada_data()
{
    QTest::addColumn<QString>("caso");
    QTest::addColumn<bool>("defeitos"); // "Valores por defeito" rather than "Gravar alterações"
    QTest::addColumn<QString>("razao");
    QTest::newRow("disco cheio, valores por defeito") << "cheio" << true << "O ficheiro excede o tamanho máximo permitido [";
    const QString imutavel = QStringLiteral("O ficheiro {pasta}/Lorvane.ini (um ficheiro, de root) não pode ser escrito "
                                            "(Sem permissão para escrever [");
    QTest::newRow("ficheiro imutável, gravar") << "ficheiro" << false << imutavel;
    QTest::newRow("ficheiro imutável, valores por defeito") << "ficheiro" << true << imutavel;
    QTest::newRow("pasta imutável, sem ficheiro") << "pasta" << false << "Sem permissão para escrever [";
    QTest::newRow("uma pasta no lugar do ficheiro")
        << "no lugar" << false
        << "Há na pasta {pasta} uma entrada Lorvane.ini (uma pasta, de root) que não é um ficheiro de texto)";
}

void TesteLogicaParametros::escritaRecusada()
{
    QFETCH(QString, caso);
    QFETCH(bool, defeitos);
    const bool noLugar = caso == u"no lugar";
    // A folder that takes no new file refuses only a file not made yet: a
    // file already there is written in place.
    BancadaParametros p(noLugar || caso == u"pasta" ? QByteArray() : ficheiroCompleto(QStringLiteral("/x")));
    if (noLugar)
        QVERIFY(QDir(p.t.pasta()).mkdir(QStringLiteral("Lorvane.ini")));
    // Read-only for root too: an immutable file or folder cannot be replaced or added to.
    const Imutavel imutavel(caso == u"pasta" ? p.t.pasta() : caso == u"ficheiro" ? p.ini() : QString());
    if ((caso == u"pasta" || caso == u"ficheiro") && !imutavel.ok())
        QSKIP("this file system cannot make a file immutable");
    const QByteArray antes = p.bytes();
    const QStringList pastaAntes = BancadaParametros::conteudo(p.t.pasta());
    const Definicoes registo = p.def();

    p.c().txtG[0] = QStringLiteral("/outra/Pesagem.mdb");
    p.c().b[0].divisao = 0;
    p.c().Etxt[0] = QStringLiteral("Outra empresa");
    bool gravado = true;
    {
        std::optional<LimiteTamanhoFicheiros> limite;
        if (caso == u"cheio")
            limite.emplace(8);
        gravado = defeitos ? p.logica->ValoresPorDefeito() : p.logica->GravarParametros();
    }
    QVERIFY(!gravado);
    QCOMPARE(p.t.mensagens.caixas.size(), 1);
    const auto caixa = p.t.mensagens.caixas[0];
    QFETCH(QString, razao);
    razao.replace(QStringLiteral("{pasta}"), p.t.pasta());
    QVERIFY2(caixa.texto.startsWith(QStringLiteral("Não foi possível gravar Lorvane.ini\n\n(") + razao), qPrintable(caixa.texto));
    QCOMPARE(std::tuple(caixa.estilo, caixa.titulo), std::tuple(Estilo::Exclamacao, QStringLiteral("Zumarel")));
    QCOMPARE(p.bytes(), antes);
    QCOMPARE(BancadaParametros::conteudo(p.t.pasta()), pastaAntes);
    QCOMPARE(p.empresa(QStringLiteral("Linha 1")).toString(), QString());
    QCOMPARE(std::tuple(p.t.sistema.terminacoes, p.portasFechadas), std::tuple(QList<int>{}, 0));
    QCOMPARE(juntar(p.def().BaseDados, p.def().IndDivisao[0], p.def().EnderecoIP[0]),
             juntar(registo.BaseDados, registo.IndDivisao[0], registo.EnderecoIP[0]));
}

// The save killed again and again while it writes the settings file (the
// system's own kill, SIGXFSZ, at the byte past the size the process may
// write): the file stays as it was, the company row too, nothing is left in
// the temporary folder, and beside the file at most the one the next save reuses.
void TesteLogicaParametros::mortaAMeioNaoDeixaNada()
{
    BancadaParametros p(BancadaParametros::maiorQueBaseDados(ficheiroCompleto(QStringLiteral("/x"))));
    const QByteArray antes = p.bytes();
    QTemporaryDir temporarios;
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temporarios.path()));
    const auto repor = qScopeGuard([&] { qputenv("TMPDIR", tmpdir); });
    p.c().Etxt[0] = QStringLiteral("Outra empresa");
    p.c().b[0].divisao = 0;
    for (int morte = 0; morte < 3; ++morte) {
        const pid_t filho = ::fork();
        QVERIFY(filho >= 0);
        if (filho == 0) {
            const rlimit semCore{0, 0};
            rlimit limite{};
            ::getrlimit(RLIMIT_FSIZE, &limite);
            limite.rlim_cur = rlim_t(p.limiteEntreBaseDadosEIni());
            ::setrlimit(RLIMIT_CORE, &semCore);
            ::signal(SIGXFSZ, SIG_DFL);
            ::setrlimit(RLIMIT_FSIZE, &limite);
            p.logica->GravarParametros();
            ::_exit(0);
        }
        int estado = 0;
        QCOMPARE(::waitpid(filho, &estado, 0), filho);
        QVERIFY(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGXFSZ);
        QCOMPARE(p.bytes(), antes);
        QCOMPARE(p.empresa(QStringLiteral("Linha 1")).toString(), QString());
        QCOMPARE(BancadaParametros::conteudo(temporarios.path()), QStringList());
        QVERIFY(BancadaParametros::conteudo(p.t.pasta()).size() <= 3);
    }
    QVERIFY(p.logica->GravarParametros());
    QCOMPARE(BancadaParametros::conteudo(p.t.pasta()), (QStringList{"Lorvane.ini", "Pesagem.mdb"}));
    QCOMPARE(p.relido().IndDivisao[0], qint16(1));
}

void TesteLogicaParametros::divisaoImediataECancelar()
{
    BancadaParametros p;
    const QByteArray antes = p.bytes();
    p.c().b[1].divisao = 5;  // "50"
    p.logica->cmbDiv_Click(1);
    QCOMPARE(p.def().IndDivisao, (PorBascula<qint16>{20, 50}));
    QCOMPARE(p.def().PesagemMinima, (PorBascula<qint16>{400, 1000}));
    QCOMPARE(p.c().b[1].minimo, QStringLiteral("1000"));

    p.c().b[0].divisao = -1;  // nothing selected: "10", with a beep and the focus on the list
    p.logica->cmbDiv_Click(0);
    QCOMPARE(p.c().b[0].divisao, 3);
    QCOMPARE(p.def().PesagemMinima[0], qint16(200));
    QCOMPARE(p.t.mensagens.beeps, 1);
    QCOMPARE(p.logica->tomarFocoPedido(), QStringLiteral("cmbDiv0"));

    p.logica->Cancelar();
    QCOMPARE(p.def().IndDivisao, (PorBascula<qint16>{20, 20}));
    QCOMPARE(p.def().PesagemMinima, (PorBascula<qint16>{400, 400}));
    QCOMPARE(p.bytes(), antes);
}

void TesteLogicaParametros::seletorDeFicheiros_data()
{
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("escolha");  // "-": cancelled; a name in the station's folder
    QTest::addColumn<QString>("caixa");    // "<pasta>" stands for the folder
    QTest::newRow("base de dados: o caminho inteiro") << 0 << "Pesagem.mdb" << "<pasta>/Pesagem.mdb";
    QTest::newRow("backup: mesmo inexistente") << 1 << "Outra.mdb" << "<pasta>/Outra.mdb";
    QTest::newRow("interface existente: só o nome") << 2 << "Pesagem.mdb" << "Pesagem.mdb";
    QTest::newRow("interface inexistente: vazia") << 2 << "nada.csv" << "";
    QTest::newRow("cancelado: fica como estava") << 0 << "-" << "antes";
}

void TesteLogicaParametros::seletorDeFicheiros()
{
    QFETCH(int, k);
    QFETCH(QString, escolha);
    QFETCH(QString, caixa);
    BancadaParametros p;
    p.c().txtG[k] = QStringLiteral("antes");
    p.def().BaseDadosBackup = QStringLiteral("/copia/Pesagem.mdb");
    if (escolha != u"-")
        p.escolhas << p.t.caminho(escolha);
    p.logica->cmdG_Click(k);
    QCOMPARE(p.c().txtG[k], caixa.replace(QStringLiteral("<pasta>"), p.t.pasta()));
    QCOMPARE(p.pedidos.size(), 1);
    QCOMPARE(p.pedidos[0].pasta, p.t.pasta());  // every picker starts in the database's folder
    QCOMPARE(p.pedidos[0].ficheiro, (std::array{p.def().BaseDados, p.def().BaseDadosBackup, p.def().FichInterface}[k]));
}

void TesteLogicaParametros::empresaGravadaAntesDoFim()
{
    BancadaParametros p;
    p.c().Etxt[0] = QStringLiteral("Areias D'Almeida, Lda");
    p.c().Etxt[11] = QString();  // an emptied counter is 0
    // A weighing advances a counter while the dialog is open: not set back.
    Consulta::executar(p.t.estacao->bd(), QStringLiteral("UPDATE Empresas SET Entrada = 41 WHERE Empresa = 1"));
    QStringList ordem;
    p.t.mensagens.aoMostrar = [&](const MensagensFalsas::Caixa&) {
        ordem << QStringLiteral("empresa %1, ficheiro %2, portas %3")
                     .arg(p.empresa(QStringLiteral("Linha 1")).toString())
                     .arg(p.relido().IndDivisao[0]).arg(p.portasFechadas);
        return 0;
    };
    p.c().b[0].divisao = 0;
    QVERIFY(p.logica->GravarParametros());
    QCOMPARE(ordem, QStringList{QStringLiteral("empresa Areias D'Almeida, Lda, ficheiro 1, portas 1")});
    QCOMPARE(p.empresa(QStringLiteral("Entrada")).toInt(), 41);
    QCOMPARE(p.empresa(QStringLiteral("Talão")), QVariant(0));

    // Without row 1 the save makes it.
    Consulta::executar(p.t.estacao->bd(), QStringLiteral("DELETE FROM Empresas"));
    p.logica->Form_Load();
    QCOMPARE(p.c().Etxt[0], QString());
    p.c().Etxt[8] = QStringLiteral("Obrigado");
    QVERIFY(p.logica->GravarParametros());
    QCOMPARE(p.empresa(QStringLiteral("Linha de fundo")).toString(), QStringLiteral("Obrigado"));
}

// The company row refused by the database once the settings file is saved:
// its box, and the program does not end, so the lines can be saved again.
void TesteLogicaParametros::empresaRecusadaDepoisDoFicheiro()
{
    BancadaParametros p;
    Consulta::executar(p.t.estacao->bd(), QStringLiteral("CREATE TRIGGER recusa BEFORE UPDATE ON Empresas "
                                                         "BEGIN SELECT RAISE(ABORT, 'linha bloqueada'); END"));
    p.c().Etxt[0] = QStringLiteral("Outra empresa");
    p.c().b[0].divisao = 0;
    QVERIFY(!p.logica->GravarParametros());
    QCOMPARE(p.t.mensagens.caixas.size(), 1);
    QCOMPARE(p.t.mensagens.caixas[0].texto, QStringLiteral("Erro no acesso à tabela de empresas\n\n"
                                                           "(Valor recusado pelas regras da tabela [linha bloqueada])"));
    QCOMPARE(std::tuple(p.t.sistema.terminacoes, p.portasFechadas), std::tuple(QList<int>{}, 0));
    QCOMPARE(std::tuple(p.relido().IndDivisao[0], p.def().IndDivisao[0]), std::tuple(qint16(1), qint16(1)));
}

void TesteLogicaParametros::valoresPorDefeito()
{
    BancadaParametros p(ficheiroCompleto(QStringLiteral("/x")));
    p.c().Etxt[0] = QStringLiteral("não gravada");
    QVERIFY(p.logica->ValoresPorDefeito());
    const Definicoes d = p.relido();
    QCOMPARE(d.IndModelo[0], QStringLiteral("Avery Weigh-Tronix"));
    QCOMPARE(p.def().IndModelo[0], QStringLiteral("Avery Weigh-Tronix"));
    QCOMPARE(p.def().PesagemMinima, (PorBascula<qint16>{400, 400}));
    QCOMPARE(p.t.mensagens.caixas.size(), 0);
    QCOMPARE(p.t.sistema.terminacoes, QList<int>{});
    QVERIFY(p.empresa(QStringLiteral("Linha 1")).toString() != QStringLiteral("não gravada"));
}

QTEST_GUILESS_MAIN(TesteLogicaParametros)
#include "tst_LogicaParametros.moc"
