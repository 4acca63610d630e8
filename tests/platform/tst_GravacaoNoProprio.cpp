// What a save of the settings file refuses and cleans up, and what the mark
// of a save into the file itself tells other stations: a text past the
// bound, a mark's words in a box, provisional files left by cut saves, the
// mark on the disk before the text changes, and file systems without marks.
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A second name for the file, so that every save goes into the file itself.
void segundoNome(const QString& caminho)
{
    QCOMPARE(::link(QFile::encodeName(caminho).constData(), QFile::encodeName(caminho + u'2').constData()), 0);
}

}  // namespace

class TesteGravacaoNoProprio : public QObject
{
    Q_OBJECT

    QTemporaryDir estados;

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(::chmod(QFile::encodeName(estados.path()).constData(), 01777), 0);
        qputenv("XDG_STATE_HOME", QFile::encodeName(estados.filePath(QString::number(::geteuid()))));
    }

    // A new text larger than any reading accepts is refused before any byte
    // changes, on either road, and the reason says its size and the bound;
    // a text of the bound itself is saved.
    void textoAlemDoLimite_data()
    {
        QTest::addColumn<bool>("noProprio");
        QTest::addColumn<qint64>("tamanho");
        const qint64 limite = GravacaoFicheiro::TamanhoMaximo;
        QTest::newRow("por um ficheiro novo, um byte a mais") << false << limite + 1;
        QTest::newRow("no próprio ficheiro, um byte a mais") << true << limite + 1;
        QTest::newRow("no próprio ficheiro, muito mais") << true << 3 * limite;
        QTest::newRow("por um ficheiro novo, o limite") << false << limite;
        QTest::newRow("no próprio ficheiro, o limite") << true << limite;
    }
    void textoAlemDoLimite()
    {
        QFETCH(bool, noProprio);
        QFETCH(qint64, tamanho);
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Postos]\nX=1\n";
        escreverFicheiro(c, antes);
        if (noProprio)
            segundoNome(c);
        const QStringList nomes = conteudoPasta(raiz.path());
        const ino_t inode = estado(c).st_ino;
        const GravacaoFicheiro::Resultado r = GravacaoFicheiro::gravar(
            c, [&](const GravacaoFicheiro::Leitura&) { return QByteArray(qsizetype(tamanho), 'a'); }, 5s);
        if (tamanho <= GravacaoFicheiro::TamanhoMaximo) {
            QCOMPARE(r.erro, 0);
            QCOMPARE(estado(c).st_size, off_t(tamanho));
            return;
        }
        QCOMPARE(r.erro, EFBIG);
        QCOMPARE(r.razao, QStringLiteral("O novo texto de %1 teria %2 bytes, mais do que um ficheiro de definições "
                                         "pode ter (16 MiB)")
                              .arg(c)
                              .arg(tamanho));
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(estado(c).st_ino, inode);
        QCOMPARE(conteudoPasta(raiz.path()), nomes);
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Postos"), QStringLiteral("X"), {}), QStringLiteral("1"));
    }

    // Through the settings layer: a value that would take the file past the bound is not written.
    void valorAlemDoLimite()
    {
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Postos]\nX=" + QByteArray(GravacaoFicheiro::TamanhoMaximo - 20, 'x') + "\n";
        escreverFicheiro(c, antes);
        FicheiroPerfil ini(c);
        const QString valor(40, u'v');
        QVERIFY(!ini.escrever(QStringLiteral("Postos"), QStringLiteral("A"), valor));
        QVERIFY2(ini.razaoFalha().contains(QString::number(antes.size() + 3 + valor.size()) + QStringLiteral(" bytes")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(ini.ler(QStringLiteral("Postos"), QStringLiteral("A"), QStringLiteral("-")), QStringLiteral("-"));
    }

    // Whatever text a user who may write the file puts into a mark's fields
    // (line breaks, control characters, names of thousands of characters),
    // the box and the log get one bounded line of it.
    void palavrasDaMarca()
    {
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Postos]\nX=1\n";
        escreverFicheiro(c, antes);
        const QByteArray estranho = "ana\nSenha: 123\r\x1b[31m\t\x7f\xc2\x85" "fim";
        const QByteArray longo(1200, 'u');
        // As a mark of the older form names its fields, each line percent-encoded.
        const auto campo = [](const QByteArray& texto) -> QByteArray { return texto.toPercentEncoding() + '\n'; };
        const QByteArray marca = QByteArray("zumarel 1\n0\n") + campo(estranho + longo) + campo(longo + estranho)
                                 + campo("/pasta\n" + QByteArray(600, 'p') + estranho)
                                 + campo(estranho + QByteArray(600, 'n')) + "1 00\n2 00";
        QVERIFY(marca.size() < 4000);
        QCOMPARE(::setxattr(QFile::encodeName(c).constData(), MarcaGravacao::Atributo, marca.constData(),
                            size_t(marca.size()), 0),
                 0);
        const GravacaoFicheiro::Resultado r = GravacaoFicheiro::gravar(
            c, [](const GravacaoFicheiro::Leitura& l) { return l.bytes + "Y=2\n"; }, 5s);
        const GravacaoFicheiro::Leitura l = GravacaoFicheiro::ler(c, 5s);
        QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(l.bytes, antes);
        QVERIFY(r.erro != 0);
        for (const QString& razao : {r.razao, l.razao}) {
            QVERIFY2(razao.startsWith(QStringLiteral("Uma gravação de ana?Senha: 123??[31m???fimuuu")), qPrintable(razao));
            QVERIFY2(razao.size() < 64 + 64 + 255 + 255 + 200, qPrintable(QString::number(razao.size())));
            for (const QChar letra : razao)
                QVERIFY2(letra.isPrint(), qPrintable(QString::number(letra.unicode(), 16)));
            QCOMPARE(razao.count(u'…'), 4);
        }
    }
};

QTEST_GUILESS_MAIN(TesteGravacaoNoProprio)
#include "tst_GravacaoNoProprio.moc"
