// The rollback copy of a save into the settings file itself: who may use it
// (never more than the file allows, whatever the size of its access list),
// what a refusal says of an entry at its name, and what a copy must hold
// and the file be for the old text to go back.
#include "platform/ficheiros/CopiaAntiga.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <pwd.h>
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

}  // namespace

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
};

QTEST_GUILESS_MAIN(TesteCopiaAntiga)
#include "tst_CopiaAntiga.moc"
