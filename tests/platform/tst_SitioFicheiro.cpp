// Where a save of the settings file goes and what stops it: each symbolic
// link on the path judged by its owner, every refusal naming the entry it
// met and whose it is, and the box naming who holds the turn a save waited for.
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QByteArray Antes = "[Segredo]\nChave=1\n";

// A symbolic link at `ligacao` to `alvo`, owned by the user `dono`.
void ligar(const QString& alvo, const QString& ligacao, const QString& dono)
{
    QVERIFY(QFile::link(alvo, ligacao));
    const passwd* p = ::getpwnam(qPrintable(dono));
    QVERIFY(p);
    QCOMPARE(::lchown(QFile::encodeName(ligacao).constData(), p->pw_uid, gid_t(-1)), 0);
}

QString recusada(const QString& ligacao, const QString& dono)
{
    return QStringLiteral("A ligação simbólica ") + ligacao + QStringLiteral(" é de ") + dono
           + QStringLiteral(", que não é o utilizador deste posto, o administrador nem o dono da pasta: não é seguida");
}

// What the user `quem` reads of [Segredo] Chave ("-": the default) and how its save went.
QString lerEGravar(const QString& quem, const QString& c)
{
    return QString::fromUtf8(comoUtilizador(quem, {}, [&]() -> QByteArray {
        return FicheiroPerfil(c).ler("Segredo", "Chave", "-").toUtf8() + '|' + gravarChave(c, QStringLiteral("A"));
    }));
}

}  // namespace

class TesteSitioFicheiro : public QObject
{
    Q_OBJECT

