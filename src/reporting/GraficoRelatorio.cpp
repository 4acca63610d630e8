#include "reporting/GraficoRelatorio.h"

#include "platform/Conversoes.h"
#include "reporting/TextoPagina.h"

#include <QColor>
#include <QPainter>

#include <algorithm>

namespace GraficoRelatorio {

namespace {
constexpr double Valores = 85;  // room for the weight after the longest bar
constexpr double Espaco = 6;
}  // namespace

void desenharBarra(QPainter& pintor, TextoPagina& texto, const QRectF& linha, const QString& nome, qint64 valor,
                   qint64 maximo)
{
    const double meio = linha.top() + (linha.height() - texto.alturaLinha()) / 2;
    texto.escrever(nome, QRectF(linha.left(), meio, Rotulos - Espaco, texto.alturaLinha()), Qt::AlignRight);
    const double inicio = linha.left() + Rotulos;
    const double espaco = std::max(0.0, linha.width() - Rotulos - Valores - Espaco);
    const double comprimento = maximo > 0 ? double(std::max<qint64>(valor, 0)) / double(maximo) * espaco : 0;
    pintor.fillRect(QRectF(inicio, linha.top() + 2.25, std::max(comprimento, 0.75), linha.height() - 4.5),
                    QColor(0x3A, 0x6E, 0xA5));
    texto.escrever(Conversoes::textoPeso(valor),
                   QRectF(inicio + comprimento + Espaco, meio, Valores, texto.alturaLinha()), Qt::AlignLeft);
}

}  // namespace GraficoRelatorio
