// What a save of the settings file refuses and cleans up, and what the mark
// of a save into the file itself tells other stations: a text past the
// bound, a mark's words in a box, provisional files left by cut saves, the
// mark on the disk before the text changes, and file systems without marks.
#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/FicheiroPerfil.h"
#include "platform/ficheiros/GravacaoFicheiro.h"
#include "platform/ficheiros/MarcaGravacao.h"
#include "support/ChamadasRecusadas.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QDir>
#include <QSysInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <optional>
#include <sched.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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


// A file's text before a save that changes Operador to Rui and empties Nota.
QByteArray textoAntigo()
{
    return "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
}

// A save into the file `caminho` (of two names) killed halfway: the new,
// shorter text over the old one, not cut to length yet.
void cortarGravacao(const QString& caminho)
{
    ProcessoFilho filho([&] {
        acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
        FicheiroPerfil(caminho).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
    });
    QVERIFY(WIFSIGNALED(filho.esperar()));
}

// The lines of the log while it lives, as "category: message".
struct Diario
{
    Diario()
    {
        linhas.clear();
        anterior = qInstallMessageHandler(&guardar);
    }
    ~Diario() { qInstallMessageHandler(anterior); }
    Q_DISABLE_COPY(Diario)

    static inline QStringList linhas;
    QtMessageHandler anterior = nullptr;

    static void guardar(QtMsgType, const QMessageLogContext& contexto, const QString& mensagem)
    {
        linhas << QString::fromLatin1(contexto.category) + QStringLiteral(": ") + mensagem;
    }
};
}  // namespace

class TesteGravacaoNoProprio : public QObject
{
    Q_OBJECT

