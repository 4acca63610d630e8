// Whom the box of a save that waited in vain names as holding the turn: only
// processes the system shows holding a flock on the entry, whatever
// /proc/locks says of the process that took it; a few of them, the rest counted.
#include "platform/Erro.h"
#include "platform/ficheiros/VezOcupada.h"
#include "support/EstacaoTeste.h"
#include "support/UtilizadoresTeste.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <grp.h>
#include <linux/sched.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How the flock is held.
enum class Forma {
    Tomador,      // by the process that took it
    Herdada,      // by a process it started, that outlives it
    Reutilizada,  // likewise, and the taker's number then given to a process with the file open under an fcntl lock
    Largada,      // by a process it started, the taker alive without it
};

struct Dono
{
    uid_t uid;
    gid_t gid;
};

Dono dono(const char* nome)
{
    const passwd* p = ::getpwnam(nome);
    return p ? Dono{p->pw_uid, p->pw_gid} : Dono{0, 0};
}

// In a child: becomes a program named vez-teste that `d` started (one he may
// look into, as a program he runs is).
bool tornarSe(Dono d)
{
    return ::setgroups(0, nullptr) == 0 && ::setresgid(d.gid, d.gid, d.gid) == 0 && ::setresuid(d.uid, d.uid, d.uid) == 0
           && ::prctl(PR_SET_DUMPABLE, 1) == 0 && ::prctl(PR_SET_NAME, "vez-teste") == 0;
}

// The processes holding a test's locks: each lives until this goes (or the test ends).
class Seguradores
{
public:
    Seguradores() { QCOMPARE(::pipe(m_vida), 0); }
    ~Seguradores()
    {
        ::close(m_vida[1]);
        ::close(m_vida[0]);
        for (const pid_t p : m_filhos)
            ::waitpid(p, nullptr, 0);
    }
    Q_DISABLE_COPY(Seguradores)

    // `d` flocks `caminho` (`tipo`), held as `forma` says: the number
    // /proc/locks gives its lock (the taker's), -1 when that failed, 0 when
    // the number cannot be given again here.
    pid_t segurar(const QByteArray& caminho, Dono d, int tipo, Forma forma)
    {
        int pronto[2];
        if (::pipe(pronto) != 0)
            return -1;
        const pid_t tomador = ::fork();
        if (tomador == 0) {
            const int fd = tornarSe(d) ? ::open(caminho.constData(), O_RDONLY) : -1;
            if (fd < 0 || ::flock(fd, tipo) != 0)
                ::_exit(1);
            if (forma != Forma::Tomador) {
                const pid_t herdeiro = ::fork();
                if (herdeiro == 0)
                    viver(forma == Forma::Largada ? -1 : pronto[1]);
                if (herdeiro < 0 || forma != Forma::Largada)
                    ::_exit(0);
                ::close(fd);
            }
            viver(pronto[1]);
        }
        const bool feito = tomador > 0 && esperarPronto(pronto);
        if (forma == Forma::Herdada || forma == Forma::Reutilizada)
            ::waitpid(tomador, nullptr, 0);
        else if (tomador > 0)
            m_filhos << tomador;
        if (!feito || forma != Forma::Reutilizada)
            return feito ? tomador : -1;
        return reutilizar(tomador, caminho, d);
    }

private:
    // In a child: tells the test it is ready, and waits for the test's end.
    [[noreturn]] void viver(int pronto)
    {
        ::close(m_vida[1]);
        char c = 0;
        [[maybe_unused]] ssize_t n = ::write(pronto, &c, 1);
        n = ::read(m_vida[0], &c, 1);
        ::_exit(0);
    }

    static bool esperarPronto(int pronto[2])
    {
        ::close(pronto[1]);
        char c;
        const bool feito = ::read(pronto[0], &c, 1) == 1;
        ::close(pronto[0]);
        return feito;
    }

    // Gives the ended taker's number to a new process of `d`'s with the file
    // open under an fcntl lock (no flock): it is shown holding a lock on the
    // file, yet not the turn.
    pid_t reutilizar(pid_t numero, const QByteArray& caminho, Dono d)
    {
        int pronto[2];
        if (::pipe(pronto) != 0)
            return -1;
        clone_args args{};
        args.exit_signal = SIGCHLD;
        args.set_tid = quint64(quintptr(&numero));
        args.set_tid_size = 1;
        const long outro = ::syscall(SYS_clone3, &args, sizeof args);
        if (outro == 0) {
            const int fd = tornarSe(d) ? ::open(caminho.constData(), O_RDONLY) : -1;
            struct flock trinco
            {
            };
            trinco.l_type = F_RDLCK;
            trinco.l_whence = SEEK_SET;
            if (fd < 0 || ::fcntl(fd, F_SETLK, &trinco) != 0)
                ::_exit(1);
            viver(pronto[1]);
        }
        if (outro < 0) {
            ::close(pronto[0]);
            ::close(pronto[1]);
            return 0;
        }
        m_filhos << pid_t(outro);
        return esperarPronto(pronto) ? numero : -1;
    }

    int m_vida[2];
    QList<pid_t> m_filhos;
};

