#pragma once

#include <QImage>
#include <QObject>
#include <QSizeF>

// The pages a preview shows, made on request, here or in another thread: a
// report of thousands of pages is never drawn whole before it is seen.
class PaginasVisualizacao : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual int paginas() const = 0;
    // A page's size in points (every page is alike).
    virtual QSizeF tamanho() const = 0;
    // Asks for page `pagina` (from 0) drawn `largura` pixels wide; the
    // answer comes by desenhada().
    virtual void pedir(int pagina, int largura) = 0;
    // Sends the pages to the station's printer.
    virtual void imprimir() = 0;

Q_SIGNALS:
    void desenhada(int pagina, int largura, const QImage& imagem);
};
