#include "admin/PecasSerie.h"

namespace PecasSerie {

const QStringList Velocidades = {QStringLiteral("300"),   QStringLiteral("600"),   QStringLiteral("1200"),
                                 QStringLiteral("2400"),  QStringLiteral("4800"),  QStringLiteral("9600"),
                                 QStringLiteral("14400"), QStringLiteral("19200"), QStringLiteral("28800"),
                                 QStringLiteral("38400"), QStringLiteral("56000"), QStringLiteral("128000"),
                                 QStringLiteral("256000")};
const QStringList Paridades = {QStringLiteral("Even"), QStringLiteral("Mark"), QStringLiteral("None"),
                               QStringLiteral("Odd"), QStringLiteral("Space")};
const QStringList BitsDados = {QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"),
                               QStringLiteral("8")};
const QStringList BitsParagem = {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")};
const QStringList Handshakings = {QStringLiteral("No"), QStringLiteral("XOn/XOff"), QStringLiteral("RTS/CTS"),
                                  QStringLiteral("RTS+XOn/XOff")};

QStringList pecas(const QString& configuracao)
{
    const qsizetype c = configuracao.indexOf(u',');  // 0-based: the rate is the first c characters
    if (c < 0)
        return {configuracao, QString(), QString(), QString()};
    QStringList p = {configuracao.left(c), configuracao.mid(c + 1, 1), configuracao.mid(c + 3, 1),
                     configuracao.mid(c + 5)};
    // A fixed place that falls on a separator holds no piece.
    for (QString& peca : p) {
        if (peca.contains(u','))
            peca.clear();
    }
    return p;
}

Seleccao ler(const QString& configuracao)
{
    if (!configuracao.contains(u','))
        return {};
    const QStringList p = pecas(configuracao);
    Seleccao s;
    s.velocidade = int(Velocidades.indexOf(p[0]));
    // The parity letter is the first letter of its entry, in either case.
    for (int i = 0; i < Paridades.size() && !p[1].isEmpty(); ++i) {
        if (Paridades[i].startsWith(p[1], Qt::CaseInsensitive))
            s.paridade = i;
    }
    s.dados = int(BitsDados.indexOf(p[2]));
    s.paragem = int(BitsParagem.indexOf(p[3]));
    return s;
}

QString montar(const Seleccao& s, const QString& guardada)
{
    const QStringList p = pecas(guardada);
    const auto escolha = [](const QStringList& lista, int i, const QString& antiga) {
        return i >= 0 && i < lista.size() ? lista[i] : antiga;
    };
    const QString paridade =
        s.paridade >= 0 && s.paridade < Paridades.size() ? Paridades[s.paridade].left(1).toLower() : p[1];
    const QString montada = escolha(Velocidades, s.velocidade, p[0]).trimmed() + u',' + paridade + u','
                            + escolha(BitsDados, s.dados, p[2]).trimmed() + u','
                            + escolha(BitsParagem, s.paragem, p[3]).trimmed();
    // Untouched lists never lose what they could not show.
    if (s == ler(guardada) && montada.compare(guardada, Qt::CaseInsensitive) != 0)
        return guardada;
    return montada;
}

}  // namespace PecasSerie
