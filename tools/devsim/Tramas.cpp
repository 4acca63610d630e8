#include "Tramas.h"

namespace Tramas {

namespace {
QByteArray campoPeso(const Leitura& l)
{
    if (l.sobrecarga)
        return QByteArray(8, '-');
    return QByteArray::number(l.peso).rightJustified(8, ' ', true);
}
}  // namespace

QByteArray layoutA(const Leitura& l)
{
    static const char* const unidades[] = {"kg", "lb", "to"};
    QByteArray t(1, '\x02');
    t += campoPeso(l);
    t += unidades[int(l.unidade)];
    t += l.liquido ? 'N' : 'G';
    t += l.estavel ? 'S' : 'U';
    t += '\r';
    return t;
}

QByteArray layoutU(const Leitura& l)
{
    static const char* const unidades[] = {"KG", "lb", "to"};
    QByteArray t(1, '\x02');
    t += campoPeso(l);
    t += unidades[int(l.unidade)];
    t += l.estavel ? ' ' : 'M';
    t += '\r';
    return t;
}

QByteArray cartao(const QByteArray& identificacao, const QByteArray& codigo)
{
    QByteArray t(1, 'R');
    t += identificacao.leftJustified(14, '0', true);
    t += codigo.leftJustified(8, ' ', true);
    t += '\r';
    return t;
}

}  // namespace Tramas
