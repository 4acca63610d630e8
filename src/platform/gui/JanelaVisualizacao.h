#pragma once

#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QWidget>

class QSpinBox;
class VistaPaginas;

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

// The preview window of a report: the pages one under the other, drawn as
// they come into view, with the page number, the moves from page to page,
// the zoom, "Imprimir" and "Fechar". Not modal; it deletes itself (and its
// pages) when closed.
class JanelaVisualizacao : public QWidget
{
    Q_OBJECT

public:
    // The window takes `paginas` as its own.
    explicit JanelaVisualizacao(PaginasVisualizacao* paginas, QWidget* pai = nullptr);

    int paginaActual() const;
    void irPara(int pagina);
    PaginasVisualizacao* paginas() const { return m_paginas; }

Q_SIGNALS:
    // A page shown with its content for the first time.
    void paginaMostrada(int pagina);

private:
    PaginasVisualizacao* m_paginas;
    VistaPaginas* m_vista;
    QSpinBox* m_numero;
};