    QTemporaryDir estados;

private Q_SLOTS:
    void initTestCase()
    {
        usarPastasEstado(estados.path());
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

    // A name within its bound is shown whole; one past it loses its last
    // characters to "…", the whole within the bound.
    void nomesDaMarcaNoLimite_data()
    {
        QTest::addColumn<QString>("letra");
        QTest::addColumn<int>("tamanho");  // in characters
        QTest::addColumn<bool>("cortado");
        QTest::newRow("no limite") << "u" << 64 << false;
        QTest::newRow("um a mais") << "u" << 65 << true;
        QTest::newRow("letras acentuadas no limite") << "ç" << 64 << false;
        QTest::newRow("letras fora do plano básico no limite") << "\U0001F69A" << 64 << false;
        QTest::newRow("letras fora do plano básico, uma a mais") << "\U0001F69A" << 65 << true;
    }
    void nomesDaMarcaNoLimite()
    {
        QFETCH(QString, letra);
        QFETCH(int, tamanho);
        QFETCH(bool, cortado);
        const QString mostrado = cortado ? letra.repeated(63) + u'…' : letra.repeated(tamanho);
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        const QByteArray nome = letra.repeated(tamanho).toUtf8().toPercentEncoding();
        const QByteArray marca = "zumarel 1\n0\n" + nome + "\nposto\n/pasta\ncopia\n1 00\n2 00";
        QCOMPARE(::setxattr(QFile::encodeName(c).constData(), MarcaGravacao::Atributo, marca.constData(),
                            size_t(marca.size()), 0),
                 0);
        const QString razao = GravacaoFicheiro::ler(c, 5s).razao;
        QCOMPARE(razao, QStringLiteral("Uma gravação de ") + mostrado
                            + QStringLiteral(" no computador posto foi interrompida a meio e o ficheiro pode estar "
                                             "incompleto: a cópia do texto antigo, copia na pasta /pasta, não está "
                                             "ao alcance deste posto"));
    }

    // On a file system without nameless files, a save removes the
    // provisional files that this user's saves left when they were cut
    // short, at the provisional name or the few names this user's saves make
    // from it, and the copies' provisional files of any inode the file had
    // then; and nothing else: another user's stays, and so do a link or a
    // file of two links at such a name (the target untouched), a folder, and
    // a person's own files named like them ("-backup", "-a", "-1733650000",
    // or the random suffixes of the earlier build).
    void restosDeGravacoesCortadas_data()
    {
        QTest::addColumn<bool>("noProprio");  // a file of two names: the copy's provisional names
        QTest::newRow("ficheiro novo") << false;
        QTest::newRow("cópia de uma gravação no próprio ficheiro") << true;
    }
    void restosDeGravacoesCortadas()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(bool, noProprio);
        Descritores::ficheirosSemNome = false;
        const auto semNome = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        if (noProprio)
            segundoNome(c);
        const QString provisorio = noProprio ? QStringLiteral(".zumarel-antigo-%1.novo").arg(estado(c).st_ino)
                                             : QStringLiteral(".Lorvane.ini.novo");
        const auto em = [&](const QString& nome) { return raiz.filePath(provisorio + nome); };
        // Another user's at the name itself: every provisional file of this user's then takes one of its own.
        escreverFicheiro(em({}), "de outro\n");
        mudarDono(em({}), QStringLiteral("nobody:nogroup"), 0600);
        // One left by a real save, killed before its new file or copy was named.
        ProcessoFilho filho([&] {
            Descritores::ficheirosSemNome = false;
            acabarNoPasso(noProprio ? GravacaoFicheiro::Passo::Copia : GravacaoFicheiro::Passo::Substituicao);
            gravarChave(c, QStringLiteral("A"));
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        QVERIFY(QFile::exists(em(QStringLiteral("-0-1"))));

        const QString alvo = raiz.filePath(QStringLiteral("alvo"));
        escreverFicheiro(alvo, "alvo\n");
        // The other two names of this user's: a link and a file of two names, which stay.
        QVERIFY(QFile::link(alvo, em(QStringLiteral("-0-2"))));
        escreverFicheiro(em(QStringLiteral("-0-3")), "dois nomes\n");
        QCOMPARE(::link(QFile::encodeName(em(QStringLiteral("-0-3"))).constData(),
                        QFile::encodeName(alvo + u'2').constData()),
                 0);
        // Copies' provisional files of inodes the file had before: this user's go.
        const QStringList copias{QStringLiteral(".zumarel-antigo-999.novo"), QStringLiteral(".zumarel-antigo-998.novo-0-2")};
        for (const QString& nome : copias)
            escreverFicheiro(raiz.filePath(nome), "[Postos]\nX=0\n");
        QStringList ficam{QStringLiteral("-backup"), QStringLiteral("-old"), QStringLiteral("-a"),
                          QStringLiteral("-1733650000"), QStringLiteral("-1f"), QStringLiteral("-7"),
                          QStringLiteral("-0000000000001"), QStringLiteral("-3k7x0q2m9a1bc"), QStringLiteral("-0-4"),
                          QStringLiteral("-0-1.bak"), QStringLiteral("-"), QStringLiteral("x")};
        for (QString& nome : ficam) {
            escreverFicheiro(em(nome), "[Postos]\nX=0\n");
            nome.prepend(provisorio);
        }
        const QStringList copiasQueFicam{QStringLiteral(".zumarel-antigo-997.novo"), QStringLiteral(".zumarel-antigo-996.novo"),
                                         QStringLiteral(".zumarel-antigo-995.novo-backup"),
                                         QStringLiteral(".zumarel-antigo-x.novo")};
        QVERIFY(QDir().mkdir(raiz.filePath(copiasQueFicam[0])));
        for (qsizetype i = 1; i < copiasQueFicam.size(); ++i)
            escreverFicheiro(raiz.filePath(copiasQueFicam[i]), "[Postos]\nX=0\n");
        mudarDono(raiz.filePath(copiasQueFicam[1]), QStringLiteral("nobody:nogroup"), 0644);
        ficam << copiasQueFicam;

        QCOMPARE(gravarChave(c, QStringLiteral("B")), QByteArray("ok"));
        QStringList esperados = ficam + QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("alvo"), QStringLiteral("alvo2"),
                                                    provisorio, provisorio + QStringLiteral("-0-2"),
                                                    provisorio + QStringLiteral("-0-3")};
        if (noProprio)
            esperados << QStringLiteral("Lorvane.ini2");
        esperados.sort();
        QCOMPARE(conteudoPasta(raiz.path()), esperados);
        QCOMPARE(lerFicheiro(alvo), QByteArray("alvo\n"));
        QCOMPARE(lerFicheiro(em({})), QByteArray("de outro\n"));
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Postos"), QStringLiteral("B"), {}), QStringLiteral("1"));
    }

    // Where the file system makes nameless files, the new file takes a name
    // only to be renamed: the provisional name itself, where it is free. A
    // save killed in between leaves it, a whole text, and the next save
    // removes it.
    void nomeProvisorioLivre()
    {
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::Substituicao);
            gravarChave(c, QStringLiteral("A"));
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral(".Lorvane.ini.novo"), QStringLiteral("Lorvane.ini")}));
        QCOMPARE(lerFicheiro(raiz.filePath(QStringLiteral(".Lorvane.ini.novo"))), QByteArray("[Postos]\nX=1\nA=1\n"));
        QCOMPARE(gravarChave(c, QStringLiteral("B")), QByteArray("ok"));
        QCOMPARE(conteudoPasta(raiz.path()), QStringList{QStringLiteral("Lorvane.ini")});
    }

    // A save whose copy goes to the user's state folder (the file's folder
    // takes no new file), on a file system without nameless files, removes
    // there the provisional copies this user's saves cut short left, of any
    // file and inode, and nothing else.
    void restosNaPastaDeEstado()
    {
        Descritores::ficheirosSemNome = false;
        const auto semNome = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        const QString pasta = QFile::decodeName(qgetenv("XDG_STATE_HOME")) + QStringLiteral("/zumarel");
        QVERIFY(QDir().mkpath(pasta));
        const QString dispositivo = QString::number(estado(c).st_dev);
        const QStringList restos{QStringLiteral("copia-%1-999.novo").arg(dispositivo),
                                 QStringLiteral("copia-7-998.novo-0-2")};
        const QStringList ficam{QStringLiteral("copia-%1-997.novo-backup").arg(dispositivo),
                                QStringLiteral("copia-x-996.novo"), QStringLiteral("outro.novo")};
        for (const QString& nome : restos + ficam)
            escreverFicheiro(pasta + u'/' + nome, "[Postos]\nX=0\n");
        const Imutavel imutavel(raiz.path());
        if (!imutavel.ok())
            QSKIP("this file system cannot make a folder immutable");
        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
        QCOMPARE(lerFicheiro(c), QByteArray("[Postos]\nX=1\nA=1\n"));
        QStringList esperados = ficam;
        esperados.sort();
        QCOMPARE(conteudoPasta(pasta), esperados);
        for (const QString& nome : ficam)
            QVERIFY(QFile::remove(pasta + u'/' + nome));
    }

    // Where the file system makes nameless files, a save finds what this
    // user's saves cut short left by looking their names up, never by
    // reading the folder, so its cost does not grow with what others put
    // there (the system tells each reading of the folder): its own leftover
    // goes, another user's stays.
    void restosSemLerAPasta_data()
    {
        QTest::addColumn<bool>("noProprio");
        QTest::newRow("ficheiro novo") << false;
        QTest::newRow("no próprio ficheiro") << true;
    }
    void restosSemLerAPasta()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QFETCH(bool, noProprio);
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        if (noProprio)
            segundoNome(c);
        const QString meu = raiz.filePath(QStringLiteral(".Lorvane.ini.novo-0-1"));
        const QString deOutro = raiz.filePath(QStringLiteral(".Lorvane.ini.novo"));
        escreverFicheiro(meu, "[Postos]\nX=0\n");
        escreverFicheiro(deOutro, "de outro\n");
        mudarDono(deOutro, QStringLiteral("nobody:nogroup"), 0600);
        Descritor vigia;
        vigia.fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(vigia.fd >= 0);
        QVERIFY(::inotify_add_watch(vigia.fd, QFile::encodeName(raiz.path()).constData(), IN_ACCESS) >= 0);
        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
        alignas(inotify_event) char eventos[64 * 1024];
        const ssize_t n = ::read(vigia.fd, eventos, sizeof eventos);
        for (ssize_t i = 0; i < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(eventos + i);
            QVERIFY2(e->len > 0, "the folder was read");
            i += ssize_t(sizeof(inotify_event) + e->len);
        }
        QCOMPARE(QFile::exists(meu), noProprio);
        QCOMPARE(lerFicheiro(deOutro), QByteArray("de outro\n"));
        QCOMPARE(lerFicheiro(c), QByteArray("[Postos]\nX=1\nA=1\n"));
    }

    // A provisional name another user holds sends the file to the few names
    // this user's saves make from it, the same at every save (so what a
    // save cut short leaves there is found by looking them up). Where other
    // users hold them all, in a folder where anyone makes files, the file is
    // saved into itself, its copy beside it (made with no name) or, where
    // the copy's provisional names are held too, in the user's state folder;
    // a file not made yet is refused, naming the folder. Nothing of theirs
    // is opened, changed or removed.
    void nomesProvisoriosTomados_data()
    {
        QTest::addColumn<bool>("semNome");  // the file system makes nameless files
        QTest::addColumn<bool>("existe");   // the file is there before the save
        QTest::addColumn<QString>("lugarCopia");  // where the copy was: "junto", "estado"; empty: no save in place
        QTest::newRow("com ficheiros sem nome") << true << true << "junto";
        QTest::newRow("sem ficheiros sem nome") << false << true << "estado";
        QTest::newRow("ficheiro por fazer") << true << false << "";
    }
    void nomesProvisoriosTomados()
    {
        if (::geteuid() != 0)
            QSKIP("changing users needs root");
        QFETCH(bool, semNome);
        QFETCH(bool, existe);
        QFETCH(QString, lugarCopia);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 01777), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Postos]\nX=1\n";
        escreverFicheiro(c, antes);
        mudarDono(c, QStringLiteral("bin:bin"), 0644);
        const ino_t inode = estado(c).st_ino;
        QStringList deOutro{QStringLiteral(".Lorvane.ini.novo")};
        for (const char* n : {"-2-1", "-2-2", "-2-3"})
            deOutro << deOutro[0] + QString::fromLatin1(n);
        if (!semNome) {
            const QString copia = QStringLiteral(".zumarel-antigo-%1.novo").arg(inode);
            deOutro << copia << copia + QStringLiteral("-2-1") << copia + QStringLiteral("-2-2") << copia + QStringLiteral("-2-3");
        }
        for (const QString& nome : deOutro) {
            escreverFicheiro(raiz.filePath(nome), "de outro\n");
            mudarDono(raiz.filePath(nome), QStringLiteral("nobody:nogroup"), 0666);
        }
        if (!existe)
            QVERIFY(QFile::remove(c));
        const QString estadoBin = estados.filePath(QString::number(::getpwnam("bin")->pw_uid));
        static QString junto, noEstado, lugar;
        junto = raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(inode));
        noEstado = estadoBin + QStringLiteral("/zumarel/copia-%1-%2").arg(estado(c).st_dev).arg(inode);
        lugar.clear();
        QString feito = QString::fromUtf8(comoUtilizador(QStringLiteral("bin"), QFile::encodeName(estadoBin), [&]() -> QByteArray {
            Descritores::ficheirosSemNome = semNome;
            // Where the copy is while the save writes.
            GravacaoFicheiro::aoPasso = [](GravacaoFicheiro::Passo p) {
                if (p == GravacaoFicheiro::Passo::Escrita)
                    lugar = QFile::exists(junto) ? QStringLiteral("junto") : QFile::exists(noEstado) ? QStringLiteral("estado") : QStringLiteral("?");
            };
            const QByteArray r = gravarChave(c, QStringLiteral("A"));
            return r + '|' + lugar.toUtf8();
        }));
        QCOMPARE(feito.section(u'|', 1), lugarCopia);
        feito = feito.section(u'|', 0, 0);
        if (!existe) {
            QCOMPARE(feito, QStringLiteral("Outros utilizadores têm na pasta %1 todos os nomes provisórios de "
                                           "Lorvane.ini (.Lorvane.ini.novo e os que dele se fazem)")
                                .arg(raiz.path()));
            QVERIFY(!QFile::exists(c));
        } else {
            QCOMPARE(feito, QStringLiteral("ok"));
            QCOMPARE(lerFicheiro(c), antes + "A=1\n");
            QCOMPARE(estado(c).st_ino, inode);
        }
        for (const QString& nome : deOutro) {
            QCOMPARE(lerFicheiro(raiz.filePath(nome)), QByteArray("de outro\n"));
            QCOMPARE(estado(raiz.filePath(nome)).st_uid, ::getpwnam("nobody")->pw_uid);
        }
        QCOMPARE(conteudoPasta(raiz.path()).size(), deOutro.size() + int(existe));
    }

    // The new file is opened by no one but its maker until it is made as the
    // old file: a save killed just after making it leaves a provisional file
    // of mode 0.
    void novoFicheiroFechadoATodos()
    {
        Descritores::ficheirosSemNome = false;
        const auto semNome = qScopeGuard([] { Descritores::ficheirosSemNome = true; });
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, "[Postos]\nX=1\n");
        QCOMPARE(::chmod(QFile::encodeName(c).constData(), 0644), 0);
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo::NovoFicheiro);
            gravarChave(c, QStringLiteral("A"));
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        QCOMPARE(estado(raiz.filePath(QStringLiteral(".Lorvane.ini.novo"))).st_mode & 07777, 0u);
        QCOMPARE(lerFicheiro(c), QByteArray("[Postos]\nX=1\n"));
    }

    // While a save into the file itself lives, its copy is locked, whether
    // it was made with no name or under a provisional one: a station that
    // reaches it by another way (the file's other name, the state folder)
    // waits for that save rather than judge its copy.
    void copiaPresaEnquantoAGravacaoVive_data()
    {
        QTest::addColumn<bool>("semNome");
        QTest::newRow("feita sem nome") << true;
        QTest::newRow("feita com um nome provisório") << false;
    }
    void copiaPresaEnquantoAGravacaoVive()
    {
        QFETCH(bool, semNome);
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        ProcessoFilho filho([&] {
            Descritores::ficheirosSemNome = semNome;
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem, 0, true);
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        QVERIFY(WIFSTOPPED(filho.esperar(WUNTRACED)));
        Descritor copia;
        copia.fd = ::open(QFile::encodeName(raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino)))
                              .constData(),
                          O_RDONLY);
        QVERIFY(copia.fd >= 0);
        QCOMPARE(::flock(copia.fd, LOCK_EX | LOCK_NB), -1);
        QCOMPARE(errno, EWOULDBLOCK);
        filho.matar();
        QCOMPARE(::flock(copia.fd, LOCK_EX | LOCK_NB), 0);
    }

    // Any user who may read the file may hold the lock of a cut save's copy
    // beside it: a save then waits for it as for any turn and gives up,
    // the file as it was, naming the program that holds the copy; once the
    // lock goes, the next save puts the old text back and goes through.
    void copiaPresaPorOutroPrograma()
    {
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        cortarGravacao(c);
        const QByteArray rasgado = lerFicheiro(c);
        const QString copia = raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino));
        std::optional<ProcessoFilho> segurador;
        segurador.emplace([&] {
            const int fd = ::open(QFile::encodeName(copia).constData(), O_RDONLY | O_CLOEXEC);
            if (fd >= 0 && ::flock(fd, LOCK_EX) == 0)
                ::raise(SIGSTOP);
        });
        QVERIFY(WIFSTOPPED(segurador->esperar(WUNTRACED)));
        const GravacaoFicheiro::Resultado r = GravacaoFicheiro::gravar(
            c, [](const GravacaoFicheiro::Leitura& l) { return l.bytes + "[Postos]\nA=1\n"; }, 200ms);
        QCOMPARE(r.erro, EWOULDBLOCK);
        QVERIFY2(r.razao.endsWith(QStringLiteral(" tem a vez em ") + copia), qPrintable(r.razao));
        QCOMPARE(lerFicheiro(c), rasgado);
        segurador.reset();
        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
        QCOMPARE(lerFicheiro(c), textoAntigo() + "\n[Postos]\nA=1\n");
    }

    // A save into the file itself killed at any step after its mark is on
    // the disk leaves a file the next reading gets whole: the old text
    // until the new one is whole. The mark is short enough for the inode
    // (ext4 keeps a value of about 56 bytes there beside its name), and a
    // mark of the older form, of lines, is understood as well.
    void morteDepoisDaMarca_data()
    {
        QTest::addColumn<int>("passo");
        QTest::addColumn<bool>("formaAntiga");
        QTest::addColumn<QString>("lido");
        using P = GravacaoFicheiro::Passo;
        QTest::newRow("logo depois da marca sincronizada") << int(P::Escrita) << false << "Ana";
        QTest::newRow("a meio da escrita") << int(P::Truncagem) << false << "Ana";
        QTest::newRow("com o texto novo inteiro") << int(P::Confirmacao) << false << "Rui";
        QTest::newRow("marca antiga, logo depois da marca") << int(P::Escrita) << true << "Ana";
        QTest::newRow("marca antiga, a meio da escrita") << int(P::Truncagem) << true << "Ana";
        QTest::newRow("marca antiga, com o texto novo inteiro") << int(P::Confirmacao) << true << "Rui";
    }
    void morteDepoisDaMarca()
    {
        QFETCH(int, passo);
        QFETCH(bool, formaAntiga);
        QFETCH(QString, lido);
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        const QByteArray antes = "[Acesso]\nOperador=Ana\nNota=" + QByteArray(2000, 'x') + "\n";
        escreverFicheiro(c, antes);
        segundoNome(c);
        ProcessoFilho filho([&] {
            acabarNoPasso(GravacaoFicheiro::Passo(passo));
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        QVERIFY(WIFSIGNALED(filho.esperar()));
        const QByteArray ficheiro = QFile::encodeName(c);
        QByteArray marca(4096, '\0');
        marca.resize(qMax<ssize_t>(::getxattr(ficheiro.constData(), MarcaGravacao::Atributo, marca.data(), 4096), 0));
        // The short form, as every build that may find it reads it: the saving
        // user, the copy beside the file, each text's length and 72 bits of its checksum.
        const QRegularExpression forma(
            QStringLiteral("^z2 %1 J %2 [A-Za-z0-9_-]{12} \\d+ [A-Za-z0-9_-]{12}( \\S+)?$").arg(::geteuid()).arg(antes.size()));
        QVERIFY2(forma.match(QString::fromUtf8(marca)).hasMatch() && marca.size() <= 56, marca.constData());
        const QString nomeCopia = QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino);
        if (formaAntiga) {
            // The checksums as the copy's own lines give them, the copy named by its folder.
            const QList<QByteArray> linhas = lerFicheiro(raiz.filePath(nomeCopia)).split('\n');
            marca = "zumarel 1\n0\nroot\nposto\n" + QFile::encodeName(raiz.path()).toPercentEncoding("/") + '\n'
                    + nomeCopia.toLatin1() + '\n' + linhas.value(3) + '\n' + linhas.value(4);
            QCOMPARE(::setxattr(ficheiro.constData(), MarcaGravacao::Atributo, marca.constData(),
                                size_t(marca.size()), 0),
                     0);
        }
        // Whether or not the copy is there: the mark's checksums tell the new text whole.
        if (passo == int(GravacaoFicheiro::Passo::Confirmacao))
            QVERIFY(QFile::remove(raiz.filePath(nomeCopia)));
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), lido);
        if (lido == u"Ana")
            QCOMPARE(lerFicheiro(c), antes);
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("Lorvane.ini2")}));
        QCOMPARE(::getxattr(ficheiro.constData(), MarcaGravacao::Atributo, nullptr, 0), ssize_t(-1));
        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
    }

    // The mark keeps the computer's name only where the whole mark still
    // fits the inode (56 bytes); a station that finds a mark of a form it
    // does not know (another version) names no one.
    void nomeDoComputadorNaMarca_data()
    {
        QTest::addColumn<QString>("computador");
        QTest::addColumn<bool>("naMarca");
        QTest::newRow("curto") << "balanca1" << true;
        QTest::newRow("longo demais") << "balanca-da-entrada-norte-do-parque" << false;
    }
    void nomeDoComputadorNaMarca()
    {
        if (::geteuid() != 0)
            QSKIP("naming the computer needs root");
        QFETCH(QString, computador);
        QFETCH(bool, naMarca);
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        ProcessoFilho filho([&] {
            const QByteArray nome = computador.toUtf8();
            if (::unshare(CLONE_NEWUTS) != 0 || ::sethostname(nome.constData(), size_t(nome.size())) != 0)
                ::_exit(1);
            acabarNoPasso(GravacaoFicheiro::Passo::Truncagem);
            FicheiroPerfil(c).escrever({{"Acesso", "Operador", "Rui"}, {"Acesso", "Nota", ""}});
        });
        if (!WIFSIGNALED(filho.esperar()))
            QSKIP("the computer could not be named in a namespace of its own");
        const QByteArray ficheiro = QFile::encodeName(c);
        QByteArray marca(4096, '\0');
        marca.resize(qMax<ssize_t>(::getxattr(ficheiro.constData(), MarcaGravacao::Atributo, marca.data(), 4096), 0));
        QVERIFY2(marca.size() <= MarcaGravacao::ValorMaximo, marca.constData());
        QCOMPARE(marca.endsWith(QByteArray(' ' + computador.toUtf8())), naMarca);
        // The same mark of a version this build does not know.
        const QByteArray outra = "z9" + marca.mid(2);
        QCOMPARE(::setxattr(ficheiro.constData(), MarcaGravacao::Atributo, outra.constData(), size_t(outra.size()), 0), 0);
        QVERIFY(QFile::remove(raiz.filePath(QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino))));
        const GravacaoFicheiro::Resultado r = GravacaoFicheiro::gravar(
            c, [](const GravacaoFicheiro::Leitura& l) { return l.bytes; }, 5s);
        QVERIFY2(r.razao.startsWith(QStringLiteral("Uma gravação de um utilizador desconhecido num computador "
                                                   "desconhecido foi interrompida")),
                 qPrintable(r.razao));
    }

    // A reader that finds a save cut short halfway and cannot put the old
    // text back reads the old text all the same, never the torn one: a user
    // who may only read the file (it is opened read-only), and the
    // administrator whose put-back fails part-way (here at a file size
    // limit). The next reader that may write the file mends it.
    void leitorQueNaoRepoe_data()
    {
        QTest::addColumn<QString>("leitor");
        QTest::newRow("quem só pode ler o ficheiro") << "nobody";
        QTest::newRow("a reposição falha a meio") << "root";
    }
    void leitorQueNaoRepoe()
    {
        if (::geteuid() != 0)
            QSKIP("changing users needs root");
        QFETCH(QString, leitor);
        QTemporaryDir raiz;
        QCOMPARE(::chmod(QFile::encodeName(raiz.path()).constData(), 0755), 0);
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        QCOMPARE(::chmod(QFile::encodeName(c).constData(), 0644), 0);
        segundoNome(c);
        cortarGravacao(c);
        const QByteArray rasgado = lerFicheiro(c);
        QVERIFY(rasgado != textoAntigo());
        const auto operador = [&] { return FicheiroPerfil(c).ler("Acesso", "Operador", {}).toUtf8(); };
        if (leitor == u"root") {
            // Cut before the first byte where the two texts differ.
            const LimiteTamanhoFicheiros limite(10);
            QCOMPARE(operador(), QByteArray("Ana"));
        } else {
            QCOMPARE(comoUtilizador(leitor, {}, operador), QByteArray("Ana"));
            // The old text as a whole reading: nothing for the log to warn about.
            QCOMPARE(comoUtilizador(leitor, {}, [&]() -> QByteArray {
                         const GravacaoFicheiro::Leitura l = GravacaoFicheiro::ler(c, 5s);
                         return QByteArray::number(l.erro) + (l.bytes == textoAntigo() ? " antigo " : " outro ")
                                + l.razao.toUtf8();
                     }),
                     QByteArray("0 antigo "));
            QCOMPARE(lerFicheiro(c), rasgado);
        }
        QCOMPARE(operador(), QByteArray("Ana"));
        QCOMPARE(lerFicheiro(c), textoAntigo());
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("Lorvane.ini2")}));
    }

    // A marked file whose copy this station cannot reach is read as it is,
    // and the log (zumarel.ficheiros) names whose save was cut short; a
    // reading without the turn of a whole file with no mark tells of no cut
    // save at all.
    void diarioDeUmaGravacaoCortada_data()
    {
        QTest::addColumn<bool>("cortada");
        QTest::newRow("cópia fora de alcance") << true;
        QTest::newRow("sem a vez, ficheiro inteiro sem marca") << false;
    }
    void diarioDeUmaGravacaoCortada()
    {
        QFETCH(bool, cortada);
        QTemporaryDir raiz, outra;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        std::optional<ProcessoFilho> comAVez;
        if (cortada) {
            cortarGravacao(c);
            // Out of reach: moved to another folder.
            const QString copia = QStringLiteral(".zumarel-antigo-%1").arg(estado(c).st_ino);
            QVERIFY(QFile::rename(raiz.filePath(copia), outra.filePath(copia)));
        } else {
            comAVez.emplace([&] {
                const int pasta = ::open(QFile::encodeName(raiz.path()).constData(), O_RDONLY | O_DIRECTORY);
                if (::flock(pasta, LOCK_EX) == 0)
                    ::raise(SIGSTOP);
            });
            QVERIFY(WIFSTOPPED(comAVez->esperar(WUNTRACED)));
        }
        const QByteArray antes = lerFicheiro(c);
        Diario diario;
        FicheiroPerfil ini(c);
        ini.definirEsperaVez(100ms);
        QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}),
                 cortada ? QStringLiteral("Rui") : QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), antes);
        if (!cortada) {
            QCOMPARE(diario.linhas, QStringList());
            return;
        }
        QCOMPARE(diario.linhas.size(), 1);
        const QString esperado = QStringLiteral("zumarel.ficheiros: the settings file %1 is read as it is: Uma gravação "
                                                "de root no computador %2 foi interrompida a meio")
                                     .arg(c, QSysInfo::machineHostName());
        QVERIFY2(diario.linhas[0].startsWith(esperado), qPrintable(diario.linhas[0]));
    }

    // A mark the file system refuses (no room left for the file's
    // attributes) stops a save into the file itself before any byte
    // changes, and says why; no copy is left behind.
    void marcaRecusada()
    {
        QTemporaryDir raiz;
        if (!aceitaAtributos(raiz.path()))
            QSKIP("this file system keeps no user attributes");
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        const QByteArray ficheiro = QFile::encodeName(c);
        // Every byte of the room for attributes taken, the larger first.
        int n = 0;
        for (int tamanho = 65536; tamanho >= 1; tamanho /= 2) {
            const QByteArray valor(tamanho, 'e');
            while (::setxattr(ficheiro.constData(), QByteArray("user.e" + QByteArray::number(n)).constData(),
                              valor.constData(), size_t(valor.size()), XATTR_CREATE)
                   == 0)
                ++n;
        }
        if (::setxattr(ficheiro.constData(), "user.prova", "0123456789012345678901234567890123456789", 40, 0) == 0)
            QSKIP("this file system has room for every attribute");
        const QStringList nomes = conteudoPasta(raiz.path());
        FicheiroPerfil ini(c);
        QVERIFY(!ini.escrever(QStringLiteral("Acesso"), QStringLiteral("Operador"), QStringLiteral("Rui")));
        QVERIFY2(ini.razaoFalha().startsWith(QStringLiteral("O ficheiro não pôde ser marcado para a gravação (")),
                 qPrintable(ini.razaoFalha()));
        QCOMPARE(lerFicheiro(c), textoAntigo());
        QCOMPARE(conteudoPasta(raiz.path()), nomes);
        QCOMPARE(ini.ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
    }

    // On a file system that keeps no extended attributes at all (the kernel
    // refuses every call on them, as some network shares do), a file of one
    // name is still replaced by a new one with its owner, group and mode, and
    // one of two names is saved into itself, without a mark.
    void semNenhunsAtributos()
    {
        if (::geteuid() != 0)
            QSKIP("changing owners needs root");
        QTemporaryDir raiz;
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini")), d = raiz.filePath(QStringLiteral("Outro.ini"));
        for (const QString& f : {c, d}) {
            escreverFicheiro(f, "[Postos]\nX=1\n");
            mudarDono(f, QStringLiteral("daemon:bin"), 0644);
        }
        segundoNome(d);
        const ino_t inodeC = estado(c).st_ino, inodeD = estado(d).st_ino;
        const QByteArray feito = comoUtilizador(QStringLiteral("root"), {}, [&]() -> QByteArray {
            const int semSuporte = EOPNOTSUPP;
            if (!recusarChamadas({{__NR_flistxattr, semSuporte}, {__NR_fgetxattr, semSuporte}, {__NR_fsetxattr, semSuporte},
                                  {__NR_fremovexattr, semSuporte}, {__NR_lgetxattr, semSuporte}}))
                return "sem filtro";
            return gravarChave(c, QStringLiteral("A")) + ' ' + gravarChave(d, QStringLiteral("A"));
        });
        if (feito == "sem filtro")
            QSKIP("the kernel's call filter is not there");
        QCOMPARE(feito, QByteArray("ok ok"));
        QVERIFY(estado(c).st_ino != inodeC);
        QCOMPARE(estado(d).st_ino, inodeD);
        QCOMPARE(donoEModo(c), donoEModo(d));
        QCOMPARE(lerFicheiro(c), QByteArray("[Postos]\nX=1\nA=1\n"));
        QCOMPARE(lerFicheiro(d), QByteArray("[Postos]\nX=1\nA=1\n"));
    }

    // On a file system that refuses user attributes for real (ramfs), a
    // save into the file itself goes through without a mark, and a save cut
    // short there is judged by the file's text alone: the old text back.
    void semAtributosDeUtilizador()
    {
        QTemporaryDir raiz;
        const QByteArray pasta = QFile::encodeName(raiz.path());
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("zumarel-ramfs", pasta.constData(), "ramfs", 0, "mode=0755") != 0)
            QSKIP("mounting a ramfs needs root, outside a container that forbids it");
        const auto desmontar = qScopeGuard([&] { ::umount2(pasta.constData(), MNT_DETACH); });
        const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
        escreverFicheiro(c, textoAntigo());
        segundoNome(c);
        QCOMPARE(::setxattr(QFile::encodeName(c).constData(), "user.prova", "1", 1, 0), -1);
        QCOMPARE(errno, ENOTSUP);
        const ino_t inode = estado(c).st_ino;

        QCOMPARE(gravarChave(c, QStringLiteral("A")), QByteArray("ok"));
        QCOMPARE(lerFicheiro(c), textoAntigo() + "\n[Postos]\nA=1\n");
        QCOMPARE(estado(c).st_ino, inode);
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("Lorvane.ini2")}));

        escreverFicheiro(c, textoAntigo());
        cortarGravacao(c);
        QVERIFY(lerFicheiro(c) != textoAntigo());
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Acesso"), QStringLiteral("Operador"), {}), QStringLiteral("Ana"));
        QCOMPARE(lerFicheiro(c), textoAntigo());
        QCOMPARE(conteudoPasta(raiz.path()), (QStringList{QStringLiteral("Lorvane.ini"), QStringLiteral("Lorvane.ini2")}));
        QCOMPARE(gravarChave(c, QStringLiteral("B")), QByteArray("ok"));
        QCOMPARE(FicheiroPerfil(c).ler(QStringLiteral("Postos"), QStringLiteral("B"), {}), QStringLiteral("1"));
    }
};

QTEST_GUILESS_MAIN(TesteGravacaoNoProprio)
#include "tst_GravacaoNoProprio.moc"