    // Where each user's state folder is made, for the copies of old texts.
    QTemporaryDir estados;

private Q_SLOTS:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("these tests act as other users: they need root");
        usarPastasEstado(estados.path());
    }

    // A folder on the path that is a link (/srv/partilha/estacao -> /srv/x)
    // is judged as the file's own link is: followed only where the station's
    // user, root or the owner of the folder it sits in (here one where
    // anyone makes files) made it. Refused, it is neither read nor written
    // through, and the box names it and its owner.
    void ligacaoAMeioDoCaminho_data()
    {
        QTest::addColumn<QString>("quem");       // the station's user
        QTest::addColumn<QString>("pastaDono");  // of the shared folder (sticky, anyone makes files)
        QTest::addColumn<QString>("ligacaoDono");
        QTest::addColumn<bool>("seguida");
        QTest::newRow("de outro utilizador, posto do administrador") << "root" << "root:root" << "nobody" << false;
        QTest::newRow("de outro utilizador, posto de um utilizador") << "bin" << "root:root" << "nobody" << false;
        QTest::newRow("do administrador") << "bin" << "daemon:daemon" << "root" << true;
        QTest::newRow("do próprio utilizador") << "bin" << "root:root" << "bin" << true;
        QTest::newRow("do dono da pasta") << "bin" << "nobody:nogroup" << "nobody" << true;
    }
    void ligacaoAMeioDoCaminho()
    {
        QFETCH(QString, quem);
        QFETCH(QString, pastaDono);
        QFETCH(QString, ligacaoDono);
        QFETCH(bool, seguida);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString partilha = raiz.filePath(QStringLiteral("partilha")), x = raiz.filePath(QStringLiteral("x"));
        QVERIFY(QDir().mkdir(partilha) && QDir().mkdir(x));
        mudarDono(partilha, pastaDono, 01777);
        const QString grupo = quem == u"root" ? QStringLiteral("root") : quem;
        mudarDono(x, quem + u':' + grupo, 0755);
        const QString alvo = x + QStringLiteral("/Lorvane.ini");
        escreverFicheiro(alvo, Antes);
        mudarDono(alvo, quem + u':' + grupo, 0600);
        const QString estacao = partilha + QStringLiteral("/estacao");
        ligar(x, estacao, ligacaoDono);
        const QString c = estacao + QStringLiteral("/Lorvane.ini");

        if (seguida) {
            QCOMPARE(lerEGravar(quem, c), QStringLiteral("1|ok"));
            QCOMPARE(lerFicheiro(alvo), Antes + "\n[Postos]\nA=1\n");
        } else {
            QCOMPARE(lerEGravar(quem, c), QStringLiteral("-|") + recusada(estacao, ligacaoDono));
            QCOMPARE(lerFicheiro(alvo), Antes);
            // The log says why the keys take their defaults.
            if (quem == u"root") {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot be read.*")
                                                                      + QRegularExpression::escape(recusada(estacao, ligacaoDono))));
                QCOMPARE(FicheiroPerfil(c).ler("Segredo", "Chave", "-"), QStringLiteral("-"));
            }
        }
        QVERIFY(S_ISLNK(estado(estacao).st_mode));
        QCOMPARE(conteudoPasta(x), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // Paths whose links lead through others: a chain of the site's own links
    // with another user's among them is refused at that one; ".." after a
    // link is the folder above where the link led, as the system takes it,
    // on a relative path too (from the working folder); links in a ring end
    // in the system's own refusal. The station here is the administrator's,
    // the shared folder the administrator's with the sticky bit.
    void caminhosComLigacoes_data()
    {
        QTest::addColumn<QStringList>("ligacoes");  // "name>target>owner", made in this order
        QTest::addColumn<QString>("real");          // the file written, or empty when none
        QTest::addColumn<QString>("razao");         // how the refusal begins
        QTest::addColumn<QString>("caminho");       // the path saved; relative, from {r}
        const QString posto = QStringLiteral("{r}/posto/Lorvane.ini");
        QTest::newRow("do posto e depois de outro utilizador")
            << QStringList{"posto/Lorvane.ini>../partilha/estacao/Lorvane.ini>root", "partilha/estacao>{r}/x>nobody"}
            << "" << recusada("{r}/partilha/estacao", "nobody") << posto;
        QTest::newRow("do posto e depois o ficheiro de outro utilizador")
            << QStringList{"posto/Lorvane.ini>../partilha/Lorvane.ini>root", "partilha/Lorvane.ini>../x/Lorvane.ini>nobody"}
            << "" << recusada("{r}/partilha/Lorvane.ini", "nobody") << posto;
        QTest::newRow("cadeia só do posto") << QStringList{"partilha/estacao>{r}/fundo>root", "fundo/y>../x>root",
                                                           "posto/Lorvane.ini>../partilha/estacao/y/Lorvane.ini>root"}
                                            << "x/Lorvane.ini" << "" << posto;
        QTest::newRow("relativa com .. depois de uma ligação")
            << QStringList{"ligada>fundo/meio>root", "posto/Lorvane.ini>../ligada/../x/Lorvane.ini>root"}
            << "fundo/x/Lorvane.ini" << "" << posto;
        QTest::newRow("pastas em ciclo")
            << QStringList{"a>b>root", "b>a>root", "posto/Lorvane.ini>../a/Lorvane.ini>root"} << ""
            << "Há ligações simbólicas em ciclo no caminho [" << posto;
        QTest::newRow("caminho relativo, .. depois de uma ligação")
            << QStringList{"ligada>fundo/meio>root", "partilha/estacao>{r}/x>nobody"}
            << "fundo/x/Lorvane.ini" << "" << "ligada/../x/Lorvane.ini";
        QTest::newRow("caminho relativo por outro utilizador")
            << QStringList{"ligada>fundo/meio>root", "partilha/estacao>{r}/x>nobody"}
            << "" << recusada("{r}/partilha/estacao", "nobody") << "ligada/../../partilha/estacao/Lorvane.ini";
    }
    void caminhosComLigacoes()
    {
        QFETCH(QStringList, ligacoes);
        QFETCH(QString, real);
        QFETCH(QString, razao);
        QFETCH(QString, caminho);
        QTemporaryDir raiz;
        const QString r = raiz.path();
        const QString aqui = QDir::currentPath();
        const auto voltar = qScopeGuard([&] { QDir::setCurrent(aqui); });
        QVERIFY(QDir::setCurrent(r));
        QCOMPARE(::chmod(QFile::encodeName(r).constData(), 0755), 0);
        for (const char* p : {"posto", "partilha", "x", "fundo", "fundo/meio", "fundo/x"})
            QVERIFY(QDir(r).mkdir(QString::fromLatin1(p)));
        QCOMPARE(::chmod(QFile::encodeName(raiz.filePath(QStringLiteral("partilha"))).constData(), 01777), 0);
        for (const char* f : {"x/Lorvane.ini", "fundo/x/Lorvane.ini"})
            escreverFicheiro(raiz.filePath(QString::fromLatin1(f)), Antes);
        for (const QString& l : ligacoes) {
            const QStringList p = l.split(u'>');
            ligar(QString(p[1]).replace(QStringLiteral("{r}"), r), raiz.filePath(p[0]), p[2]);
        }
        const QString c = caminho.replace(QStringLiteral("{r}"), r);
        if (!real.isEmpty())  // where the system itself leads the path
            QCOMPARE(QFileInfo(c).canonicalFilePath(), raiz.filePath(real));

        FicheiroPerfil ini(c);
        ini.definirEsperaVez(1s);
        QCOMPARE(ini.escrever(QStringLiteral("Postos"), QStringLiteral("A"), QStringLiteral("1")), real != u"");
        QVERIFY2(real.isEmpty() ? ini.razaoFalha().startsWith(QString(razao).replace(QStringLiteral("{r}"), r))
                                : ini.razaoFalha().isEmpty(),
                 qPrintable(ini.razaoFalha()));
        for (const char* f : {"x/Lorvane.ini", "fundo/x/Lorvane.ini"})
            QCOMPARE(lerFicheiro(raiz.filePath(QString::fromLatin1(f))),
                     real == QLatin1String(f) ? Antes + "\n[Postos]\nA=1\n" : Antes);
        for (const QString& l : ligacoes)
            QVERIFY(S_ISLNK(estado(raiz.filePath(l.section(u'>', 0, 0))).st_mode));
    }

    // Whatever stops a save at the file's name or on its path, where the
    // station did not make it, is named with its kind and its owner, so a
    // technician knows what to look at and whom to ask. The station is a
    // user's; the folder one where anyone makes files.
    void recusasNomeiamAEntrada_data()
    {
        QTest::addColumn<QString>("tipo");   // what is at the name
        QTest::addColumn<QString>("dono");
        QTest::addColumn<QString>("lido");   // [Segredo] Chave as read
        QTest::addColumn<QString>("razao");  // %1 the folder
        const auto naoETexto = [](const char* o) -> QString {
            return QStringLiteral("Há na pasta %1 uma entrada Lorvane.ini (") + QString::fromUtf8(o)
                   + QStringLiteral(") que não é um ficheiro de texto");
        };
        const auto soLeitura = [](const char* quem) -> QString {
            return QStringLiteral("O ficheiro %1/Lorvane.ini (um ficheiro, de ") + QString::fromUtf8(quem)
                   + QStringLiteral(") não pode ser escrito por este utilizador (Sem permissão para escrever "
                                    "[Permission denied])");
        };
        QTest::newRow("FIFO") << "fifo" << "nobody" << "-" << naoETexto("um FIFO, de nobody");
        // A user the user database does not know is named by his number.
        QTest::newRow("FIFO de um utilizador sem nome") << "fifo" << "54321" << "-" << naoETexto("um FIFO, de 54321");
        QTest::newRow("socket") << "socket" << "nobody" << "-" << naoETexto("um socket, de nobody");
        QTest::newRow("pasta de outro utilizador") << "pasta" << "nobody" << "-" << naoETexto("uma pasta, de nobody");
        QTest::newRow("ficheiro só de leitura de outro utilizador") << "ficheiro" << "nobody" << "1" << soLeitura("nobody");
        QTest::newRow("ficheiro só de leitura do próprio") << "ficheiro" << "bin" << "1" << soLeitura("bin");
        QTest::newRow("ficheiro no lugar da pasta")
            << "pasta-ficheiro" << "nobody" << "-"
            << "Há na pasta %1 uma entrada posto (um ficheiro, de nobody) que não é uma pasta";
        QTest::newRow("pasta em que não se entra")
            << "pasta-fechada" << "nobody" << "-"
            << "A pasta %1/posto (uma pasta, de nobody) não pode ser aberta por este utilizador (Sem permissão de "
               "acesso [Permission denied])";
    }
    void recusasNomeiamAEntrada()
    {
        QFETCH(QString, tipo);
        QFETCH(QString, dono);
        QFETCH(QString, lido);
        QFETCH(QString, razao);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 01777), 0);
        QString pasta = raiz.path();
        const bool naPasta = tipo.startsWith(QStringLiteral("pasta-"));
        if (naPasta) {
            pasta = raiz.filePath(QStringLiteral("posto"));
            if (tipo == u"pasta-ficheiro")
                escreverFicheiro(pasta, Antes);
            else
                QVERIFY(QDir().mkdir(pasta));
            mudarDono(pasta, dono + QStringLiteral(":nogroup"), 0700);
            razao = razao.arg(raiz.path());
        } else {
            razao = razao.arg(pasta);
        }
        const QString c = pasta + QStringLiteral("/Lorvane.ini");
        const QByteArray entrada = QFile::encodeName(c);
        Descritor tomada;
        if (tipo == u"fifo") {
            QCOMPARE(::mkfifo(entrada.constData(), 0666), 0);
        } else if (tipo == u"socket") {
            sockaddr_un endereco{};
            endereco.sun_family = AF_UNIX;
            qstrncpy(endereco.sun_path, entrada.constData(), sizeof endereco.sun_path);
            tomada.fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(tomada.fd, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco), 0);
        } else if (tipo == u"pasta") {
            QVERIFY(QDir().mkdir(c));
        } else if (tipo == u"ficheiro") {
            escreverFicheiro(c, Antes);
        }
        if (!naPasta)
            mudarDono(c, dono + QStringLiteral(":nogroup"), tipo == u"pasta" ? 0755 : 0444);

        QCOMPARE(lerEGravar(QStringLiteral("bin"), c), lido + u'|' + razao);
        if (tipo == u"ficheiro")
            QCOMPARE(lerFicheiro(c), Antes);
        QCOMPARE(conteudoPasta(naPasta ? raiz.path() : pasta), QStringList{naPasta ? QStringLiteral("posto") : QStringLiteral("Lorvane.ini")});
    }

    // Any user who may read the program folder or the file can hold the turn
    // a save waits for: the refused save's box names the process that holds
    // it, its program and its user, as the system tells them (the program
    // names itself: its name is shown on one line). A lock whose process is
    // gone (kept by a process it started) is told in plain words.
    void quemTemAVez_data()
    {
        QTest::addColumn<bool>("noFicheiro");  // the lock held: on the file, else on its folder
        QTest::addColumn<bool>("herdada");     // by a process whose maker, that took the lock, ended
        QTest::addColumn<QByteArray>("programa");
        QTest::addColumn<QString>("mostrado");
        QTest::newRow("na pasta") << false << false << QByteArray("segurador") << "segurador";
        QTest::newRow("no ficheiro") << true << false << QByteArray("segurador") << "segurador";
        QTest::newRow("um nome com quebras de linha") << true << false << QByteArray("seg\nura\tdor") << "seg?ura?dor";
        QTest::newRow("de um processo que acabou") << false << true << QByteArray("segurador") << "segurador";
    }
    void quemTemAVez()
    {
        QFETCH(bool, noFicheiro);
        QFETCH(bool, herdada);
        QFETCH(QByteArray, programa);
        QFETCH(QString, mostrado);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, Antes);
        QCOMPARE(::chmod(QFile::encodeName(c).constData(), 0644), 0);
        const QByteArray seguro = QFile::encodeName(noFicheiro ? c : raiz.path());
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody);
        int tubo[2], vida[2];  // vida: the heir lives while this test keeps its end open
        QCOMPARE(::pipe(tubo), 0);
        QCOMPARE(::pipe(vida), 0);
        Descritor fimDaVida;
        fimDaVida.fd = vida[1];
        // A reader of nobody's holds the lock, shared on the file, exclusive on the folder, and waits.
        ProcessoFilho filho([&] {
            ::close(tubo[0]);
            ::close(vida[1]);
            if (::setgroups(0, nullptr) != 0 || ::setresgid(nobody->pw_gid, nobody->pw_gid, nobody->pw_gid) != 0
                || ::setresuid(nobody->pw_uid, nobody->pw_uid, nobody->pw_uid) != 0
                || ::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::prctl(PR_SET_NAME, programa.constData()) != 0)
                return;
            const int fd = ::open(seguro.constData(), O_RDONLY);
            if (fd < 0 || ::flock(fd, noFicheiro ? LOCK_SH : LOCK_EX) != 0)
                return;
            const pid_t eu = herdada ? ::fork() : ::getpid();
            if (eu != 0 && herdada)
                return;  // the lock stays with the heir
            if (::write(tubo[1], &eu, sizeof eu) != sizeof eu)
                return;
            char fim;
            if (herdada)
                [[maybe_unused]] const ssize_t n = ::read(vida[0], &fim, 1);
            else
                ::pause();
            ::_exit(0);
        });
        ::close(tubo[1]);
        ::close(vida[0]);
        pid_t segurador = -1;
        const ssize_t lido = ::read(tubo[0], &segurador, sizeof segurador);
        ::close(tubo[0]);
        QCOMPARE(lido, ssize_t(sizeof segurador));
        if (herdada)
            QVERIFY(WIFEXITED(filho.esperar()));

        FicheiroPerfil ini(c);
        ini.definirEsperaVez(200ms);
        QVERIFY(!ini.escrever(QStringLiteral("Postos"), QStringLiteral("A"), QStringLiteral("1")));
        if (herdada)
            QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("O ficheiro está a ser usado por outro programa [")),
                     qPrintable(ini.razaoFalha()));
        else
            QCOMPARE(ini.razaoFalha(), QStringLiteral("O ficheiro está a ser usado por outro programa: o processo %1 "
                                                      "(%2, do utilizador nobody) tem a vez em %3")
                                           .arg(segurador)
                                           .arg(mostrado, QFile::decodeName(seguro)));
        QCOMPARE(lerFicheiro(c), Antes);
        filho.matar();
        fimDaVida.fechar();
        {
            // The heir's lock goes with it: waited for here, as a save would.
            Descritor pasta;
            pasta.fd = ::open(QFile::encodeName(raiz.path()).constData(), O_RDONLY | O_DIRECTORY);
            QCOMPARE(::flock(pasta.fd, LOCK_EX), 0);
        }
        QVERIFY2(ini.escrever(QStringLiteral("Postos"), QStringLiteral("A"), QStringLiteral("1")),
                 qPrintable(ini.razaoFalha()));
    }
};

QTEST_GUILESS_MAIN(TesteSitioFicheiro)
#include "tst_SitioFicheiro.moc"
