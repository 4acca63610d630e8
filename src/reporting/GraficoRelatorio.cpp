#include "reporting/GraficoRelatorio.h"

#include "reporting/ComposicaoRelatorio.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

// Drawn at twice the size it is laid out at, so it stays sharp on paper.
constexpr int Escala = 2;
constexpr int Largura = 900;
constexpr int AlturaBarra = 22;
constexpr int BarrasPorImagem = 30;
constexpr int Rotulos = 280;  // the names' column
constexpr int Valores = 110;  // the weights' column

ImagemGrafico desenhar(const QList<std::pair<QString, qint64>>& barras, qint64 maximo)
{
    const int altura = int(barras.size()) * AlturaBarra + 4;
    QImage imagem(Largura * Escala, altura * Escala, QImage::Format_RGB32);
    imagem.fill(Qt::white);
    {
        QPainter p(&imagem);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(Escala, Escala);
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setPixelSize(11);
        p.setFont(letra);
        const QFontMetrics medidas(letra);
        const int espaco = Largura - Rotulos - Valores - 10;
        for (int i = 0; i < barras.size(); ++i) {
            const int y = 2 + i * AlturaBarra;
            const QString nome = medidas.elidedText(barras[i].first, Qt::ElideRight, Rotulos - 8);
            p.setPen(Qt::black);
            p.drawText(QRect(0, y, Rotulos - 8, AlturaBarra), Qt::AlignRight | Qt::AlignVCenter, nome);
            const qint64 valor = std::max<qint64>(barras[i].second, 0);
            const int comprimento = maximo > 0 ? int(double(valor) / double(maximo) * espaco) : 0;
            p.fillRect(QRect(Rotulos, y + 3, std::max(comprimento, 1), AlturaBarra - 6), QColor(0x3A, 0x6E, 0xA5));
            p.drawText(QRect(Rotulos + comprimento + 6, y, Valores + 4, AlturaBarra), Qt::AlignLeft | Qt::AlignVCenter,
                       textoPeso(barras[i].second));
        }
        p.setPen(Qt::gray);
        p.drawLine(Rotulos, 0, Rotulos, altura);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    imagem.save(&buffer, "PNG");
    return {QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64()), Largura, altura};
}

}  // namespace

QList<ImagemGrafico> desenharGrafico(const QList<std::pair<QString, qint64>>& barras)
{
    qint64 maximo = 0;
    for (const auto& b : barras)
        maximo = std::max(maximo, b.second);
    QList<ImagemGrafico> imagens;
    for (qsizetype i = 0; i < barras.size(); i += BarrasPorImagem)
        imagens << desenhar(barras.mid(i, BarrasPorImagem), maximo);
    return imagens;
}
