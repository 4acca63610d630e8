#pragma once

#include "reporting/PaginasVisualizacao.h"

#include <QWidget>

class QSpinBox;
class VistaPaginas;

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
