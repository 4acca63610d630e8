#include "records/janelas/frmAnularPsg.h"

#include "records/AnularPesagem.h"

#include <QPushButton>

frmAnularPsg::frmAnularPsg(Estacao& estacao, QWidget* pai)
    : JanelaEscolhaDocumento(std::make_unique<AnularPesagem>(estacao), QStringLiteral("Anular pesagem"), pai)
{
    m_anulacao = static_cast<AnularPesagem*>(&logica());
    // In the middle of the row; the left place stays empty.
    QPushButton* cmd = botaoAccao(QStringLiteral("cmd"), QStringLiteral("&Anular pesagem"), 1,
                                  EscolhaDocumento::Controlo::Cmd0, QStyle::SP_DialogDiscardButton);
    connect(cmd, &QPushButton::clicked, this, [this] {
        m_anulacao->cmd_Click();
        aplicar();
    });
    carregar();
}

void frmAnularPsg::aplicar()
{
    JanelaEscolhaDocumento::aplicar();
    if (m_anulacao->fechar())
        close();
}
