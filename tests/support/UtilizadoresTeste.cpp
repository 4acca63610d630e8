#include "support/UtilizadoresTeste.h"

#include "platform/ficheiros/FicheiroPerfil.h"
#include "support/EscritaFalhada.h"
#include "support/EstacaoTeste.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

struct stat estado(const QString& caminho)
{
    struct stat st
    {
    };
    if (::lstat(QFile::encodeName(caminho).constData(), &st) != 0)
        qWarning("lstat %s: %s", qPrintable(caminho), strerror(errno));
    return st;
}

// Owner, group and permission bits, as "uid:gid 0644".
QString donoEModo(const QString& caminho)
{
    const struct stat st = estado(caminho);
    return QStringLiteral("%1:%2 %3").arg(st.st_uid).arg(st.st_gid).arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
}

void mudarDono(const QString& caminho, const QString& donoGrupo, mode_t modo)
{
    const QStringList dg = donoGrupo.split(u':');
    bool uidNumero = false, gidNumero = false;
    const uint uid = dg[0].toUInt(&uidNumero), gid = dg[1].toUInt(&gidNumero);
    const passwd* p = uidNumero ? nullptr : ::getpwnam(qPrintable(dg[0]));
    const group* g = gidNumero ? nullptr : ::getgrnam(qPrintable(dg[1]));
    QVERIFY2((uidNumero || p) && (gidNumero || g), qPrintable(donoGrupo));
    const QByteArray c = QFile::encodeName(caminho);
    QCOMPARE(::chown(c.constData(), p ? p->pw_uid : uid_t(uid), g ? g->gr_gid : gid_t(gid)), 0);
    QCOMPARE(::chmod(c.constData(), modo), 0);
}

QStringList conteudoPasta(const QString& pasta)
{
    return QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The file's access control list, as getfacl shows it, and the value of its attribute `nome`.
QString atributos(const QString& caminho, const QByteArray& nome)
{
    QProcess getfacl;
    getfacl.start(QStringLiteral("getfacl"), {QStringLiteral("--omit-header"), QStringLiteral("-p"), caminho});
    getfacl.waitForFinished();
    QByteArray valor(256, '\0');
    const QByteArray c = QFile::encodeName(caminho);
    valor.resize(qMax<ssize_t>(::lgetxattr(c.constData(), nome.constData(), valor.data(), 256), 0));
    return QString::fromUtf8(getfacl.readAll() + nome + '=' + valor);
}

int darListaAcesso(const QString& caminho, const QString& entrada)
{
    return QProcess::execute(QStringLiteral("setfacl"), {QStringLiteral("-m"), entrada, caminho});
}

// Whether the files of `pasta` take user attributes and access control lists (a tmpfs may take neither).
bool aceitaAtributos(const QString& pasta)
{
    const QString prova = QDir(pasta).filePath(QStringLiteral("prova"));
    escreverFicheiro(prova, {});
    const bool ok = ::setxattr(QFile::encodeName(prova).constData(), "user.zumarel", "1", 1, 0) == 0
                    && darListaAcesso(prova, QStringLiteral("group:users:rw")) == 0;
    QFile::remove(prova);
    return ok;
}

// Runs `acao` in a child process that gives up root for `quem`: a user
// name, then "+" and each supplementary group ("bin+users"), with the state
// folder `estado` (none when it is empty) and no home. What it returns, or
// "morto" when the child was killed.
QByteArray comoUtilizador(const QString& quem, const QByteArray& estado, const std::function<QByteArray()>& acao)
{
    const QStringList nomes = quem.split(u'+');
    const passwd* p = ::getpwnam(qPrintable(nomes[0]));
    if (!p)
        return "no user " + nomes[0].toUtf8();
    std::vector<gid_t> grupos{p->pw_gid};
    for (qsizetype i = 1; i < nomes.size(); ++i) {
        const group* g = ::getgrnam(qPrintable(nomes[i]));
        if (!g)
            return "no group " + nomes[i].toUtf8();
        grupos.push_back(g->gr_gid);
    }
    const uid_t uid = p->pw_uid;
    const gid_t gid = p->pw_gid;
    int tubo[2];
    if (::pipe(tubo) != 0)
        return "pipe";
    ProcessoFilho filho([&] {
        ::close(tubo[0]);
        ::unsetenv("HOME");
        if (estado.isEmpty())
            ::unsetenv("XDG_STATE_HOME");
        else
            ::setenv("XDG_STATE_HOME", estado.constData(), 1);
        QByteArray r = "setresuid";
        // A change of user clears the signal that ends a child with its parent: set again.
        if (::setgroups(grupos.size(), grupos.data()) == 0 && ::setresgid(gid, gid, gid) == 0
            && ::setresuid(uid, uid, uid) == 0 && ::prctl(PR_SET_PDEATHSIG, SIGKILL) == 0)
            r = acao();
        [[maybe_unused]] const ssize_t n = ::write(tubo[1], r.constData(), size_t(r.size()));
    });
    ::close(tubo[1]);
    QByteArray r;
    char bloco[256];
    for (ssize_t n; (n = ::read(tubo[0], bloco, sizeof bloco)) > 0;)
        r.append(bloco, n);
    ::close(tubo[0]);
    return WIFSIGNALED(filho.esperar()) ? QByteArray("morto") : r;
}

// Writes [Postos] chave=1 to the file: "ok", or why the write failed.
QByteArray gravarChave(const QString& caminho, const QString& chave)
{
    FicheiroPerfil ini(caminho);
    return ini.escrever(QStringLiteral("Postos"), chave, QStringLiteral("1")) ? QByteArray("ok")
                                                                            : ini.razaoFalha().toUtf8();
}

void usarPastasEstado(const QString& estados)
{
    QCOMPARE(::chmod(QFile::encodeName(estados).constData(), 01777), 0);
    qputenv("XDG_STATE_HOME", QFile::encodeName(estados + u'/' + QString::number(::geteuid())));
}

// The same as `quem` (see comoUtilizador), with a state folder of its own in `estados`.
QString gravarComo(const QString& quem, const QString& caminho, const QString& chave, const QString& estados)
{
    const passwd* p = ::getpwnam(qPrintable(quem.section(u'+', 0, 0)));
    const QByteArray estado = QFile::encodeName(estados) + '/' + QByteArray::number(p ? p->pw_uid : 0);
    return QString::fromUtf8(comoUtilizador(quem, estado, [&] { return gravarChave(caminho, chave); }));
}