// Lorvane.ini in `raiz`, where every user may open it.
QByteArray ficheiroAberto(const QTemporaryDir& raiz)
{
    const QString c = raiz.filePath(QStringLiteral("Lorvane.ini"));
    escreverFicheiro(c, "[Geral]\n");
    if (::chmod(QFile::encodeName(raiz.path()).constData(), 0755) != 0 || ::chmod(QFile::encodeName(c).constData(), 0644) != 0)
        return {};
    return QFile::encodeName(c);
}

}  // namespace

Q_DECLARE_METATYPE(Forma)

class TesteVezOcupada : public QObject
{
    Q_OBJECT

    // Each case's own file, and the processes that hold its locks.
    std::optional<QTemporaryDir> m_raiz;
    QByteArray m_ficheiro;
    std::optional<Seguradores> m_seguradores;

private Q_SLOTS:
    void init()
    {
        m_raiz.emplace();
        m_ficheiro = ficheiroAberto(*m_raiz);
        QVERIFY(!m_ficheiro.isEmpty());
        m_seguradores.emplace();
    }
    void cleanup()
    {
        m_seguradores.reset();
        m_raiz.reset();
    }

    // A flock's process in /proc/locks is the one that took it: named only
    // while its open files show the lock. The station sees those of its own
    // user's processes, root those of all; another user's holder is not named.
    void soQuemSegura_data()
    {
        QTest::addColumn<Forma>("forma");
        QTest::addColumn<QString>("estacao");  // the station's user ("" root)
        QTest::addColumn<QByteArray>("segurador");
        QTest::addColumn<bool>("nomeado");
        QTest::newRow("quem a tomou segura-a") << Forma::Tomador << "" << QByteArray("nobody") << true;
        QTest::newRow("herdada, quem a tomou acabou") << Forma::Herdada << "" << QByteArray("nobody") << false;
        QTest::newRow("herdada, o número dado a outro") << Forma::Reutilizada << "" << QByteArray("nobody") << false;
        QTest::newRow("herdada, quem a tomou largou-a") << Forma::Largada << "" << QByteArray("nobody") << false;
        QTest::newRow("estação de bin, segurador de bin") << Forma::Tomador << "bin" << QByteArray("bin") << true;
        QTest::newRow("estação de bin, segurador de nobody") << Forma::Tomador << "bin" << QByteArray("nobody") << false;
        QTest::newRow("estação de bin, número de bin dado a outro")
            << Forma::Reutilizada << "bin" << QByteArray("bin") << false;
    }
    void soQuemSegura()
    {
        QFETCH(Forma, forma);
        QFETCH(QString, estacao);
        QFETCH(QByteArray, segurador);
        QFETCH(bool, nomeado);
        const QByteArray& c = m_ficheiro;
        const pid_t tomador = m_seguradores->segurar(c, dono(segurador.constData()), LOCK_SH, forma);
        if (tomador == 0)
            QSKIP("a process number cannot be given again here (clone3 with set_tid)");
        QVERIFY(tomador > 0);
        const struct stat st = estado(QFile::decodeName(c));
        const QString razao = estacao.isEmpty() ? VezOcupada::razao(st, c)
                                                : QString::fromUtf8(comoUtilizador(estacao, {}, [&] {
                                                      return VezOcupada::razao(st, c).toUtf8();
                                                  }));
        QCOMPARE(razao, nomeado ? QStringLiteral("O ficheiro está a ser usado por outro programa: o processo %1 "
                                                 "(vez-teste, do utilizador %2) tem a vez em %3")
                                      .arg(tomador)
                                      .arg(QString::fromLatin1(segurador), QFile::decodeName(c))
                                : Erros::razaoSistema(EWOULDBLOCK));
    }

    // Readers sharing the turn: the box names three, and counts the rest.
    void algunsNomeados_data()
    {
        QTest::addColumn<int>("segurando");
        QTest::addColumn<QString>("fim");
        QTest::newRow("um") << 1 << "";
        QTest::newRow("três") << 3 << "";
        QTest::newRow("quatro") << 4 << "; e mais 1 processo tem a vez";
        QTest::newRow("trezentos") << 300 << "; e mais 297 processos têm a vez";
    }
    void algunsNomeados()
    {
        QFETCH(int, segurando);
        QFETCH(QString, fim);
        const QByteArray& c = m_ficheiro;
        QList<pid_t> pids;
        for (int i = 0; i < segurando; ++i) {
            pids << m_seguradores->segurar(c, dono("nobody"), LOCK_SH, Forma::Tomador);
            QVERIFY(pids.last() > 0);
        }
        const QString razao = VezOcupada::razao(estado(QFile::decodeName(c)), c);
        QVERIFY2(razao.endsWith(QFile::decodeName(c) + fim), qPrintable(razao.left(400)));
        qsizetype nomeados = 0;
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("o processo (\\d+) ")).globalMatch(razao)) {
            QVERIFY(pids.contains(m.captured(1).toInt()));
            ++nomeados;
        }
        QCOMPARE(nomeados, qMin(segurando, 3));
    }
};

QTEST_GUILESS_MAIN(TesteVezOcupada)
#include "tst_VezOcupada.moc"
