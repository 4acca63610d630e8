// The start log says the program folder or the settings file may be written
// by any user of the computer exactly when another user may write it: each
// folder on its real path lets others through, and it lets them write.
#include "startup/EscritaPorTodos.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList visto;  // what the log said, each line as the entry it names ("pasta", "ficheiro")

void guardar(QtMsgType, const QMessageLogContext& c, const QString& m)
{
    if (qstrcmp(c.category, "zumarel.ficheiros") == 0)
        visto << (m.startsWith(QStringLiteral("the program folder")) ? QStringLiteral("pasta") : QStringLiteral("ficheiro"));
}

}  // namespace

class TesteEscritaPorTodos : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // <raiz 0755>/fora/posto/Lorvane.ini; the program folder reached straight,
    // or through a link in a folder only root may enter.
    void soQuandoOutrosAlcancam_data()
    {
        QTest::addColumn<int>("fora");
        QTest::addColumn<QString>("listaFora");  // an entry of fora's access control list
        QTest::addColumn<int>("posto");
        QTest::addColumn<bool>("porLigacao");
        QTest::addColumn<QStringList>("diario");
        const QStringList nada, ficheiro{QStringLiteral("ficheiro")}, ambos{QStringLiteral("pasta"), QStringLiteral("ficheiro")};
        QTest::newRow("pasta do grupo (2770)") << 0755 << "" << 02770 << false << nada;
        QTest::newRow("pasta 0755") << 0755 << "" << 0755 << false << ficheiro;
        QTest::newRow("pasta 1777") << 0755 << "" << 01777 << false << ambos;
        QTest::newRow("pasta 1777 numa pasta fechada (0700)") << 0700 << "" << 01777 << false << nada;
        QTest::newRow("pasta 1777 numa pasta que só deixa passar (0711)") << 0711 << "" << 01777 << false << ambos;
        QTest::newRow("pasta 1777 numa pasta que só deixa passar bin") << 0750 << "u:bin:x" << 01777 << false << nada;
        QTest::newRow("pasta 0776: os outros não passam") << 0755 << "" << 0776 << false << nada;
        QTest::newRow("por uma ligação numa pasta fechada") << 0755 << "" << 01777 << true << ambos;
    }
    void soQuandoOutrosAlcancam()
    {
        QFETCH(int, fora);
        QFETCH(QString, listaFora);
        QFETCH(int, posto);
        QFETCH(bool, porLigacao);
        QFETCH(QStringList, diario);
        QTemporaryDir raiz;
        const QDir r(raiz.path());
        QVERIFY(r.mkpath(QStringLiteral("fora/posto")) && r.mkdir(QStringLiteral("fechada")));
        const QString real = r.filePath(QStringLiteral("fora/posto"));
        escreverFicheiro(real + QStringLiteral("/Lorvane.ini"), "[Geral]\n");
        QCOMPARE(::chmod(QFile::encodeName(real + QStringLiteral("/Lorvane.ini")).constData(), 0666), 0);
        QCOMPARE(::chmod(QFile::encodeName(real).constData(), mode_t(posto)), 0);
        QCOMPARE(::chmod(QFile::encodeName(r.filePath(QStringLiteral("fora"))).constData(), mode_t(fora)), 0);
        QCOMPARE(::chmod(QFile::encodeName(r.filePath(QStringLiteral("fechada"))).constData(), 0700), 0);
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        if (!listaFora.isEmpty()) {
            if (!aceitaAtributos(raiz.path()))
                QSKIP("the temporary folder keeps no access control lists");
            QCOMPARE(darListaAcesso(r.filePath(QStringLiteral("fora")), listaFora), 0);
        }
        const QString pasta = porLigacao ? r.filePath(QStringLiteral("fechada/posto")) : real;
        if (porLigacao)
            QVERIFY(QFile::link(real, pasta));

        visto.clear();
        const QtMessageHandler antes = qInstallMessageHandler(guardar);
        AvisarEscritaPorTodos(pasta, pasta + QStringLiteral("/Lorvane.ini"));
        qInstallMessageHandler(antes);
        QCOMPARE(visto, diario);

        // What another user of the computer really may write there.
        const QByteArray novo = QFile::encodeName(real + QStringLiteral("/novo"));
        const QByteArray ini = QFile::encodeName(real + QStringLiteral("/Lorvane.ini"));
        const QByteArray pode = comoUtilizador(QStringLiteral("nobody"), {}, [&] {
            QByteArray escritos;
            if (const int fd = ::open(novo.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600); fd >= 0 && ::close(fd) == 0)
                escritos += "pasta ";
            if (const int fd = ::open(ini.constData(), O_WRONLY); fd >= 0 && ::close(fd) == 0)
                escritos += "ficheiro";
            return escritos;
        });
        QCOMPARE(QString::fromUtf8(pode).split(u' ', Qt::SkipEmptyParts), diario);
    }
};

QTEST_GUILESS_MAIN(TesteEscritaPorTodos)
#include "tst_EscritaPorTodos.moc"
