#pragma once

#include "records/janelas/JanelaEscolhaDocumento.h"

class AnularPesagem;
class Estacao;

// "Anular pesagem": a completed document is cancelled after a confirmation.
// Shown without waiting by the main window; it closes itself once a
// cancellation is carried out.
class frmAnularPsg : public JanelaEscolhaDocumento
{
    Q_OBJECT

public:
    explicit frmAnularPsg(Estacao& estacao, QWidget* pai = nullptr);

protected:
    void aplicar() override;

private:
    AnularPesagem* m_anulacao = nullptr;
};
