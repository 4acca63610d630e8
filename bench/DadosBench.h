#pragma once

// The made-up site that the benchmarks share: how bench_criarbd fills the
// database and how bench_registos finds its vehicles again.

#include <QString>

#include <algorithm>
#include <vector>

namespace DadosBench {

inline QString codigo(int v)
{
    return QStringLiteral("V%1").arg(v, 6, 10, QLatin1Char('0'));
}

// A plate of its own for every vehicle up to 67,600: "NN-XX-NN".
inline QString matricula(int v)
{
    return QStringLiteral("%1-%2%3-%4")
        .arg(v / 676 % 100, 2, 10, QLatin1Char('0'))
        .arg(QChar(u'A' + v / 26 % 26))
        .arg(QChar(u'A' + v % 26))
        .arg(v % 97, 2, 10, QLatin1Char('0'));
}

// The vehicle weighed in row i.
inline int viaturaDaLinha(qint64 i, int viaturas)
{
    return int(1 + (i * 7919) % viaturas);
}

// Row i is a first weighing still waiting for its second: one in twenty of
// the last 4,000 rows.
inline bool pendente(qint64 i, qint64 pesagens)
{
    return i % 20 == 0 && i > pesagens - 4000;
}

// Vehicles with a pending weighing, each once, oldest first.
inline std::vector<int> viaturasPendentes(qint64 pesagens, int viaturas)
{
    std::vector<int> v;
    for (qint64 i = std::max<qint64>(1, pesagens - 3999); i <= pesagens; ++i) {
        if (!pendente(i, pesagens))
            continue;
        const int viatura = viaturaDaLinha(i, viaturas);
        if (std::find(v.begin(), v.end(), viatura) == v.end())
            v.push_back(viatura);
    }
    return v;
}

}  // namespace DadosBench
