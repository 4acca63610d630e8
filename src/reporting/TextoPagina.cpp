#include "reporting/TextoPagina.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr double Pontos = 9.5;

// More distinct texts than a page ever needs again: the cache starts over.
constexpr qsizetype MaximoFormas = 50000;

// Metrics at 72 dots an inch: one pixel is one point.
const QPaintDevice& dispositivoPontos()
{
    thread_local QImage imagem = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        i.setDotsPerMeterX(2835);
        i.setDotsPerMeterY(2835);
        return i;
    }();
    return imagem;
}

}  // namespace

TextoPagina::TextoPagina()
{
    for (int negrito = 0; negrito < 2; ++negrito) {
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setPointSizeF(Pontos);
        letra.setBold(negrito == 1);
        letra.setHintingPreference(QFont::PreferNoHinting);
        letra.setKerning(true);
        m_fontesSistema[negrito] = letra;
        m_fontes[negrito] = QRawFont::fromFont(letra);
        m_fontes[negrito].setPixelSize(Pontos);
    }
    const QRawFont& f = m_fontes[0];
    if (f.isValid()) {
        m_ascendente = f.ascent();
        m_alturaLinha = f.ascent() + f.descent();
    } else {
        const QFontMetricsF medidas(m_fontesSistema[0], &dispositivoPontos());
        m_ascendente = medidas.ascent();
        m_alturaLinha = medidas.height();
    }
}

const TextoPagina::Forma& TextoPagina::forma(const QString& texto, bool negrito)
{
    QHash<QString, Forma>& formas = m_formas[negrito];
    if (const auto it = formas.constFind(texto); it != formas.cend())
        return *it;
    if (formas.size() >= MaximoFormas)
        formas.clear();
    return *formas.insert(texto, formar(texto, negrito));
}

TextoPagina::Forma TextoPagina::formar(const QString& texto, bool negrito) const
{
    Forma f;
    const QRawFont& fonte = m_fontes[negrito];
    if (fonte.isValid()) {
        f.glifos = fonte.glyphIndexesForString(texto);
        bool completa = f.glifos.size() == texto.size();
        for (qsizetype i = 0; completa && i < f.glifos.size(); ++i)
            completa = f.glifos[i] != 0 || texto[i].category() == QChar::Other_Control;
        if (completa) {
            const QList<QPointF> avancos = fonte.advancesForGlyphIndexes(f.glifos, QRawFont::KernedAdvances);
            for (const QPointF& a : avancos)
                f.avancos << a.x();
        } else {
            f.glifos.clear();
        }
    }
    if (f.glifos.isEmpty()) {
        const QFontMetricsF medidas(m_fontesSistema[negrito], &dispositivoPontos());
        for (QChar c : texto)
            f.avancos << medidas.horizontalAdvance(c);
    }
    return f;
}

QList<TextoPagina::Troco> TextoPagina::trocos(const Forma& f, const QString& texto, double largura) const
{
    QList<Troco> linhas;
    const qsizetype n = texto.size();
    qsizetype i = 0;
    do {
        const qsizetype inicio = i;
        qsizetype fim = n, seguinte = n;
        qsizetype espaco = -1;
        double ocupado = 0;
        for (qsizetype j = inicio; j < n; ++j) {
            if (texto[j] == u' ')
                espaco = j;
            if (largura > 0 && j > inicio && ocupado + f.avancos[j] > largura + 0.01 && texto[j] != u' ') {
                // The word goes down whole, unless it is all the line has.
                if (espaco > inicio) {
                    fim = espaco;
                    seguinte = espaco + 1;
                } else {
                    fim = seguinte = j;
                }
                break;
            }
            ocupado += f.avancos[j];
        }
        while (fim > inicio && texto[fim - 1] == u' ')
            --fim;
        linhas.append({inicio, fim});
        i = seguinte;
        while (i < n && texto[i] == u' ')
            ++i;
    } while (i < n);
    return linhas;
}

double TextoPagina::largura(const QString& texto, bool negrito)
{
    double soma = 0;
    for (double a : forma(texto, negrito).avancos)
        soma += a;
    return soma;
}

int TextoPagina::linhas(const QString& texto, double largura, bool negrito)
{
    // A listing measures every distinct text of its rows, and draws only
    // those of the pages shown: measuring keeps nothing.
    const QHash<QString, Forma>& formas = m_formas[negrito];
    const auto it = formas.constFind(texto);
    return int(trocos(it != formas.cend() ? *it : formar(texto, negrito), texto, largura).size());
}

QStringList TextoPagina::quebrar(const QString& texto, double largura, bool negrito)
{
    QStringList linhas;
    for (const auto& [inicio, fim] : trocos(forma(texto, negrito), texto, largura))
        linhas << texto.mid(inicio, fim - inicio);
    return linhas;
}

void TextoPagina::escrever(const QString& texto, const QRectF& caixa, Qt::Alignment alinhamento, bool negrito)
{
    if (texto.isEmpty())
        return;
    const Forma& f = forma(texto, negrito);
    double y = caixa.top();
    for (const auto& [inicio, fim] : trocos(f, texto, caixa.width())) {
        if (y + m_alturaLinha > caixa.bottom() + 0.01 && y > caixa.top())
            break;
        double ocupado = 0;
        for (qsizetype k = inicio; k < fim; ++k)
            ocupado += f.avancos[k];
        double x = caixa.left();
        if (alinhamento & Qt::AlignRight)
            x = caixa.right() - ocupado;
        else if (alinhamento & Qt::AlignHCenter)
            x = caixa.left() + (caixa.width() - ocupado) / 2;
        const double base = y + m_ascendente;
        if (f.glifos.isEmpty()) {
            m_lentos.append({texto.mid(inicio, fim - inicio), QPointF(x, base), negrito});
        } else {
            for (qsizetype k = inicio; k < fim; ++k) {
                m_glifos[negrito] << f.glifos[k];
                m_posicoes[negrito] << QPointF(x, base);
                x += f.avancos[k];
            }
        }
        y += m_alturaLinha;
    }
}

void TextoPagina::desenhar(QPainter& pintor)
{
    pintor.save();
    pintor.setPen(Qt::black);
    for (const int negrito : {0, 1}) {
        if (m_glifos[negrito].isEmpty())
            continue;
        QGlyphRun corrida;
        corrida.setRawFont(m_fontes[negrito]);
        corrida.setGlyphIndexes(m_glifos[negrito]);
        corrida.setPositions(m_posicoes[negrito]);
        pintor.drawGlyphRun(QPointF(0, 0), corrida);
        m_glifos[negrito].clear();
        m_posicoes[negrito].clear();
    }
    // A point of the page is a point whatever the device's resolution.
    const double escala = 72.0 / pintor.device()->logicalDpiY();
    for (const Lento& l : m_lentos) {
        QFont letra = m_fontesSistema[l.negrito];
        letra.setPointSizeF(Pontos * escala);
        pintor.setFont(letra);
        pintor.drawText(l.base, l.texto);
    }
    m_lentos.clear();
    pintor.restore();
}
