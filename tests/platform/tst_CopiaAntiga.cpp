// The rollback copy of a save into the settings file itself: who may use it
// (never more than the file allows, whatever the size of its access list),
// what a refusal says of an entry at its name, and what a copy must hold
// and the file be for the old text to go back.
#include "platform/ficheiros/ConteudoCopia.h"
#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Whether `quem` (see comoUtilizador) may open the file for `acesso` (O_RDONLY, O_WRONLY).
QByteArray abreComo(const QString& quem, const QString& caminho, int acesso)
{
    return comoUtilizador(quem, {}, [&] {
        const int fd = ::open(QFile::encodeName(caminho).constData(), acesso | O_CLOEXEC);
        if (fd < 0)
            return QByteArray("recusado");
        ::close(fd);
        return QByteArray("aberto");
    });
}

// A save into the file `c` itself (it has a second name), killed before the
// cut, so that its copy stays beside it.
void gravacaoMorta(const QString& c)
{
    QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
    ProcessoFilho filho([&] {
        acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
        FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
    });
    QVERIFY(WIFSIGNALED(filho.esperar()));
}

// Makes at `caminho` an entry of the kind `tipo` ("ficheiro": a file only its owner may read), nobody's.
void entradaDeOutro(const QString& caminho, const QString& tipo)
{
    const QByteArray c = QFile::encodeName(caminho);
    if (tipo == u"pasta") {
        QCOMPARE(::mkdir(c.constData(), 0755), 0);
    } else if (tipo == u"ligacao") {
        QCOMPARE(::symlink("Lorvane.ini", c.constData()), 0);
    } else if (tipo == u"socket") {
        sockaddr_un endereco{};
        endereco.sun_family = AF_UNIX;
        qstrncpy(endereco.sun_path, c.constData(), sizeof endereco.sun_path);
        const int tomada = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(tomada >= 0);
        const int ligada = ::bind(tomada, reinterpret_cast<const sockaddr*>(&endereco), sizeof endereco);
        ::close(tomada);
        QCOMPARE(ligada, 0);
    } else if (tipo == u"fifo") {
        QCOMPARE(::mkfifo(c.constData(), 0666), 0);
    } else {
        escreverFicheiro(caminho, "de outro\n");
        QCOMPARE(::chmod(c.constData(), 0600), 0);
    }
    const passwd* nobody = ::getpwnam("nobody");
    QVERIFY(nobody);
    QCOMPARE(::lchown(c.constData(), nobody->pw_uid, nobody->pw_gid), 0);
}

// The copy `copia` with its header line `n` (0: the one that says what it is) given as `linha`.
QByteArray comLinha(const QByteArray& copia, int n, const QByteArray& linha)
{
    qsizetype inicio = 0;
    for (int i = 0; i < n; ++i)
        inicio = copia.indexOf('\n', inicio) + 1;
    return copia.left(inicio) + linha + copia.mid(copia.indexOf('\n', inicio));
}

// A disk of the test's own that keeps neither access control lists nor
// user attributes (a ramfs), mounted in a mount namespace of this
// process's own, so that it goes with the process whatever happens.
class DiscoSemListas
{
public:
    DiscoSemListas()
    {
        m_montado = m_pasta.isValid() && ::unshare(CLONE_NEWNS) == 0
                    && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                    && ::mount("zumarel-teste", QFile::encodeName(m_pasta.path()).constData(), "ramfs", 0, "mode=0755")
                           == 0;
    }
    ~DiscoSemListas()
    {
        if (m_montado)
            ::umount2(QFile::encodeName(m_pasta.path()).constData(), MNT_DETACH);
    }
    Q_DISABLE_COPY(DiscoSemListas)
    bool ok() const { return m_montado; }
    QString caminho(const QString& nome) const { return m_pasta.filePath(nome); }
    QString pasta() const { return m_pasta.path(); }

private:
    QTemporaryDir m_pasta;
    bool m_montado = false;
};

QByteArray sha256(const QByteArray& texto)
{
    return QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
}

}  // namespace

using Veredicto = ConteudoCopia::Veredicto;

class TesteCopiaAntiga : public QObject
{
    Q_OBJECT

