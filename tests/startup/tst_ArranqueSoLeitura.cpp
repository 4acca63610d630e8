#include "startup/ModGlobalMain.h"
#include "support/EstacaoTeste.h"

#include <QFileInfo>
#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A database the station cannot write ends the start with the open-failure
// box, exit status 1 and the file untouched. Tests run as root, whom file
// modes do not stop: the start runs in a child process that gives up root for
// "nobody", so the modes and owners set here bind it as they bind an operator.
// Run as another user, the modes alone do it.
class TesteArranqueSoLeitura : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arranque_data()
    {
        QTest::addColumn<bool>("ficheiroGravavel");
        QTest::addColumn<bool>("pastaGravavel");
        QTest::addColumn<int>("saida");  // 0 started, 1 refused as read-only
        QTest::newRow("ficheiro e pasta graváveis") << true << true << 0;
        QTest::newRow("ficheiro só de leitura") << false << true << 1;
        QTest::newRow("pasta só de leitura") << true << false << 1;
    }

    void arranque()
    {
        QFETCH(bool, ficheiroGravavel);
        QFETCH(bool, pastaGravavel);
        QFETCH(int, saida);
        EstacaoTeste t;
        const QString bd = t.caminho(QStringLiteral("Pesagem.mdb"));
        const bool root = ::geteuid() == 0;
        constexpr uid_t Ninguem = 65534;
        // Writable for the child: owned by it; read-only: root's (or, without
        // root, the write bits taken away).
        const auto preparar = [&](const QString& caminho, bool gravavel, mode_t modo) {
            const QByteArray c = QFile::encodeName(caminho);
            if (root)
                QCOMPARE(::chown(c.constData(), gravavel ? Ninguem : 0, gravavel ? Ninguem : 0), 0);
            QCOMPARE(::chmod(c.constData(), gravavel ? modo : (modo & ~0222)), 0);
        };
        preparar(bd, ficheiroGravavel, 0644);
        preparar(t.pasta(), pastaGravavel, 0755);
        const QByteArray antes = lerFicheiro(bd);
        const QDateTime alterado = QFileInfo(bd).lastModified();

        const pid_t filho = ::fork();
        QVERIFY(filho >= 0);
        if (filho == 0) {
            if (root && (::setgid(Ninguem) != 0 || ::setuid(Ninguem) != 0))
                ::_exit(9);
            const int estado = ModGlobal::Main(*t.estacao, {});
            const bool soLeitura = t.mensagens.caixas.size() == 1 && t.mensagens.caixas[0].estilo == 16 &&
                                   t.mensagens.caixas[0].texto.contains(QStringLiteral("só de leitura"));
            ::_exit(estado == 0 && t.mensagens.caixas.isEmpty() ? 0 : estado == 1 && soLeitura ? 1 : 8);
        }
        int estado = 0;
        QCOMPARE(::waitpid(filho, &estado, 0), filho);
        ::chmod(QFile::encodeName(t.pasta()).constData(), 0700);  // so the folder can be removed
        QVERIFY(WIFEXITED(estado));
        QCOMPARE(WEXITSTATUS(estado), saida);
        QCOMPARE(lerFicheiro(bd), antes);
        QCOMPARE(QFileInfo(bd).lastModified(), alterado);
        QVERIFY(!QFileInfo::exists(bd + QStringLiteral("-journal")));
    }
};

QTEST_GUILESS_MAIN(TesteArranqueSoLeitura)
#include "tst_ArranqueSoLeitura.moc"
