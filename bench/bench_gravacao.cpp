// Times a save of the settings file into the file itself: one key of a
// station's settings file that has two hard links (so no new file may take
// its place), saved again and again in a folder on a real disk:
//   bench_gravacao [saves] [folder]
// Defaults: 2,000 saves, a temporary folder under /var/tmp (not a tmpfs:
// what is timed is mostly the disk's syncs). Prints the median and the 90th
// percentile of a save and the process's CPU time, the last line a JSON
// object of them.
#if __has_include("platform/ficheiros/FicheiroPerfil.h")
#include "platform/ficheiros/FicheiroPerfil.h"
#else
#include "platform/FicheiroPerfil.h"
#endif

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
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

[[noreturn]] void falhar(const QString& porque)
{
    std::fprintf(stderr, "bench_gravacao: %s\n", qPrintable(porque));
    std::exit(1);
}

double cpuMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// A settings file of a station's size: a few sections of a few keys each.
QByteArray textoDePosto()
{
    QByteArray t;
    for (int s = 0; s < 12; ++s) {
        t += "[Seccao" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 10; ++k)
            t += "Chave" + QByteArray::number(k) + "=valor " + QByteArray::number(s * 10 + k) + "\r\n";
    }
    return t;
}

double percentil(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int gravacoes = argc > 1 ? std::atoi(argv[1]) : 2000;
    const QString base = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/var/tmp");
    QTemporaryDir pasta(base + QStringLiteral("/bench-gravacao-XXXXXX"));
    if (gravacoes < 1 || !pasta.isValid())
        falhar(QStringLiteral("usage: bench_gravacao [saves] [folder]"));
    const QString caminho = pasta.filePath(QStringLiteral("Lorvane.ini"));
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly) || f.write(textoDePosto()) < 0)
        falhar(QStringLiteral("cannot write ") + caminho);
    f.close();
    const QByteArray outroNome = QFile::encodeName(pasta.filePath(QStringLiteral("Posto2.ini")));
    if (::link(QFile::encodeName(caminho).constData(), outroNome.constData()) != 0)
        falhar(QStringLiteral("cannot link ") + caminho);
    struct stat antes
    {
    };
    ::stat(outroNome.constData(), &antes);

    FicheiroPerfil ini(caminho);
    const auto gravar = [&](int n) {
        if (!ini.escrever(QStringLiteral("Seccao5"), QStringLiteral("Chave3"), QString::number(n)))
            falhar(ini.razaoFalha());
    };
    for (int n = 0; n < 20; ++n)
        gravar(-n);
    std::vector<double> tempos;
    tempos.reserve(size_t(gravacoes));
    const double cpuAntes = cpuMs();
    QElapsedTimer total;
    total.start();
    for (int n = 0; n < gravacoes; ++n) {
        QElapsedTimer t;
        t.start();
        gravar(n);
        tempos.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double cpu = cpuMs() - cpuAntes;
    const qint64 totalMs = total.elapsed();
    struct stat depois
    {
    };
    ::stat(outroNome.constData(), &depois);
    if (depois.st_ino != antes.st_ino || depois.st_nlink != 2)
        falhar(QStringLiteral("the saves did not go into the file itself"));

    QJsonObject r;
    r.insert(QStringLiteral("gravacoes"), gravacoes);
    r.insert(QStringLiteral("p50_ms"), qRound(percentil(tempos, 0.5) * 1000) / 1000.0);
    r.insert(QStringLiteral("p90_ms"), qRound(percentil(tempos, 0.9) * 1000) / 1000.0);
    r.insert(QStringLiteral("cpu_ms"), qRound(cpu));
    r.insert(QStringLiteral("cpu_por_gravacao_ms"), qRound(cpu / gravacoes * 1000) / 1000.0);
    r.insert(QStringLiteral("total_ms"), totalMs);
    std::printf("median %.3f ms, 90th percentile %.3f ms, CPU %.0f ms for %d saves\n", percentil(tempos, 0.5),
                percentil(tempos, 0.9), cpu, gravacoes);
    std::printf("%s\n", QJsonDocument(r).toJson(QJsonDocument::Compact).constData());
    return 0;
}
