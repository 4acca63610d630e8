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
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
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
};

QTEST_GUILESS_MAIN(TesteCopiaAntiga)
#include "tst_CopiaAntiga.moc"
