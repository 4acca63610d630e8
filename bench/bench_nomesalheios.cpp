// Times a save of the settings file by a new file (the usual road) in a
// folder where anyone makes files (1777, as /tmp) and another user has put
// many names, a good share of them named like the file's provisional ones:
//   bench_nomesalheios [names] [saves] [folder]
// Defaults: 200,000 names made by the user nobody, 200 saves, a temporary
// folder under /var/tmp (a real disk). Needs root, to make the names as
// another user. Prints the median, the 90th percentile and the longest save;
// the last line is a JSON object of them.
#include "platform/ficheiros/FicheiroPerfil.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void falhar(const QString& porque)
{
    std::fprintf(stderr, "bench_nomesalheios: %s\n", qPrintable(porque));
    std::exit(1);
}

double percentil(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Makes `n` empty files in `pasta` as the user nobody, in a child process.
void nomesDeOutro(const QByteArray& pasta, int n)
{
    const passwd* p = ::getpwnam("nobody");
    if (!p)
        falhar(QStringLiteral("there is no user nobody"));
    const pid_t filho = ::fork();
    if (filho == 0) {
        if (::setgid(p->pw_gid) != 0 || ::setuid(p->pw_uid) != 0)
            ::_exit(2);
        for (int i = 0; i < n; ++i) {
            const QByteArray nome = pasta + (i % 2 ? "/.Lorvane.ini.novo-" : "/outro-") + QByteArray::number(i, 36);
            const int fd = ::open(nome.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            if (fd < 0)
                ::_exit(3);
            ::close(fd);
        }
        ::_exit(0);
    }
    int estado = 0;
    if (filho < 0 || ::waitpid(filho, &estado, 0) != filho || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0)
        falhar(QStringLiteral("the names could not be made as nobody"));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int nomes = argc > 1 ? std::atoi(argv[1]) : 200'000;
    const int gravacoes = argc > 2 ? std::atoi(argv[2]) : 200;
    const QString base = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("/var/tmp");
    QTemporaryDir pasta(base + QStringLiteral("/bench-nomesalheios-XXXXXX"));
    if (nomes < 0 || gravacoes < 1 || !pasta.isValid())
        falhar(QStringLiteral("usage: bench_nomesalheios [names] [saves] [folder]"));
    if (::geteuid() != 0)
        falhar(QStringLiteral("making names as another user needs root"));
    const QByteArray p = QFile::encodeName(pasta.path());
    if (::chmod(p.constData(), 01777) != 0)
        falhar(QStringLiteral("cannot make the folder one where anyone makes files"));
    nomesDeOutro(p, nomes);

    const QString caminho = pasta.filePath(QStringLiteral("Lorvane.ini"));
    FicheiroPerfil ini(caminho);
    const auto gravar = [&](int n) {
        if (!ini.escrever(QStringLiteral("Postos"), QStringLiteral("Chave"), QString::number(n)))
            falhar(ini.razaoFalha());
    };
    gravar(-1);
    std::vector<double> tempos;
    for (int n = 0; n < gravacoes; ++n) {
        QElapsedTimer t;
        t.start();
        gravar(n);
        tempos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double maximo = *std::max_element(tempos.begin(), tempos.end());
    QJsonObject r;
    r.insert(QStringLiteral("nomes"), nomes);
    r.insert(QStringLiteral("gravacoes"), gravacoes);
    r.insert(QStringLiteral("p50_ms"), qRound(percentil(tempos, 0.5) * 1000) / 1000.0);
    r.insert(QStringLiteral("p90_ms"), qRound(percentil(tempos, 0.9) * 1000) / 1000.0);
    r.insert(QStringLiteral("max_ms"), qRound(maximo * 1000) / 1000.0);
    std::printf("%d names of another user: median %.3f ms, 90th percentile %.3f ms, longest %.3f ms for %d saves\n",
                nomes, percentil(tempos, 0.5), percentil(tempos, 0.9), maximo, gravacoes);
    std::printf("%s\n", QJsonDocument(r).toJson(QJsonDocument::Compact).constData());
    return 0;
}
