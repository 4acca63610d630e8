// What a save of the settings file keeps of what the site set up around it:
// owners, groups, modes, extended attributes and access control lists,
// symbolic and hard links, a file in a folder that takes no new files; the
// bound on the wait for another writer's turn; and readings never half a text.
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "platform/ficheiros/Utilizadores.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;

class TesteGravacaoFicheiro : public QObject
{
    Q_OBJECT

    // Where each user's state folder is made (named by the user's number), for the copies of old texts.
    QTemporaryDir estados;

private Q_SLOTS:
    void initTestCase()
    {
        usarPastasEstado(estados.path());
    }
    // Whatever a test did, no save was left half done.
    void cleanup()
    {
        for (const QString& utilizador : conteudoPasta(estados.path()))
            QCOMPARE(conteudoPasta(estados.filePath(utilizador + QStringLiteral("/zumarel"))), QStringList());
    }

    // Each save keeps the file's owner, group, mode and extended attributes
    // (its access control list among them), so every user who could write
    // the file before still can, whoever saved last: through a new file made
    // as the old one where the saving user may make it so, else in the file
    // itself.
    void donoGrupoEModoMantidos_data()
    {
        QTest::addColumn<QString>("pastaDono");
        QTest::addColumn<int>("pastaModo");
        QTest::addColumn<QString>("ficheiroDono");
        QTest::addColumn<int>("ficheiroModo");
        QTest::addColumn<QString>("lista");           // an access control list entry, as setfacl takes it
        QTest::addColumn<QString>("listaPasta");      // a default entry of the folder's, new files take it
        QTest::addColumn<QByteArray>("atributo");     // an extended attribute, "name=value"
        QTest::addColumn<QStringList>("gravadores");  // in turn
        QTest::addColumn<QString>("estradas");        // of each save: by a new file (n), in the file itself (p)
        QTest::newRow("do utilizador do posto, gravado pelo administrador")
            << "nobody:nogroup" << 0755 << "nobody:nogroup" << 0644 << "" << "" << QByteArray()
            << QStringList{"root", "nobody", "root"} << "nnn";
        QTest::newRow("do utilizador do posto, numa pasta do administrador")
            << "root:root" << 0755 << "nobody:nogroup" << 0600 << "" << "" << QByteArray()
            << QStringList{"root", "nobody", "root", "nobody"} << "npnp";
        QTest::newRow("partilhado pelo grupo, gravado por outro membro")
            << "daemon:users" << 0775 << "daemon:users" << 0664 << "" << "" << QByteArray()
            << QStringList{"bin+users", "daemon+users", "bin+users", "daemon"} << "pnpp";
        QTest::newRow("com lista de acesso e atributo do utilizador")
            << "nobody:nogroup" << 0755 << "nobody:nogroup" << 0640 << "group:users:rw" << ""
            << QByteArray("user.zumarel.posto=Balança 1") << QStringList{"root", "nobody", "root"} << "nnn";
        QTest::newRow("com um atributo que só o administrador dá")
            << "nobody:nogroup" << 0755 << "nobody:nogroup" << 0644 << "user:daemon:rw" << ""
            << QByteArray("security.zumarel=1") << QStringList{"nobody", "root", "nobody"} << "pnp";
        QTest::newRow("numa pasta que dá uma lista de acesso aos ficheiros novos")
            << "nobody:nogroup" << 0755 << "nobody:nogroup" << 0644 << "" << "user:daemon:rw" << QByteArray()
            << QStringList{"root", "nobody", "root"} << "nnn";
    }
    void donoGrupoEModoMantidos()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, pastaDono);
        QFETCH(int, pastaModo);
        QFETCH(QString, ficheiroDono);
        QFETCH(int, ficheiroModo);
        QFETCH(QString, lista);
        QFETCH(QString, listaPasta);
        QFETCH(QByteArray, atributo);
        QFETCH(QStringList, gravadores);
        QFETCH(QString, estradas);
        QTemporaryDir raiz;
        if (!lista.isEmpty() || !listaPasta.isEmpty()) {
            QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("setfacl")).isEmpty(), "install the package acl");
            // The temporary folders may be a tmpfs without them: a folder of the build tree, on its disk.
            if (!aceitaAtributos(raiz.path()))
                raiz = QTemporaryDir(QCoreApplication::applicationDirPath() + QStringLiteral("/atributos-XXXXXX"));
            if (!aceitaAtributos(raiz.path()))
                QSKIP("this file system keeps no user attributes or access control lists");
        }
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString pasta = raiz.filePath(QStringLiteral("posto"));
        QVERIFY(QDir().mkdir(pasta));
        mudarDono(pasta, pastaDono, mode_t(pastaModo));
        const QString c = pasta + QStringLiteral("/Lorvane.ini");
        escreverFicheiro(c, "[Postos]\n");
        if (!listaPasta.isEmpty())
            QCOMPARE(QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-d"), QStringLiteral("-m"), listaPasta, pasta}), 0);
        mudarDono(c, ficheiroDono, mode_t(ficheiroModo));
        const QByteArray nome = atributo.left(atributo.indexOf('=')), valor = atributo.mid(nome.size() + 1);
        if (!lista.isEmpty())
            QCOMPARE(darListaAcesso(c, lista), 0);
        const QByteArray ficheiro = QFile::encodeName(c);
        if (!nome.isEmpty()
            && ::setxattr(ficheiro.constData(), nome.constData(), valor.constData(), size_t(valor.size()), 0) != 0)
            QSKIP(QByteArray("this file system refuses the attribute " + nome).constData());
        const QString antes = donoEModo(c) + atributos(c, nome);
        for (qsizetype i = 0; i < gravadores.size(); ++i) {
            const ino_t inode = estado(c).st_ino;
            QCOMPARE(gravarComo(gravadores[i], c, QStringLiteral("G%1").arg(i), estados.path()), QStringLiteral("ok"));
            QCOMPARE(donoEModo(c) + atributos(c, nome), antes);
            QCOMPARE(QChar(estado(c).st_ino == inode ? u'p' : u'n'), estradas[i]);
        }
        const FicheiroPerfil depois(c);
        for (qsizetype i = 0; i < gravadores.size(); ++i)
            QCOMPARE(depois.ler(QStringLiteral("Postos"), QStringLiteral("G%1").arg(i), {}), QStringLiteral("1"));
        QCOMPARE(conteudoPasta(pasta), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // A chain of symbolic links leads to the one file the stations share:
    // the save writes that file and every link stays a link.
    void ligacoesSimbolicas_data()
    {
        QTest::addColumn<QByteArray>("partilhado");  // "-": not made yet
        QTest::newRow("cadeia de três ligações") << QByteArray("; partilhado\n[Geral]\nX=1\n");
        QTest::newRow("cadeia até um ficheiro por fazer") << QByteArray("-");
    }
    void ligacoesSimbolicas()
    {
        QFETCH(QByteArray, partilhado);
        QTemporaryDir raiz;
        for (const char* p : {"st", "st2", "etc", "share"})
            QVERIFY(QDir(raiz.path()).mkdir(QString::fromLatin1(p)));
        const auto em = [&](const char* nome) { return raiz.filePath(QString::fromLatin1(nome)); };
        if (partilhado != "-")
            escreverFicheiro(em("share/Lorvane.ini"), partilhado);
        QVERIFY(QFile::link(QStringLiteral("../share/Lorvane.ini"), em("etc/Lorvane.ini")));
        QVERIFY(QFile::link(em("etc/Lorvane.ini"), em("st/Lorvane.ini")));
        QVERIFY(QFile::link(QStringLiteral("../share/Lorvane.ini"), em("st2/Lorvane.ini")));

        FicheiroPerfil posto1(em("st/Lorvane.ini"));
        QVERIFY2(posto1.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Ana")),
                 qPrintable(posto1.razaoFalha()));
        for (const char* ligacao : {"st/Lorvane.ini", "etc/Lorvane.ini", "st2/Lorvane.ini"})
            QVERIFY2(S_ISLNK(estado(em(ligacao)).st_mode), ligacao);
        QVERIFY(S_ISREG(estado(em("share/Lorvane.ini")).st_mode));
        FicheiroPerfil posto2(em("st2/Lorvane.ini"));
        QCOMPARE(posto2.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        if (partilhado != "-")
            QVERIFY(lerFicheiro(em("share/Lorvane.ini")).startsWith(partilhado));

        QVERIFY(posto2.escrever(QStringLiteral("Acesso"), QStringLiteral("Turno"), QStringLiteral("2")));
        QCOMPARE(posto1.ler(QStringLiteral("Acesso"), QStringLiteral("Turno"), {}), QStringLiteral("2"));
        for (const char* p : {"st", "st2", "etc", "share"})
            QCOMPARE(conteudoPasta(em(p)), QStringList{QStringLiteral("Lorvane.ini")});
    }

    void ligacoesEmCiclo()
    {
        QTemporaryDir raiz;
        QVERIFY(QFile::link(QStringLiteral("b.ini"), raiz.filePath(QStringLiteral("Lorvane.ini"))));
        QVERIFY(QFile::link(QStringLiteral("Lorvane.ini"), raiz.filePath(QStringLiteral("b.ini"))));
        FicheiroPerfil ini(raiz.filePath(QStringLiteral("Lorvane.ini")));
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Ana")));
        QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("Há ligações simbólicas em ciclo no caminho [")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("b.ini")}));
    }

    // One file under two names (two station folders): a save through either
    // name changes the one file, which keeps both names.
    void ligacaoFisicaMantida()
    {
        QTemporaryDir raiz;
        const QString a = raiz.filePath(QStringLiteral("a.ini")), b = raiz.filePath(QStringLiteral("b.ini"));
        escreverFicheiro(a, "[Geral]\r\nX=1\r\n");
        QCOMPARE(::chmod(QFile::encodeName(a).constData(), 0640), 0);
        QCOMPARE(::link(QFile::encodeName(a).constData(), QFile::encodeName(b).constData()), 0);
        const ino_t inode = estado(a).st_ino;

        FicheiroPerfil postoA(a), postoB(b);
        QVERIFY(postoA.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Ana")));
        // What a save wrote into the file itself is known: read without a parse.
        const int lidas = postoA.leituras();
        QCOMPARE(postoA.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        QCOMPARE(postoA.leituras(), lidas);
        QCOMPARE(postoB.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        QVERIFY(postoB.escrever(QStringLiteral("Geral"), QStringLiteral("X"), QStringLiteral("2")));
        QCOMPARE(lerFicheiro(a), QByteArray("[Geral]\r\nX=2\r\n\r\n[Acesso]\r\nOperador=Ana\r\n"));
        for (const QString& nome : {a, b})
            QCOMPARE(std::tuple(estado(nome).st_ino, estado(nome).st_nlink, estado(nome).st_mode & 07777),
                     std::tuple(inode, nlink_t(2), 0640u));
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("a.ini"), QStringLiteral("b.ini")}));
    }

    // A file that can be written in a folder that takes no new file (a
    // read-only or immutable folder), or that is mounted in its folder on
    // its own, is saved in the file itself.
    void ficheiroNumaPastaSemNovosFicheiros_data()
    {
        QTest::addColumn<QString>("caso");
        QTest::newRow("pasta só de leitura") << "leitura";
        QTest::newRow("pasta imutável") << "imutavel";
        QTest::newRow("ficheiro montado na pasta") << "montado";
    }
    void ficheiroNumaPastaSemNovosFicheiros()
    {
        QFETCH(QString, caso);
        const DiscoPequeno origem, sitio;
        if (!origem.ok() || !sitio.ok())
            QSKIP("mounting needs root");
        // The file itself is in the folder, or mounted there from another.
        const QString c = sitio.caminho(QStringLiteral("Lorvane.ini"));
        const QString real = caso == u"imutavel" ? c : origem.caminho(QStringLiteral("partilhado.ini"));
        escreverFicheiro(real, "[Geral]\nX=1\n");
        if (caso != u"imutavel") {
            escreverFicheiro(c, {});
            if (caso == u"leitura")
                QCOMPARE(::mount(nullptr, QFile::encodeName(sitio.pasta()).constData(), nullptr,
                                 MS_REMOUNT | MS_RDONLY, nullptr),
                         0);
            QCOMPARE(::mount(QFile::encodeName(real).constData(), QFile::encodeName(c).constData(), nullptr, MS_BIND,
                             nullptr),
                     0);
        }
        const Imutavel imutavel(caso == u"imutavel" ? sitio.pasta() : QString());
        if (caso == u"imutavel" && !imutavel.ok())
            QSKIP("this file system cannot make a folder immutable");
        const ino_t inode = estado(real).st_ino;

        FicheiroPerfil ini(c);
        QVERIFY2(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Ana")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(real), QByteArray("[Geral]\nX=1\n\n[Acesso]\nOperador=Ana\n"));
        QCOMPARE(estado(real).st_ino, inode);
        QCOMPARE(conteudoPasta(sitio.pasta()), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // Another program holding the folder's turn (stuck: a child stopped
    // holding the lock, or halfway through a save into the file itself)
    // makes a save fail once the wait is over, and a reading, after the same
    // wait, give the whole text the file had: the file's own, or the one the
    // stuck save keeps in its copy. Once it is gone, the save goes through.
    void vezNaoDadaAcabaAEspera_data()
    {
        QTest::addColumn<bool>("aMeio");
        QTest::newRow("programa parado com a vez") << false;
        QTest::newRow("gravação no próprio ficheiro parada a meio") << true;
    }
    void vezNaoDadaAcabaAEspera()
    {
        QFETCH(bool, aMeio);
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(raiz.filePath("b.ini")).constData()), 0);
        ProcessoFilho filho([&] {
            const int pasta = ::open(QFile::encodeName(raiz.path()).constData(), O_RDONLY | O_DIRECTORY);
            if (aMeio) {
                // Stopped with the new, shorter text over the old one, not yet cut to length.
                acabarNoPasso(GravacaoFicheiro::Passo::Truncagem, 0, true);
                FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
            } else if (::flock(pasta, LOCK_EX) == 0) {
                ::raise(SIGSTOP);
            }
        });
        QVERIFY(WIFSTOPPED(filho.esperar(WUNTRACED)));

        FicheiroPerfil ini(c);
        ini.definirEsperaVez(300ms);
        QElapsedTimer relogio;
        relogio.start();
        QCOMPARE(ini.ler("Acesso", "Operador", {}) + ini.ler("Acesso", "Nota", {}), "Ana" + QString(254, u'x'));
        QVERIFY2(relogio.elapsed() >= 300, qPrintable(QString::number(relogio.elapsed())));
        relogio.restart();
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QVERIFY2(relogio.elapsed() >= 300, qPrintable(QString::number(relogio.elapsed())));
        QVERIFY2(ini.razaoFalha().startsWith(
                     QStringLiteral("O ficheiro está a ser usado por outro programa: o processo ")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c) == antes, !aMeio);

        filho.matar();
        QCOMPARE(FicheiroPerfil(c).ler("Acesso", "Operador", {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
        QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QCOMPARE(FicheiroPerfil(c).ler("Acesso", "Operador", {}), QStringLiteral("Rui"));
    }

    // Readings share the turn: two readings hold it at once (each stopped
    // with its turn taken, before it reads), while a save waits for both and
    // gives up; once they are gone, the save goes through.
    void leiturasPartilhamAVez()
    {
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\n");
        const auto leitor = [&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Leitura, 0, true);
            GravacaoFicheiro::ler(c, 2s);
        };
        ProcessoFilho primeiro(leitor);
        QVERIFY(WIFSTOPPED(primeiro.esperar(WUNTRACED)));
        // Where readings took turns, this one would read without the turn after its wait, and end.
        ProcessoFilho segundo(leitor);
        QVERIFY(WIFSTOPPED(segundo.esperar(WUNTRACED)));
        FicheiroPerfil ini(c);
        ini.definirEsperaVez(200ms);
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("O ficheiro está a ser usado por outro programa")),
                 qPrintable(ini.razaoFalha()));
        primeiro.matar();
        segundo.matar();
        QVERIFY(ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QCOMPARE(lerFicheiro(c), QByteArray("[Acesso]\nOperador=Rui\n"));
    }

    // A reading that waits past the wait for a save stuck halfway reads the
    // old text from that save's copy only where the copy is one: not through
    // a link put at the copy's name (to the copy moved away), and, where the
    // file system keeps no marks, not from a copy of a user who may not write
    // the file. It then reads the file as it is.
    void leituraSemVezSoDeUmaCopia_data()
    {
        QTest::addColumn<QString>("copia");  // what is done to the stuck save's copy
        QTest::addColumn<bool>("marcas");
        QTest::addColumn<QString>("lido");
        QTest::newRow("a cópia como está") << "" << true << "Ana";
        QTest::newRow("a cópia trocada por uma ligação") << "ligacao" << true << "Rui";
        QTest::newRow("sem marcas, a cópia como está") << "" << false << "Ana";
        QTest::newRow("sem marcas, a cópia de quem não pode escrever") << "alheia" << false << "Rui";
    }
    void leituraSemVezSoDeUmaCopia()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, copia);
        QFETCH(bool, marcas);
        QFETCH(QString, lido);
        MarcaGravacao::comMarcas = marcas;
        const auto comMarcas = qScopeGuard([] { MarcaGravacao::comMarcas = true; });
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n");
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem, 0, true);
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        QVERIFY(WIFSTOPPED(filho.esperar(WUNTRACED)));
        const QByteArray nome = QFile::encodeName(raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino)));
        if (copia == u"ligacao") {
            const QByteArray movida = nome + ".movida";
            QCOMPARE(::rename(nome.constData(), movida.constData()), 0);
            QCOMPARE(::symlink(movida.constData(), nome.constData()), 0);
        } else if (copia == u"alheia") {
            QCOMPARE(::lchown(nome.constData(), ::getpwnam("nobody")->pw_uid, uid_t(-1)), 0);
        }
        if (marcas && lido == u"Rui")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is read as it is: Uma gravação de root")));
        FicheiroPerfil ini(c);
        ini.definirEsperaVez(100ms);
        QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), lido);
    }

    // While another program saves into the file itself, a long text and a
    // short one in turn, every reading here, raw or through the settings
    // layer, is one whole text, though it goes through the file's name in
    // another folder (whose folder's turn is another).
    void leiturasDuranteGravacoes()
    {
        QTemporaryDir raiz, outra;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QString lido = outra.filePath(QStringLiteral("Lorvane.ini"));
        const auto texto = [](const QByteArray& v) { return QByteArray("[Extra]\nTexto=" + v + "\n[Fim]\nMarca=1\n"); };
        // Long enough for a reading to meet a write under way.
        const QString grande(100'000, u'a');
        const QByteArray longo = texto(grande.toLatin1()), curto = texto("b");
        escreverFicheiro(c, longo);
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(lido).constData()), 0);
        // One save at a time, each as soon as this side has seen the one before.
        int vez[2], aviso[2];
        QVERIFY(::pipe(vez) == 0 && ::pipe(aviso) == 0);
        ProcessoFilho escritor([&] {
            ::close(vez[1]);
            FicheiroPerfil ini(c);
            char b;
            for (int n = 0; ::read(vez[0], &b, 1) == 1 && ::write(aviso[1], "a", 1) == 1; ++n) {
                if (!ini.escrever("Extra", "Texto", n % 2 ? grande : QStringLiteral("b")))
                    ::_exit(1);
            }
        });
        ::close(vez[0]);
        ::close(aviso[1]);
        for (int n = 0; n < 40; ++n) {
            char b;
            QVERIFY(::write(vez[1], "v", 1) == 1 && ::read(aviso[0], &b, 1) == 1);
            // Read over and over while the save goes on, until its text shows:
            // raw, or in half the turns through the settings layer.
            QString valor;
            for (int i = 0; i < 1'000'000 && valor != (n % 2 ? grande : QStringLiteral("b")); ++i) {
                if (n % 4 < 2) {
                    const QByteArray bytes = GravacaoFicheiro::ler(lido, 5s).bytes;
                    QVERIFY2(bytes == longo || bytes == curto, bytes.left(40).constData());
                    valor = bytes == longo ? grande : QStringLiteral("b");
                } else {
                    valor = FicheiroPerfil(lido).valor("Extra", "Texto").value_or(QString());
                }
                QVERIFY2(valor == grande || valor == u"b", qPrintable(valor.left(40)));
            }
        }
        ::close(vez[1]);
        QCOMPARE(escritor.esperar(), 0);
        ::close(aviso[0]);
    }

    // A symbolic link at the settings file's name is followed only where
    // this station's user, the administrator or the folder's owner made it:
    // another user's link in a folder where anyone makes files would lead a
    // save into any file the station's user may write (here a private one of
    // its own). Such a link is neither read nor written through, and the box
    // names it and its owner.
    void ligacaoDeOutroUtilizador_data()
    {
        QTest::addColumn<QString>("quem");         // the station's user
        QTest::addColumn<QString>("pastaDono");    // of the folder where anyone makes files (sticky)
        QTest::addColumn<QString>("ligacaoDono");
        QTest::addColumn<bool>("seguida");
        QTest::newRow("de outro utilizador, posto do administrador") << "root" << "root:root" << "nobody" << false;
        QTest::newRow("de outro utilizador, posto de um utilizador") << "bin" << "root:root" << "nobody" << false;
        QTest::newRow("do dono da pasta") << "root" << "nobody:nogroup" << "nobody" << true;
        QTest::newRow("do administrador") << "bin" << "daemon:daemon" << "root" << true;
        QTest::newRow("do próprio utilizador") << "bin" << "root:root" << "bin" << true;
    }
    void ligacaoDeOutroUtilizador()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, quem);
        QFETCH(QString, pastaDono);
        QFETCH(QString, ligacaoDono);
        QFETCH(bool, seguida);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0777), 0);
        const QString pasta = raiz.filePath(QStringLiteral("posto")), c = pasta + QStringLiteral("/Lorvane.ini");
        const QString alvo = raiz.filePath(QStringLiteral("privado.ini"));
        QVERIFY(QDir().mkdir(pasta));
        mudarDono(pasta, pastaDono, 01777);
        const QByteArray antes = "[Segredo]\nChave=1\n";
        escreverFicheiro(alvo, antes);
        mudarDono(alvo, quem + u':' + (quem == u"root" ? QStringLiteral("root") : quem), 0600);
        QVERIFY(QFile::link(alvo, c));
        QCOMPARE(::lchown(QFile::encodeName(c).constData(), ::getpwnam(qPrintable(ligacaoDono))->pw_uid, gid_t(-1)), 0);
        const QString donoAntes = donoEModo(alvo);

        const QString feito = QString::fromUtf8(comoUtilizador(quem, {}, [&]() -> QByteArray {
            return FicheiroPerfil(c).ler("Segredo", "Chave", "-").toUtf8() + '|' + gravarChave(c, QStringLiteral("A"));
        }));
        if (seguida) {
            QCOMPARE(feito, QStringLiteral("1|ok"));
            QCOMPARE(lerFicheiro(alvo), antes + "\n[Postos]\nA=1\n");
        } else {
            QCOMPARE(feito, QStringLiteral("-|A ligação simbólica ") + c + QStringLiteral(" é de ") + ligacaoDono
                                + QStringLiteral(", que não é o utilizador deste posto, o administrador nem o dono da "
                                                 "pasta: não é seguida"));
            QCOMPARE(lerFicheiro(alvo), antes);
        }
        QCOMPARE(donoEModo(alvo), donoAntes);
        QVERIFY(S_ISLNK(estado(c).st_mode));
        QCOMPARE(conteudoPasta(pasta), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // On a file system without nameless files, the new file has a name from
    // the start. At no moment may a user whom the old file bars open it: it
    // is made open to nobody, given the old file's owner and group, then its
    // access list (or its mode's permission bits) and attributes, its mode
    // last. The barred user tries at every step of the save, the set-id bit
    // of the file's group is kept, and after the save he is still barred
    // while the one the file lets in reads it.
    void novoFicheiroNuncaAbertoAQuemOAntigoBarra_data()
    {
        QTest::addColumn<QString>("dono");      // of the file, "user:group"
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("lista");     // setfacl entries of the file's
        QTest::addColumn<QString>("listaPasta");  // a default entry of the folder's
        QTest::addColumn<QString>("barrado");
        QTest::addColumn<QString>("admitido");
        QTest::newRow("a lista barra um membro do grupo") << "nobody:users" << 0660 << "user:bin:---" << ""
                                                          << "bin+users" << "games+users";
        QTest::newRow("a lista barra um grupo, outros lêem") << "nobody:users" << 02664 << "group:bin:---" << ""
                                                             << "bin" << "games";
        QTest::newRow("o modo barra o dono") << "daemon:bin" << 0060 << "" << "" << "daemon" << "bin";
        QTest::newRow("a pasta dá uma lista aos ficheiros novos") << "nobody:nogroup" << 0640 << "" << "user:bin:rw"
                                                                  << "bin" << "nobody";
    }
    void novoFicheiroNuncaAbertoAQuemOAntigoBarra()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, dono);
        QFETCH(int, modo);
        QFETCH(QString, lista);
        QFETCH(QString, listaPasta);
        QFETCH(QString, barrado);
        QFETCH(QString, admitido);
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            raiz = QTemporaryDir(QCoreApplication::applicationDirPath() + QStringLiteral("/atributos-XXXXXX"));
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no access control lists");
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 01777), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Segredo]\nChave=1\n");
        mudarDono(c, dono, mode_t(modo));
        if (!listaPasta.isEmpty())
            QCOMPARE(QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-d"), QStringLiteral("-m"), listaPasta, raiz.path()}), 0);
        if (!lista.isEmpty())
            QCOMPARE(darListaAcesso(c, lista), 0);
        const QString antes = donoEModo(c) + atributos(c, "user.x");
        Descritores::ficheirosSemNome = false;
        static QString provisorio, quem;
        static QStringList abertos;
        static int passos, acesso;
        provisorio = raiz.filePath(QStringLiteral(".Lorvane.ini.novo"));
        quem = barrado;
        abertos.clear();
        passos = 0;
        GravacaoFicheiro::aoPasso = [](GravacaoFicheiro::Passo p) {
            using P = GravacaoFicheiro::Passo;
            if (p != P::NovoFicheiro && p != P::ComoOAntigo && p != P::Substituicao)
                return;
            ++passos;
            for (acesso = O_RDONLY; acesso <= O_WRONLY; ++acesso) {
                const QByteArray aberto = comoUtilizador(quem, {}, [] {
                    return QByteArray(::open(QFile::encodeName(provisorio).constData(), acesso) >= 0 ? "sim" : "não");
                });
                if (aberto != "não")
                    abertos << QStringLiteral("passo %1, acesso %2: %3").arg(int(p)).arg(acesso).arg(QString::fromUtf8(aberto));
            }
        };
        const auto repor = qScopeGuard([] {
            GravacaoFicheiro::aoPasso = nullptr;
            Descritores::ficheirosSemNome = true;
        });
        const ino_t inode = estado(c).st_ino;
        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
        QVERIFY(estado(c).st_ino != inode);
        QCOMPARE(passos, 4);
        QCOMPARE(abertos, QStringList());
        QCOMPARE(donoEModo(c) + atributos(c, "user.x"), antes);
        const auto ler = [&](const QString& utilizador) {
            return comoUtilizador(utilizador, {}, [&] { return FicheiroPerfil(c).ler("Segredo", "Chave", "-").toUtf8(); });
        };
        QCOMPARE(ler(barrado), QByteArray("-"));
        QCOMPARE(ler(admitido), QByteArray("1"));
    }

    // On a file system without nameless files, the new file and the copy are
    // first made under provisional names. Each is made there by its save
    // alone: a file another user put at the name first (and keeps open) is
    // neither written, read nor removed, and never stops the save; a file
    // that a save of this user's cut short left there is removed.
    void nomeProvisorioTomado_data()
    {
        QTest::addColumn<QString>("quem");       // the station's user
        QTest::addColumn<bool>("noProprio");     // a file of two names, saved into itself: the copy's provisional name
        QTest::addColumn<QString>("tomadoPor");  // who made the provisional name first
        QTest::newRow("ficheiro novo, nome de outro utilizador, posto do administrador") << "root" << false << "nobody";
        QTest::newRow("ficheiro novo, nome de outro utilizador") << "bin" << false << "nobody";
        QTest::newRow("ficheiro novo, resto de uma gravação cortada") << "bin" << false << "bin";
        QTest::newRow("cópia, nome de outro utilizador, posto do administrador") << "root" << true << "nobody";
        QTest::newRow("cópia, nome de outro utilizador") << "bin" << true << "nobody";
        QTest::newRow("cópia, resto de uma gravação cortada") << "bin" << true << "bin";
    }
    void nomeProvisorioTomado()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, quem);
        QFETCH(bool, noProprio);
        QFETCH(QString, tomadoPor);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString pasta = raiz.filePath(QStringLiteral("posto")), c = pasta + QStringLiteral("/Lorvane.ini");
        QVERIFY(QDir().mkdir(pasta));
        QCOMPARE(::chmod(QFile::encodeName(pasta).constData(), 01777), 0);
        const QByteArray antes = "[Acesso]\nOperador=Ana\n";
        escreverFicheiro(c, antes);
        mudarDono(c, quem + u':' + quem, 0640);
        const QString donoAntes = donoEModo(c);
        QStringList nomes{QStringLiteral("Lorvane.ini")};
        if (noProprio) {
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
            nomes << QStringLiteral("Lorvane.ini2");
        }
        const QString provisorio = noProprio ? QStringLiteral(".zumarel-antigo-%1.novo").arg(estado(c).st_ino)
                                             : QStringLiteral(".Lorvane.ini.novo");
        const QByteArray tomado = QFile::encodeName(pasta + u'/' + provisorio);
        Descritor aberto;
        aberto.fd = ::open(tomado.constData(), O_RDWR | O_CREAT | O_EXCL, 0666);
        QVERIFY(aberto.fd >= 0);
        const passwd* p = ::getpwnam(qPrintable(tomadoPor));
        QCOMPARE(::fchown(aberto.fd, p->pw_uid, p->pw_gid), 0);
        QCOMPARE(::fchmod(aberto.fd, 0666), 0);
        if (tomadoPor != quem)
            nomes << provisorio;

        QCOMPARE(QString::fromUtf8(comoUtilizador(quem, {}, [&] {
                     Descritores::ficheirosSemNome = false;
                     return gravarChave(c, QStringLiteral("A"));
                 })),
                 QStringLiteral("ok"));
        QCOMPARE(lerFicheiro(c), antes + "\n[Postos]\nA=1\n");
        QCOMPARE(donoEModo(c), donoAntes);
        char byte;
        QCOMPARE(::pread(aberto.fd, &byte, 1, 0), ssize_t(0));
        nomes.sort();
        QCOMPARE(conteudoPasta(pasta), nomes);
    }

    // Whatever another user leaves at the copy's name beside the file, in a
    // folder where anyone makes files and no one removes another's: a save
    // by a new file goes through and leaves it there; a save into the file
    // itself (here a file of two names) stops, and its box says what is
    // there and whose. The settings are read all the while.
    void entradaNoNomeDaCopia_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("razao");  // %1 the folder, %2 the entry's name
        const auto alheia = [](const char* o) -> QString {
            return QStringLiteral("Há na pasta %1 uma entrada %2 (") + QString::fromUtf8(o)
                   + QStringLiteral(", de nobody) que não é uma cópia desta estação");
        };
        QTest::newRow("pasta") << "pasta" << alheia("uma pasta");
        QTest::newRow("ligação simbólica") << "ligacao" << alheia("uma ligação simbólica");
        QTest::newRow("socket") << "socket" << alheia("um socket");
        QTest::newRow("FIFO") << "fifo" << alheia("um FIFO");
        QTest::newRow("ficheiro que não é uma cópia") << "ficheiro" << alheia("um ficheiro");
        QTest::newRow("ficheiro que não se pode ler")
            << "ilegivel"
            << "Há na pasta %1 uma entrada %2 (um ficheiro, de nobody) que esta estação não pode ler (Sem permissão "
               "para ler [Permission denied])";
    }
    void entradaNoNomeDaCopia()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, tipo);
        QFETCH(QString, razao);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString pasta = raiz.filePath(QStringLiteral("posto")), c = pasta + QStringLiteral("/Lorvane.ini");
        const QString segundo = pasta + QStringLiteral("/Posto2.ini");
        QVERIFY(QDir().mkdir(pasta));
        QCOMPARE(::chmod(QFile::encodeName(pasta).constData(), 01777), 0);
        const QByteArray antes = "[Acesso]\nOperador=Ana\n";
        escreverFicheiro(c, antes);
        mudarDono(c, QStringLiteral("bin:bin"), 0644);
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(segundo).constData()), 0);
        const QString nome = QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino);
        const QByteArray entrada = QFile::encodeName(pasta + u'/' + nome);
        if (tipo == u"pasta") {
            QCOMPARE(::mkdir(entrada.constData(), 0755), 0);
        } else if (tipo == u"ligacao") {
            QCOMPARE(::symlink("Lorvane.ini", entrada.constData()), 0);
        } else if (tipo == u"socket") {
            sockaddr_un endereco{};
            endereco.sun_family = AF_UNIX;
            qstrncpy(endereco.sun_path, entrada.constData(), sizeof endereco.sun_path);
            Descritor tomada;
            tomada.fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            QCOMPARE(::bind(tomada.fd, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco), 0);
        } else if (tipo == u"fifo") {
            QCOMPARE(::mkfifo(entrada.constData(), 0666), 0);
        } else {
            escreverFicheiro(pasta + u'/' + nome, "lixo\n");
            QCOMPARE(::chmod(entrada.constData(), tipo == u"ilegivel" ? 0600 : 0644), 0);
        }
        const passwd* nobody = ::getpwnam("nobody");
        QCOMPARE(::lchown(entrada.constData(), nobody->pw_uid, nobody->pw_gid), 0);
        const ino_t ocupante = estado(pasta + u'/' + nome).st_ino;
        const auto lerEGravar = [&] {
            return QString::fromUtf8(comoUtilizador(QStringLiteral("bin"), {}, [&]() -> QByteArray {
                return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8() + '|' + gravarChave(c, QStringLiteral("A"));
            }));
        };

        QCOMPARE(lerEGravar(), QStringLiteral("Ana|") + razao.arg(pasta, nome));
        QCOMPARE(lerFicheiro(c), antes);
        // One name again: a new file takes the file's place, whatever sits at the copy's name.
        QVERIFY(QFile::remove(segundo));
        QCOMPARE(lerEGravar(), QStringLiteral("Ana|ok"));
        QCOMPARE(lerFicheiro(c), antes + "\n[Postos]\nA=1\n");
        QCOMPARE(estado(pasta + u'/' + nome).st_ino, ocupante);
        QCOMPARE(conteudoPasta(pasta), (QStringList{nome, QStringLiteral("Lorvane.ini")}));
    }

    // A copy beside the file can be read by whoever may read the file, its
    // owner included though the owner is not of the file's group, and by
    // nobody else. A member of the group saves into the file (whose owner it
    // may not give a new file) and is killed before the cut: the owner's
    // station reads the old text and saves, even where it cannot take the
    // member's copy away; a user who may not read the file cannot read the
    // copy either. The member's process has the group only for this run
    // (the user database does not list it): its own copy, after its kill, is
    // its own to put back, by the rights of its process, on a file system
    // that keeps no marks too.
    void copiaDeQuemPodeLerOFicheiro_data()
    {
        QTest::addColumn<int>("pastaModo");
        QTest::addColumn<QString>("leitor");  // who reads after the kill: the file's owner, or the member itself
        QTest::addColumn<bool>("marcas");     // the file system keeps marks
        QTest::newRow("lida pelo dono do ficheiro, numa pasta de todos") << 0777 << "daemon" << true;
        QTest::newRow("lida pelo dono do ficheiro, numa pasta partilhada") << 01777 << "daemon" << true;
        QTest::newRow("lida pelo próprio membro, de um grupo só do processo, sem marcas")
            << 01777 << "nobody+bin" << false;
    }
    void copiaDeQuemPodeLerOFicheiro()
    {
        if (::geteuid() != 0)
            QSKIP("changing users needs root");
        QFETCH(int, pastaModo);
        QFETCH(QString, leitor);
        QFETCH(bool, marcas);
        MarcaGravacao::comMarcas = marcas;
        const auto comMarcas = qScopeGuard([] { MarcaGravacao::comMarcas = true; });
        const gid_t bin = ::getgrnam("bin")->gr_gid;
        for (const char* u : {"daemon", "nobody", "games"}) {
            if (Utilizadores::grupos(::getpwnam(u)->pw_uid).contains(bin))
                QSKIP("this computer lists daemon, nobody or games in the group bin");
        }
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString pasta = raiz.filePath(QStringLiteral("posto")), c = pasta + QStringLiteral("/Lorvane.ini");
        QVERIFY(QDir().mkdir(pasta));
        QCOMPARE(::chmod(QFile::encodeName(pasta).constData(), mode_t(pastaModo)), 0);
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        mudarDono(c, QStringLiteral("daemon:bin"), 0660);
        const QString donoAntes = donoEModo(c);
        const QString copia = pasta + QStringLiteral("/.zumarel-antigo-%1").arg(estado(c).st_ino);
        const auto estadoDe = [&](const char* u) {
            return QFile::encodeName(estados.filePath(QString::number(::getpwnam(u)->pw_uid)));
        };

        QCOMPARE(comoUtilizador(QStringLiteral("nobody+bin"), estadoDe("nobody"), [&] {
                     acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
                     FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
                     return QByteArray("vivo");
                 }),
                 QByteArray("morto"));
        QVERIFY(QFile::exists(copia));
        QCOMPARE(comoUtilizador(QStringLiteral("games"), {}, [&] {
                     return ::open(QFile::encodeName(copia).constData(), O_RDONLY) < 0 ? QByteArray(strerror(errno))
                                                                                         : QByteArray("lida");
                 }),
                 QByteArray(strerror(EACCES)));
        // A member of the file's group other than the one who made the copy reads it too.
        QCOMPARE(comoUtilizador(QStringLiteral("bin"), {}, [&] {
                     return ::open(QFile::encodeName(copia).constData(), O_RDONLY) < 0 ? QByteArray(strerror(errno))
                                                                                         : QByteArray("lida");
                 }),
                 QByteArray("lida"));
        QCOMPARE(comoUtilizador(leitor, estadoDe(qPrintable(leitor.section(u'+', 0, 0))), [&]() -> QByteArray {
                     return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8() + '|' + gravarChave(c, QStringLiteral("D"));
                 }),
                 QByteArray("Ana|ok"));
        QCOMPARE(lerFicheiro(c), antes + "\n[Postos]\nD=1\n");
        QCOMPARE(donoEModo(c), donoAntes);
    }

    // On a file system that keeps no marks, a copy beside the file is put
    // back only if whoever made it may write the file, as the system decides
    // it (mode, groups, access control list): in a folder where anyone makes
    // files, a copy of a user who may not write the settings changes nothing,
    // and is set aside. The copy is a real one, left by a save killed
    // part-way, then given to that user; the administrator's may always be.
    void copiaSoDeQuemPodeEscrever_data()
    {
        QTest::addColumn<QString>("dono");    // of the copy
        QTest::addColumn<int>("modo");        // of the file, root:bin
        QTest::addColumn<QString>("lista");   // access control list entries of the file's
        QTest::addColumn<QString>("leitor");  // who reads it after the kill
        QTest::addColumn<bool>("reposta");
        QTest::newRow("de quem não pode escrever") << "nobody" << 0664 << "" << "root" << false;
        QTest::newRow("de um membro do grupo do ficheiro") << "bin" << 0664 << "" << "root" << true;
        QTest::newRow("de um membro do grupo que só pode ler, os outros escrevem") << "bin" << 0646 << "" << "root" << false;
        QTest::newRow("de um utilizador a quem a lista dá a escrita") << "nobody" << 0664 << "user:nobody:rw" << "root" << true;
        QTest::newRow("de um utilizador a quem a lista dá a escrita que a máscara não deixa")
            << "nobody" << 0664 << "user:nobody:rw,mask::r" << "root" << false;
        QTest::newRow("de um membro do grupo a quem a lista só dá a leitura") << "bin" << 0664 << "user:bin:r" << "root" << false;
        QTest::newRow("de um membro do grupo que a máscara não deixa") << "bin" << 0664 << "mask::r" << "root" << false;
        QTest::newRow("de um membro do grupo que só pode ler, com lista") << "bin" << 0646 << "user:daemon:rw" << "root" << false;
        QTest::newRow("do administrador, lida por um membro do grupo") << "root" << 0464 << "" << "bin" << true;
    }
    void copiaSoDeQuemPodeEscrever()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, dono);
        QFETCH(int, modo);
        QFETCH(QString, lista);
        QFETCH(QString, leitor);
        QFETCH(bool, reposta);
        MarcaGravacao::comMarcas = false;
        const auto comMarcas = qScopeGuard([] { MarcaGravacao::comMarcas = true; });
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0777), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        mudarDono(c, QStringLiteral("root:bin"), mode_t(modo));
        if (!lista.isEmpty() && darListaAcesso(c, lista) != 0)
            QSKIP("this file system keeps no access control lists");
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + "2").constData()), 0);
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        const QByteArray cortado = lerFicheiro(c);
        const QString copia = raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino));
        const passwd* p = ::getpwnam(qPrintable(dono));
        QVERIFY(p);
        QCOMPARE(::lchown(QFile::encodeName(copia).constData(), p->pw_uid, uid_t(-1)), 0);
        const auto operador = [&] { return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8(); };
        if (leitor == u"root") {
            if (!reposta)
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may not write the file")));
            QCOMPARE(operador(), reposta ? QByteArray("Ana") : QByteArray("Rui"));
        } else {
            QCOMPARE(comoUtilizador(leitor, {}, operador), reposta ? QByteArray("Ana") : QByteArray("Rui"));
        }
        QCOMPARE(lerFicheiro(c), reposta ? antes : cortado);
        const QStringList nomes = conteudoPasta(raiz.path());
        QCOMPARE(nomes.size(), reposta ? 2 : 3);
        QCOMPARE(nomes.value(0).contains(QStringLiteral(".posta-de-lado-")), !reposta);
    }

    // A save into the file itself keeps its copy beside the file where the
    // folder takes new files, whatever the user's home; where the folder
    // takes none (here an immutable one), in the user's state folder; where
    // neither takes it, the save is refused, the file untouched, and the box
    // names both folders and why.
    void copiaOndeFica_data()
    {
        QTest::addColumn<QString>("quem");    // root: the file's folder made immutable
        QTest::addColumn<QString>("estado");  // the state folder: "sem" (no HOME, no XDG_STATE_HOME),
                                              // "ficheiro" (a file in its place), "imutavel", "cheia", "boa",
                                              // "nova" (not made yet, nor the folder above it)
        QTest::addColumn<QString>("razao");   // "ok", or the box's reason: %1 the file's folder, %2 the state folder
        const QString semLugar =
            QStringLiteral("A cópia do texto antigo não pôde ser guardada na pasta %1 (Sem permissão para escrever "
                           "[Operation not permitted]) nem ");
        QTest::newRow("ficheiro do grupo, gravado por um membro sem casa") << "bin+users" << "sem" << "ok";
        QTest::newRow("pasta sem ficheiros novos, na pasta de estado") << "root" << "boa" << "ok";
        QTest::newRow("pasta sem ficheiros novos, pasta de estado por fazer") << "root" << "nova" << "ok";
        QTest::newRow("pasta sem ficheiros novos, sem pasta de estado")
            << "root" << "sem" << semLugar + "numa pasta de estado do utilizador (não há HOME nem XDG_STATE_HOME)";
        QTest::newRow("pasta sem ficheiros novos, um ficheiro no lugar da pasta de estado")
            << "root" << "ficheiro" << semLugar + "na pasta %2 (Uma parte do caminho não é uma pasta [Not a directory])";
        QTest::newRow("pasta sem ficheiros novos, pasta de estado imutável")
            << "root" << "imutavel" << semLugar + "na pasta %2 (Sem permissão para escrever [Operation not permitted])";
        QTest::newRow("pasta sem ficheiros novos, pasta de estado cheia")
            << "root" << "cheia" << semLugar + "na pasta %2 (Não há espaço livre no disco [No space left on device])";
    }
    void copiaOndeFica()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners and immutable folders need root");
        QFETCH(QString, quem);
        QFETCH(QString, estado);
        QFETCH(QString, razao);
        QTemporaryDir raiz;
        const DiscoPequeno disco;
        if (estado == u"cheia" && !disco.ok())
            QSKIP("mounting a small file system needs root");
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        // The file's own group shares it: a member saves it in place.
        const QString pasta = raiz.filePath(QStringLiteral("posto")), c = pasta + QStringLiteral("/Lorvane.ini");
        QVERIFY(QDir().mkdir(pasta));
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\n");
        mudarDono(pasta, QStringLiteral("daemon:users"), 0775);
        mudarDono(c, QStringLiteral("daemon:users"), 0664);
        const QString pastaEstado = estado == u"cheia" ? disco.pasta()
                                    : estado == u"nova" ? raiz.filePath(QStringLiteral("estado/novo"))
                                                        : raiz.filePath(QStringLiteral("estado"));
        if (estado == u"ficheiro")
            escreverFicheiro(pastaEstado, {});
        else if (estado != u"sem" && estado != u"nova")
            QVERIFY(QDir().mkpath(pastaEstado + QStringLiteral("/zumarel")));
        if (estado == u"cheia")
            disco.encher();
        const Imutavel estadoImutavel(estado == u"imutavel" ? pastaEstado + QStringLiteral("/zumarel") : QString());
        const Imutavel pastaImutavel(quem == u"root" ? pasta : QString());
        if ((quem == u"root" && !pastaImutavel.ok()) || (estado == u"imutavel" && !estadoImutavel.ok()))
            QSKIP("this file system cannot make a folder immutable");
        const QByteArray antes = lerFicheiro(c);
        const QByteArray xdg = estado == u"sem" ? QByteArray() : QFile::encodeName(pastaEstado);
        QCOMPARE(QString::fromUtf8(comoUtilizador(quem, xdg, [&] { return gravarChave(c, QStringLiteral("A")); })),
                 razao.arg(pasta, pastaEstado + QStringLiteral("/zumarel")));
        QCOMPARE(lerFicheiro(c), razao == u"ok" ? antes + "\n[Postos]\nA=1\n" : antes);
        QCOMPARE(conteudoPasta(pasta), QStringList{QStringLiteral("Lorvane.ini")});
        if (estado == u"boa" || estado == u"nova")
            QCOMPARE(conteudoPasta(pastaEstado + QStringLiteral("/zumarel")), QStringList());
        // Made for its user alone, every folder of it.
        if (estado == u"nova") {
            QCOMPARE(::estado(pastaEstado).st_mode & 07777, 0700u);
            QCOMPARE(::estado(pastaEstado + QStringLiteral("/zumarel")).st_mode & 07777, 0700u);
        }
    }

    // Two users' stations share a file anyone may write (0666, the
    // administrator's). One is killed while it saves into the file. Where
    // the other finds the copy (beside the file, in a folder that takes new
    // files), it reads the old text (or the new, once whole) and saves. Where
    // it cannot (the copy in the first user's state folder, as the folder
    // takes no new file; or beside the file's other name, in another folder)
    // the file's mark tells it that the text may be cut short: its save is
    // refused, naming whose save it was, until the first station runs again
    // and puts the old text back.
    void outroUtilizadorDepoisDeUmaMorte_data()
    {
        QTest::addColumn<int>("pastaModo");
        QTest::addColumn<bool>("outraPasta");  // the other station reads through a name in another folder
        QTest::addColumn<int>("passo");        // where the first station is killed
        QTest::addColumn<QString>("lido");     // by the other station; empty: its save is refused
        using P = GravacaoFicheiro::Passo;
        QTest::newRow("pasta que aceita ficheiros novos, morto a meio") << 0777 << false << int(P::Truncagem) << "Ana";
        QTest::newRow("pasta que aceita ficheiros novos, morto com o texto inteiro")
            << 0777 << false << int(P::Confirmacao) << "Rui";
        QTest::newRow("pasta que não aceita ficheiros novos, morto a meio") << 0555 << false << int(P::Truncagem) << "";
        QTest::newRow("lido por um nome noutra pasta, morto a meio") << 0777 << true << int(P::Truncagem) << "";
        QTest::newRow("lido por um nome noutra pasta, morto com o texto inteiro")
            << 0777 << true << int(P::Confirmacao) << "Rui";
    }
    void outroUtilizadorDepoisDeUmaMorte()
    {
        if (::geteuid() != 0)
            QSKIP("changing users needs root");
        QFETCH(int, pastaModo);
        QFETCH(bool, outraPasta);
        QFETCH(int, passo);
        QFETCH(QString, lido);
        QTemporaryDir raiz, outra;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QString doOutro = outraPasta ? outra.filePath(QStringLiteral("Lorvane.ini")) : c;
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n");
        QCOMPARE(::chmod(QFile::encodeName(c).constData(), 0666), 0);
        if (outraPasta)
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(doOutro).constData()), 0);
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), mode_t(pastaModo)), 0);
        QCOMPARE(::chmod(QFile::encodeName(outra.path()).constData(), 0777), 0);
        const QByteArray estadoA = QFile::encodeName(estados.filePath(QString::number(::getpwnam("bin")->pw_uid)));
        const QByteArray estadoB = QFile::encodeName(estados.filePath(QString::number(::getpwnam("daemon")->pw_uid)));
        const auto operador = [](const QString& caminho) {
            return [=] { return FicheiroPerfil(caminho).ler("Acesso", "Operador", {}).toUtf8(); };
        };
        const struct stat ficheiro = estado(c);

        QCOMPARE(comoUtilizador(QStringLiteral("bin"), estadoA, [&] {
                     acabarNoPasso(GravacaoFicheiro::Passo(passo));
                     FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
                     return QByteArray("vivo");
                 }),
                 QByteArray("morto"));
        const QByteArray lidoPeloOutro = comoUtilizador(QStringLiteral("daemon"), estadoB, operador(doOutro));
        const QString gravadoPeloOutro = QString::fromUtf8(
            comoUtilizador(QStringLiteral("daemon"), estadoB, [&] { return gravarChave(doOutro, QStringLiteral("B")); }));
        if (lido.isEmpty()) {
            // The mark names the copy's place, not its folder: the saving user's state folder, or beside a name.
            const QString copia = pastaModo == 0555 ? QStringLiteral("copia-%1-%2 na pasta de estado de bin")
                                                          .arg(ficheiro.st_dev)
                                                          .arg(ficheiro.st_ino)
                                                    : QStringLiteral(".zumarel-antigo-%1 na pasta de um dos nomes "
                                                                     "do ficheiro")
                                                          .arg(ficheiro.st_ino);
            QCOMPARE(gravadoPeloOutro, QStringLiteral("Uma gravação de bin no computador ") + QSysInfo::machineHostName()
                                           + QStringLiteral(" foi interrompida a meio e o ficheiro pode estar "
                                                            "incompleto: a cópia do texto antigo, ")
                                           + copia + QStringLiteral(", não está ao alcance deste posto"));
            // The first station, when it runs again, puts the old text back; then the other saves.
            QCOMPARE(comoUtilizador(QStringLiteral("bin"), estadoA, operador(c)), QByteArray("Ana"));
            QCOMPARE(comoUtilizador(QStringLiteral("daemon"), estadoB, [&] { return gravarChave(doOutro, QStringLiteral("B")); }),
                     QByteArray("ok"));
        } else {
            QCOMPARE(lidoPeloOutro, lido.toUtf8());
            QCOMPARE(gravadoPeloOutro, QStringLiteral("ok"));
        }
        QCOMPARE(comoUtilizador(QStringLiteral("bin"), estadoA, [&]() -> QByteArray {
                     return operador(c)() + ' ' + FicheiroPerfil(c).ler("Postos", "B", {}).toUtf8();
                 }),
                 (lido.isEmpty() ? QByteArray("Ana") : lidoPeloOutro) + " 1");
        // A copy whose save the other station told whole by the mark alone is
        // of no save cut short when its maker finds it: set aside.
        QStringList nomes = conteudoPasta(raiz.path());
        if (outraPasta && !lido.isEmpty() && nomes.size() == 2 && nomes[0].contains(QStringLiteral(".posta-de-lado-")))
            nomes.removeFirst();
        QCOMPARE(nomes, QStringList{QStringLiteral("Lorvane.ini")});
        const QByteArray inicio = "[Acesso]\nOperador=" + (lido.isEmpty() ? QByteArray("Ana") : lidoPeloOutro) + "\nNota=";
        QVERIFY(lerFicheiro(c).startsWith(inicio));
    }
};

QTEST_GUILESS_MAIN(TesteGravacaoFicheiro)
#include "tst_GravacaoFicheiro.moc"
