#include "reporting/ImpressaoDocumento.h"

#include "reporting/DestinoRelatorios.h"
#include "reporting/FolhaEstacao.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>

bool pintarDocumento(const QString& html, QPagedPaintDevice& dispositivo, int copias)
{
    QTextDocument documento;
    prepararDocumento(documento, html);
    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    documento.documentLayout()->setPaintDevice(&dispositivo);
    const QRectF area = dispositivo.pageLayout().paintRectPixels(dispositivo.logicalDpiX());
    const QSizeF pagina(std::max<qreal>(area.width(), 1), std::max<qreal>(area.height(), 1));
    documento.setPageSize(pagina);
    const int paginas = documento.pageCount();
    bool primeira = true;
    for (int c = 0; c < copias; ++c) {
        for (int p = 0; p < paginas; ++p) {
            if (!primeira && !dispositivo.newPage())
                return false;
            primeira = false;
            pintor.save();
            const QRectF corte(0, p * pagina.height(), pagina.width(), pagina.height());
            pintor.translate(0, -corte.top());
            pintor.setClipRect(corte);
            QAbstractTextDocumentLayout::PaintContext contexto;
            contexto.clip = corte;
            documento.documentLayout()->draw(&pintor, contexto);
            pintor.restore();
        }
    }
    return pintor.end();
}

int imprimirDocumento(DestinoRelatorios& destino, const QString& html, bool paisagem, const QString& nome, int copias,
                      const QString& pastaPdf, QString& motivo,
                      const std::function<void(int estado, const QString& motivo)>& depois)
{
    const ImpressaoEscolhida impressao = destino.escolherImpressao(nome, pastaPdf);
    if (!impressao.abrir) {
        motivo = SemOndeImprimir;
        return EstadoRelatorio::FalhaImpressao;
    }
    QString escrito;
    {
        const std::unique_ptr<SaidaPaginas> saida = impressao.abrir(nome, folhaDaEstacao(paisagem));
        bool feito = false;
        if (QPagedPaintDevice* dispositivo = saida->dispositivo()) {
            feito = pintarDocumento(html, *dispositivo, copias);
            if (!feito)
                saida->desistir();
        }
        motivo = feito ? saida->concluir() : saida->verificar();
        if (!feito && motivo.isEmpty())
            motivo = QStringLiteral("As páginas do documento não puderam ser feitas");
        // Whole: on to the printer, whose answer comes later.
        if (motivo.isEmpty() && saida->entregarDepois(depois))
            return EstadoRelatorio::EmCurso;
        if (motivo.isEmpty())
            escrito = saida->ficheiro();
    }
    if (!impressao.pdf.isEmpty())
        destino.pdfTerminado(impressao.pdf, motivo.isEmpty() ? escrito : QString());
    return motivo.isEmpty() ? EstadoRelatorio::Executado : EstadoRelatorio::FalhaImpressao;
}
