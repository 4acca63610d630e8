#pragma once

#include "records/janelas/JanelaEscolhaDocumento.h"

class Estacao;
class SegundaVia;

// "Segunda via": a completed document previewed ("&Visualizar") or printed
// ("&Imprimir") again. Shown modal by the main window.
class frmSegVia : public JanelaEscolhaDocumento
{
    Q_OBJECT

public:
    explicit frmSegVia(Estacao& estacao, QWidget* pai = nullptr);

private:
    SegundaVia* m_segundaVia = nullptr;
};