    QTemporaryDir estados;  // the state folder of this process's saves

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_STATE_HOME", QFile::encodeName(estados.path())); }
    void cleanup() { QCOMPARE(conteudoPasta(estados.filePath(QStringLiteral("zumarel"))), QStringList()); }

    // A copy beside the file gives each user what the file's whole access
    // control list gives (never the mode alone, whose group bits are the
    // list's mask), however long the list: a user the list bars, though a
    // member of a group it lets in, cannot read the copy; a named entry gets
    // no more than the mask lets it. The list is set on a small disk of the
    // test's own (a tmpfs), which keeps lists of any size.
    void listaDoFicheiroNaCopia_data()
    {
        QTest::addColumn<QString>("dono");      // of the file, "user:group", mode 0660 but `modo`
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("lista");     // setfacl entries; "%600": 600 named users who may read
        QTest::addColumn<QStringList>("acessos");  // "who:r|w:aberto|recusado" on the copy
        QTest::newRow("600 utilizadores, um membro do grupo barrado")
            << "daemon:users" << 0660 << "%600,user:bin:---"
            << QStringList{"bin+users:r:recusado", "games+users:r:aberto", "games+users:w:aberto",
                           "daemon:r:aberto", "nobody:r:recusado"};
        QTest::newRow("600 utilizadores, um grupo barrado") << "daemon:users" << 0664 << "%600,group:bin:---"
                                                           << QStringList{"bin:r:recusado", "games:r:aberto",
                                                                          "games:w:recusado"};
        QTest::newRow("a máscara tira a escrita a um utilizador nomeado")
            << "bin:users" << 0660 << "user:daemon:rw,mask::r"
            << QStringList{"daemon:r:aberto", "daemon:w:recusado", "games+users:w:recusado", "bin:w:aberto"};
    }
    void listaDoFicheiroNaCopia()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners and mounting a disk need root");
        QFETCH(QString, dono);
        QFETCH(int, modo);
        QFETCH(QString, lista);
        QFETCH(QStringList, acessos);
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("setfacl")).isEmpty(), "install the package acl");
        const DiscoPequeno disco;
        if (!disco.ok())
            QSKIP("a small disk of the test's own could not be mounted");
        QStringList muitos;
        for (int uid = 10000; uid < 10600; ++uid)
            muitos << QStringLiteral("user:%1:r").arg(uid);
        lista.replace(QStringLiteral("%600"), muitos.join(u','));
        const QString c = disco.caminho(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        mudarDono(c, dono, mode_t(modo));
        if (darListaAcesso(c, lista) != 0)
            QSKIP("this file system refuses the list");
        gravacaoMorta(c);
        if (QTest::currentTestFailed())
            return;
        const QString copia = disco.caminho(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino));
        QVERIFY(QFile::exists(copia));
        for (const QString& acesso : acessos) {
            const QStringList a = acesso.split(u':');
            QCOMPARE(a[0] + u':' + a[1] + u':'
                         + QString::fromUtf8(abreComo(a[0], copia, a[1] == u"r" ? O_RDONLY : O_WRONLY)),
                     acesso);
        }
        // The next reading puts the old text back, and the copy goes.
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
        QVERIFY(!QFile::exists(copia));
    }

    // Whoever may read the file reads its copy beside it, and no one else:
    // in a folder where anyone makes files (sticky), a group's folder and a
    // group's folder whose group new files take (setgid), on a disk with
    // access control lists and on one without. A member of the saving
    // user's group, or of the folder's, reads the copy as the file lets him
    // (as one of the others, where the file does not name that group); no
    // one writes the copy who may not write the file. Where no list or mode
    // says exactly that (a group the file bars, an owner outside the file's
    // group, a group the saver may not give on a disk without lists), the
    // copy is kept in the saving user's state folder. Another member who may
    // read and write the file then reads the old text and saves; the saving
    // user's station puts back its own.
    void leitoresDaCopia_data()
    {
        QTest::addColumn<bool>("listas");     // the disk keeps access control lists
        QTest::addColumn<int>("pastaModo");   // of the folder, root:users
        QTest::addColumn<QString>("ficheiro");  // owner and group
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("gravador");
        QTest::addColumn<QString>("membro");  // who reads and saves after the kill; empty: the copy is in the state folder
        const int pegajosa = 01777, grupo = 0770, setgid = 02770;
        QTest::newRow("listas, pasta setgid, outros escrevem")
            << true << setgid << "daemon:bin" << 0666 << "" << "nobody+users" << "games+users";
        QTest::newRow("listas, pasta setgid, grupo do ficheiro que não é do gravador")
            << true << setgid << "daemon:daemon" << 0666 << "" << "bin+users" << "games+users+bin";
        QTest::newRow("listas, pasta do grupo, gravador nomeado")
            << true << grupo << "daemon:bin" << 0660 << "user:nobody:rw" << "nobody+users" << "games+users+bin";
        QTest::newRow("listas, pasta pegajosa, o grupo só lê") << true << pegajosa << "daemon:bin" << 0646 << ""
                                                                << "nobody+users" << "games";
        QTest::newRow("listas, pasta setgid, um grupo barrado")
            << true << setgid << "daemon:daemon" << 0606 << "" << "nobody+users" << "";
        QTest::newRow("sem listas, pasta setgid, o grupo só lê")
            << false << setgid << "daemon:bin" << 0646 << "" << "nobody+users" << "";
        QTest::newRow("sem listas, pasta pegajosa, o dono lê como os outros")
            << false << pegajosa << "daemon:bin" << 0664 << "" << "bin+users" << "games+bin";
        QTest::newRow("sem listas, pasta do grupo, grupo do ficheiro")
            << false << grupo << "daemon:users" << 0666 << "" << "nobody+users" << "games+users";
        QTest::newRow("sem listas, pasta pegajosa, dono fora do grupo")
            << false << pegajosa << "daemon:bin" << 0660 << "" << "bin" << "";
        QTest::newRow("sem listas, pasta setgid, do próprio gravador")
            << false << setgid << "bin:bin" << 0660 << "" << "bin+users" << "games+users+bin";
    }
    void leitoresDaCopia()
    {
        if (::geteuid() != 0)
            QSKIP("changing users and mounting a disk need root");
        QFETCH(bool, listas);
        QFETCH(int, pastaModo);
        QFETCH(QString, ficheiro);
        QFETCH(int, modo);
        QFETCH(QString, lista);
        QFETCH(QString, gravador);
        QFETCH(QString, membro);
        std::optional<DiscoSemListas> semListas;
        QTemporaryDir comListas;
        QString raiz = comListas.path();
        if (!listas) {
            semListas.emplace();
            if (!semListas->ok())
                QSKIP("a disk without access control lists could not be mounted");
            raiz = semListas->pasta();
        } else if (!aceitaAtributos(raiz)) {
            QSKIP("the temporary folder keeps no access control lists");
        }
        QCOMPARE(::chmod(QFile::encodeName(raiz).constData(), 0755), 0);
        const QString pasta = raiz + QStringLiteral("/posto"), c = pasta + QStringLiteral("/Lorvane.ini");
        QVERIFY(QDir().mkdir(pasta));
        mudarDono(pasta, QStringLiteral("root:users"), mode_t(pastaModo));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        mudarDono(c, ficheiro, mode_t(modo));
        if (!lista.isEmpty())
            QCOMPARE(darListaAcesso(c, lista), 0);
        QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
        QTemporaryDir estadoGravador;
        QCOMPARE(::chmod(QFile::encodeName(estadoGravador.path()).constData(), 0777), 0);
        const QByteArray xdg = QFile::encodeName(estadoGravador.path());
        QCOMPARE(comoUtilizador(gravador, xdg, [&] {
                     acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
                     FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
                     return QByteArray("vivo");
                 }),
                 QByteArray("morto"));
        const struct stat st = estado(c);
        const QString copia = pasta + QStringLiteral("/.zumarel-antigo-%1").arg(st.st_ino);
        const QString noEstado = estadoGravador.filePath(QStringLiteral("zumarel/copia-%1-%2").arg(st.st_dev).arg(st.st_ino));
        QCOMPARE(QFile::exists(copia), !membro.isEmpty());
        QCOMPARE(QFile::exists(noEstado), membro.isEmpty());
        if (membro.isEmpty()) {
            // The saving user's station, running again, puts its own copy back.
            QCOMPARE(comoUtilizador(gravador, xdg, [&] { return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8(); }),
                     QByteArray("Ana"));
            QCOMPARE(lerFicheiro(c), antes);
            return;
        }
        QStringList diferentes;
        for (const char* quem : {"daemon", "daemon+users", "bin", "bin+users", "nobody", "nobody+users", "nobody+bin",
                                 "games", "games+users", "games+bin", "games+users+bin"}) {
            const QString q = QString::fromLatin1(quem);
            if (q.section(u'+', 0, 0) == gravador.section(u'+', 0, 0))
                continue;  // the copy's maker, who wrote the old text into it
            const QByteArray lerFicheiro = abreComo(q, c, O_RDONLY), lerCopia = abreComo(q, copia, O_RDONLY);
            if (lerFicheiro != lerCopia)
                diferentes << q + QStringLiteral(" lê a cópia: ") + QString::fromUtf8(lerCopia);
            if (abreComo(q, copia, O_WRONLY) == "aberto" && abreComo(q, c, O_WRONLY) != "aberto")
                diferentes << q + QStringLiteral(" escreve a cópia");
        }
        QCOMPARE(diferentes, QStringList());
        // In a sticky folder the member cannot take the maker's copy away: his own goes to his state folder.
        QTemporaryDir estadoMembro;
        QCOMPARE(::chmod(QFile::encodeName(estadoMembro.path()).constData(), 0777), 0);
        QCOMPARE(comoUtilizador(membro, QFile::encodeName(estadoMembro.path()), [&]() -> QByteArray {
                     return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8() + '|' + gravarChave(c, QStringLiteral("D"));
                 }),
                 QByteArray("Ana|ok"));
        QCOMPARE(lerFicheiro(c), antes + "\n[Postos]\nD=1\n");
    }

    // On a file system that keeps no access control lists, the copy beside
    // the file gets the file's group and its group's and others' bits (its
    // maker, its owner, reads and writes it), and is put back only if
    // whoever made it may write the file by its mode (a copy another user
    // left in a folder where anyone makes files is set aside).
    void copiaSemListas_data()
    {
        QTest::addColumn<QString>("ficheiro");  // owner and group of the file
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("copia");     // who the copy is given to after the kill
        QTest::addColumn<bool>("reposta");
        QTest::newRow("de um membro do grupo que pode escrever") << "root:bin" << 0664 << "bin" << true;
        QTest::newRow("de um membro do grupo que só pode ler") << "root:bin" << 0644 << "bin" << false;
        QTest::newRow("de quem o modo não deixa escrever") << "root:bin" << 0664 << "nobody" << false;
        QTest::newRow("de quem os outros deixam escrever") << "root:bin" << 0646 << "nobody" << true;
        QTest::newRow("do dono do ficheiro") << "daemon:bin" << 0644 << "daemon" << true;
        QTest::newRow("do dono do ficheiro, que só o pode ler") << "daemon:bin" << 0464 << "daemon" << false;
    }
    void copiaSemListas()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners and mounting a disk need root");
        QFETCH(QString, ficheiro);
        QFETCH(int, modo);
        QFETCH(QString, copia);
        QFETCH(bool, reposta);
        const DiscoSemListas disco;
        if (!disco.ok())
            QSKIP("a disk without access control lists could not be mounted");
        QCOMPARE(::chmod(QFile::encodeName(disco.pasta()).constData(), 0777), 0);
        const QString c = disco.caminho(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        mudarDono(c, ficheiro, mode_t(modo));
        gravacaoMorta(c);
        if (QTest::currentTestFailed())
            return;
        const QByteArray cortado = lerFicheiro(c);
        const QString nome = disco.caminho(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino));
        QCOMPARE(donoEModo(nome), QStringLiteral("0:%1 %2").arg(estado(c).st_gid).arg((modo & 0066) | 0600, 4, 8, QLatin1Char('0')));
        const passwd* p = ::getpwnam(qPrintable(copia));
        QVERIFY(p);
        QCOMPARE(::lchown(QFile::encodeName(nome).constData(), p->pw_uid, uid_t(-1)), 0);
        if (!reposta)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("may not write the file")));
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}),
                 reposta ? QStringLiteral("Ana") : QStringLiteral("Rui"));
        QCOMPARE(lerFicheiro(c), reposta ? antes : cortado);
        const QStringList nomes = conteudoPasta(disco.pasta());
        QCOMPARE(nomes.size(), reposta ? 2 : 3);
        QCOMPARE(nomes.value(0).contains(QStringLiteral(".posta-de-lado-")), !reposta);
    }

    // A file of a disk that keeps access control lists, mounted on its own in
    // a folder of one that keeps none: its copy beside it gets the file's
    // group and mode where the file has no list beyond its mode and the mode
    // lets its owner read the copy as he reads the file; where the file's list
    // bars a member of its group, or its owner, outside its group, could read
    // the copy only as one of the others, which no mode can say, the copy is
    // kept in the user's state folder instead.
    void copiaNumaPastaSemListas_data()
    {
        QTest::addColumn<int>("modo");
        QTest::addColumn<QString>("lista");
        QTest::addColumn<bool>("junto");  // the copy is beside the file, else in the state folder
        QTest::newRow("ficheiro sem lista") << 0644 << "" << true;
        QTest::newRow("ficheiro sem lista cujo dono só os outros deixariam ler") << 0640 << "" << false;
        QTest::newRow("ficheiro cuja lista barra um membro do grupo") << 0640 << "user:bin:---" << false;
    }
    void copiaNumaPastaSemListas()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners and mounting need root");
        QFETCH(int, modo);
        QFETCH(QString, lista);
        QFETCH(bool, junto);
        const DiscoSemListas disco;
        if (!disco.ok())
            QSKIP("a disk without access control lists could not be mounted");
        QTemporaryDir outro;
        if (!aceitaAtributos(outro.path()))
            QSKIP("the temporary folder keeps no access control lists");
        const QString fonte = outro.filePath(QStringLiteral("Lorvane.ini")), c = disco.caminho(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(fonte, antes);
        mudarDono(fonte, QStringLiteral("daemon:bin"), mode_t(modo));
        if (!lista.isEmpty())
            QCOMPARE(darListaAcesso(fonte, lista), 0);
        escreverFicheiro(c, {});
        QCOMPARE(::mount(QFile::encodeName(fonte).constData(), QFile::encodeName(c).constData(), nullptr, MS_BIND,
                         nullptr),
                 0);
        const auto desmontar = qScopeGuard([&] { ::umount2(QFile::encodeName(c).constData(), MNT_DETACH); });
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        const struct stat st = estado(c);
        const QString aoLado = disco.caminho(QStringLiteral(".zumarel-antigo-%1").arg(st.st_ino));
        const QString noEstado = estados.filePath(QStringLiteral("zumarel/copia-%1-%2").arg(st.st_dev).arg(st.st_ino));
        QCOMPARE(QFile::exists(aoLado), junto);
        QCOMPARE(QFile::exists(noEstado), !junto);
        if (junto) {
            QCOMPARE(donoEModo(aoLado), QStringLiteral("0:%1 %2").arg(st.st_gid).arg(modo, 4, 8, QLatin1Char('0')));
            for (const char* leitor : {"bin", "daemon"})
                QCOMPARE(abreComo(QString::fromLatin1(leitor), aoLado, O_RDONLY), QByteArray("aberto"));
        }
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(conteudoPasta(disco.pasta()), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // Whatever another user leaves at the copy's name, a save that needs
    // the name is refused naming that entry, its kind and its owner: never
    // "the copy of the old text", which only a copy this station can read
    // and recognise is. So too where a save into the file was cut short and
    // its copy is gone: the refusal says whose save it was and what holds
    // its copy's name instead.
    void entradaNoNomeDaCopiaNomeada_data()
    {
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<bool>("cortada");  // a save into the file was cut short, its copy then taken away
        QTest::addColumn<QString>("razao");  // %1 the folder, %2 the entry's name
        const auto alheia = [](const char* tipo) -> QString {
            return QStringLiteral("Há na pasta %1 uma entrada %2 (") + QString::fromUtf8(tipo)
                   + QStringLiteral(", de nobody) que não é uma cópia desta estação");
        };
        const QString ilegivel = QStringLiteral("Há na pasta %1 uma entrada %2 (um ficheiro, de nobody) que esta "
                                                "estação não pode ler (Sem permissão para ler [Permission denied])");
        const QList<std::pair<const char*, QString>> tipos{{"ficheiro", ilegivel},
                                                           {"fifo", alheia("um FIFO")},
                                                           {"socket", alheia("um socket")},
                                                           {"pasta", alheia("uma pasta")},
                                                           {"ligacao", alheia("uma ligação simbólica")}};
        for (const auto& [tipo, razao] : tipos) {
            QTest::addRow("%s", tipo) << tipo << false << razao;
            QTest::addRow("%s, depois de uma gravação cortada", tipo) << tipo << true << razao;
        }
    }
    void entradaNoNomeDaCopiaNomeada()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(QString, tipo);
        QFETCH(bool, cortada);
        QFETCH(QString, razao);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0777), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n");
        mudarDono(c, QStringLiteral("bin:bin"), 0666);
        const QString nome = QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino);
        if (cortada) {
            QCOMPARE(comoUtilizador(QStringLiteral("bin"), {}, [&] {
                         gravacaoMorta(c);
                         return QByteArray("vivo");
                     }),
                     QByteArray("vivo"));
            QVERIFY(QFile::remove(raiz.filePath(nome)));
            razao = QStringLiteral("Uma gravação de bin no computador ") + QSysInfo::machineHostName()
                    + QStringLiteral(" foi interrompida a meio e o ficheiro pode estar incompleto: h") + razao.mid(1);
        } else {
            QCOMPARE(::link(QFile::encodeName(c).constData(), QFile::encodeName(c + u'2').constData()), 0);
        }
        entradaDeOutro(raiz.filePath(nome), tipo);
        const QByteArray antes = lerFicheiro(c);
        QCOMPARE(QString::fromUtf8(comoUtilizador(QStringLiteral("daemon"), {}, [&] { return gravarChave(c, QStringLiteral("A")); })),
                 razao.arg(raiz.path(), nome));
        QCOMPARE(lerFicheiro(c), antes);
    }

    // A copy is taken as whole only when it is as long as its lines say and
    // each text is of the length and checksum its line gives, that length
    // one a save could have written (at most 16 MiB): a crafted copy with a
    // good header but anything else is no copy, whose texts nobody puts back.
    void copiaSoInteiraSeConfere_data()
    {
        QTest::addColumn<QByteArray>("antigo");
        QTest::addColumn<QByteArray>("novo");
        QTest::addColumn<int>("linha");           // the header line replaced: 0 what it is, 3 and 4 the texts'; -1 none
        QTest::addColumn<QByteArray>("trocada");  // the line put in its place
        QTest::addColumn<QByteArray>("depois");   // bytes after the texts
        QTest::addColumn<bool>("inteira");
        const QByteArray antigo = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(300, 'x') + "\n";
        const QByteArray novo = "[Acesso]\nOperador=Rui\n";
        const QByteArray enorme(GravacaoFicheiro::TamanhoMaximo + 1, 'a');
        QTest::newRow("inteira") << antigo << novo << -1 << QByteArray() << QByteArray() << true;
        QTest::newRow("textos vazios") << QByteArray() << QByteArray() << -1 << QByteArray() << QByteArray() << true;
        QTest::newRow("mais longa do que as linhas dizem") << antigo << novo << -1 << QByteArray() << QByteArray("x") << false;
        QTest::newRow("mais longa, de um texto inteiro") << antigo << novo << -1 << QByteArray() << novo << false;
        QTest::newRow("mais curta do que as linhas dizem")
            << antigo << novo << 4 << QByteArray::number(novo.size() + 1) + ' ' + sha256(novo) << QByteArray() << false;
        QTest::newRow("um texto de mais de 16 MiB") << enorme << QByteArray("x") << -1 << QByteArray() << QByteArray() << false;
        QTest::newRow("um tamanho negativo")
            << antigo << novo << 3 << "-" + QByteArray::number(antigo.size()) + ' ' + sha256(antigo) << QByteArray()
            << false;
        QTest::newRow("um tamanho que não é um número") << antigo << novo << 3 << "3x0 " + sha256(antigo) << QByteArray()
                                                        << false;
        QTest::newRow("a soma do texto antigo não confere")
            << antigo << novo << 3 << QByteArray::number(antigo.size()) + ' ' + sha256(novo) << QByteArray() << false;
        QTest::newRow("a soma do texto novo não confere")
            << antigo << novo << 4 << QByteArray::number(novo.size()) + ' ' + sha256(antigo) << QByteArray() << false;
        QTest::newRow("os tamanhos trocados entre os textos")
            << antigo << novo << 3 << QByteArray::number(novo.size()) + ' ' + sha256(antigo) << QByteArray() << false;
        QTest::newRow("outra assinatura") << antigo << novo << 0 << QByteArray("Zumarel: outra coisa") << QByteArray() << false;
    }
    void copiaSoInteiraSeConfere()
    {
        QFETCH(QByteArray, antigo);
        QFETCH(QByteArray, novo);
        QFETCH(int, linha);
        QFETCH(QByteArray, trocada);
        QFETCH(QByteArray, depois);
        QFETCH(bool, inteira);
        QTemporaryDir sitio;
        QByteArray bytes = ConteudoCopia::formar("/srv/posto/Lorvane.ini", "1700000000.5", antigo, novo);
        if (linha >= 0)
            bytes = comLinha(bytes, linha, trocada);
        const QString copia = sitio.filePath(QStringLiteral("copia"));
        escreverFicheiro(copia, bytes + depois);
        Descritor d;
        d.fd = ::open(QFile::encodeName(copia).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(d.fd >= 0);
        const std::optional<ConteudoCopia::Conteudo> c = ConteudoCopia::ler(d.fd);
        QCOMPARE(c.has_value(), inteira);
        if (inteira) {
            QCOMPARE(c->antigo, antigo);
            QCOMPARE(c->novo, novo);
            QCOMPARE(c->nascimento, QByteArray("1700000000.5"));
            QCOMPARE(c->dono, ::geteuid());
        }
    }

    // What the file as found says of the save whose copy this is. That save
    // wrote the new text over the old from the start (into zeros reserved
    // past the old end) and cut it to length: only a file between the two
    // lengths, each byte the old text's, the new one's or such a zero, is
    // what it left part-way, and gets the old text back. A file shorter than
    // both texts (emptied, or cut short by another program), longer than
    // both, with a byte of neither, or born at another time, is a newer file.
    void julgamento_data()
    {
        QTest::addColumn<QByteArray>("antigo");
        QTest::addColumn<QByteArray>("novo");
        QTest::addColumn<QByteArray>("ficheiro");
        QTest::addColumn<QByteArray>("nascimento");  // of the file as found; the copy's is "1.5"
        QTest::addColumn<int>("veredicto");
        const QByteArray longo = "[Acesso]\nOperador=Ana\nNota=uma nota longa\n";
        const QByteArray curto = "[Acesso]\nOperador=Rui\n";
        const QByteArray meio = curto + longo.mid(curto.size(), 5);  // a new text written, not yet cut
        QByteArray alheio = meio;
        alheio[curto.size() + 2] = '#';
        const QByteArray crescido = curto.left(longo.size() - curto.size()) + longo.mid(longo.size() - curto.size());
        const int inteiro = int(Veredicto::Inteiro), repor = int(Veredicto::Repor), outro = int(Veredicto::OutroFicheiro);
        QTest::newRow("o texto antigo") << longo << curto << longo << QByteArray("1.5") << inteiro;
        QTest::newRow("o texto novo") << longo << curto << curto << QByteArray("1.5") << inteiro;
        QTest::newRow("o novo escrito, por cortar") << longo << curto << meio << QByteArray("1.5") << repor;
        QTest::newRow("sem nascimento conhecido") << longo << curto << meio << QByteArray() << repor;
        QTest::newRow("esvaziado") << longo << curto << QByteArray() << QByteArray("1.5") << outro;
        QTest::newRow("cortado mais curto do que ambos") << longo << curto << curto.left(9) << QByteArray("1.5") << outro;
        QTest::newRow("mais longo do que ambos") << longo << curto << longo + "x" << QByteArray("1.5") << outro;
        QTest::newRow("um byte de nenhum dos textos") << longo << curto << alheio << QByteArray("1.5") << outro;
        QTest::newRow("nascido a outra hora") << longo << curto << meio << QByteArray("2.5") << outro;
        QTest::newRow("nascido a outra hora, com o texto antigo") << longo << curto << longo << QByteArray("2.5") << outro;
        QTest::newRow("um texto novo mais longo, no espaço reservado")
            << curto << longo << longo.left(curto.size() + 3) + QByteArray(4, '\0') << QByteArray("1.5") << repor;
        QTest::newRow("um texto novo mais longo, sem o seu início")
            << curto << longo << crescido.left(curto.size() + 2) << QByteArray("1.5") << repor;
        QTest::newRow("zeros sobre o texto antigo") << longo << curto << curto + QByteArray(5, '\0') << QByteArray("1.5")
                                                   << outro;
    }
    void julgamento()
    {
        QFETCH(QByteArray, antigo);
        QFETCH(QByteArray, novo);
        QFETCH(QByteArray, ficheiro);
        QFETCH(QByteArray, nascimento);
        QFETCH(int, veredicto);
        const ConteudoCopia::Conteudo copia{0, "1.5", antigo, novo};
        QCOMPARE(int(ConteudoCopia::julgar(copia, nascimento, ficheiro)), veredicto);
    }

    // After a save into the file cut short, another program empties the
    // file or cuts it shorter than both texts, or changes a byte: the next
    // reading keeps that newer file and sets the copy aside; only the file
    // as the save left it gets the old text back. So too on a file system
    // that keeps no marks.
    void ficheiroMudadoDepoisDeUmaGravacaoCortada_data()
    {
        QTest::addColumn<QString>("como");
        QTest::addColumn<bool>("marcas");
        QTest::addColumn<QString>("lido");  // Operador, as read next
        for (const bool marcas : {true, false}) {
            const char* m = marcas ? "" : ", sem marcas";
            QTest::addRow("deixado pela gravação%s", m) << "deixado" << marcas << "Ana";
            QTest::addRow("esvaziado%s", m) << "esvaziado" << marcas << "";
            QTest::addRow("cortado mais curto do que ambos os textos%s", m) << "cortado" << marcas << "";
            QTest::addRow("com um byte de nenhum dos textos%s", m) << "alheio" << marcas << "Rui";
        }
    }
    void ficheiroMudadoDepoisDeUmaGravacaoCortada()
    {
        QFETCH(QString, como);
        QFETCH(bool, marcas);
        QFETCH(QString, lido);
        MarcaGravacao::comMarcas = marcas;
        const auto comMarcas = qScopeGuard([] { MarcaGravacao::comMarcas = true; });
        QTemporaryDir sitio;
        const QString c = sitio.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        gravacaoMorta(c);
        if (QTest::currentTestFailed())
            return;
        QByteArray mudado = lerFicheiro(c);
        QVERIFY(mudado.startsWith("[Acesso]\nOperador=Rui\n"));
        if (como == u"esvaziado")
            mudado.clear();
        else if (como == u"cortado")
            mudado.truncate(9);
        else if (como == u"alheio")
            mudado[mudado.size() - 3] = '#';
        if (como != u"deixado") {
            // In place, as another program writes it: the same file, born at the same time.
            QFile f(c);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(0));
            QCOMPARE(f.write(mudado), mudado.size());
            f.close();
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("rollback copy .* set aside as")));
        }
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), lido);
        QCOMPARE(lerFicheiro(c), como == u"deixado" ? antes : mudado);
        const QStringList nomes = conteudoPasta(sitio.path());
        QCOMPARE(nomes.size(), como == u"deixado" ? 2 : 3);
        QCOMPARE(nomes[0].contains(QStringLiteral(".posta-de-lado-")), como != u"deixado");
    }
};

QTEST_GUILESS_MAIN(TesteCopiaAntiga)
#include "tst_CopiaAntiga.moc"
