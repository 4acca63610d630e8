#include "screen/Camiao.h"

#include <QPainter>

QPixmap DesenharCamiao(bool cabinaADireita, int largura, int altura)
{
    QPixmap imagem(largura, altura);
    imagem.fill(Qt::transparent);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    if (!cabinaADireita) {
        p.translate(largura, 0);
        p.scale(-1, 1);
    }
    const qreal w = largura;
    const qreal h = altura;
    const qreal roda = h * 0.25;
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(0, 90, 170));  // the load box
    p.drawRect(QRectF(w * 0.02, h * 0.15, w * 0.66, h * 0.55));
    p.setBrush(QColor(200, 30, 30));  // the cab
    p.drawRect(QRectF(w * 0.70, h * 0.30, w * 0.26, h * 0.40));
    p.setBrush(QColor(180, 220, 255));  // its window
    p.drawRect(QRectF(w * 0.80, h * 0.35, w * 0.12, h * 0.15));
    p.setBrush(Qt::black);
    for (qreal x : {w * 0.15, w * 0.50, w * 0.83})
        p.drawEllipse(QPointF(x, h * 0.75), roda / 2, roda / 2);
    return imagem;
}
