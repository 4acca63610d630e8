#include "records/janelas/frmSegVia.h"

#include "records/SegundaVia.h"

#include <QPushButton>

frmSegVia::frmSegVia(Estacao& estacao, QWidget* pai)
    : JanelaEscolhaDocumento(std::make_unique<SegundaVia>(estacao), QStringLiteral("Segunda via"), pai)
{
    m_segundaVia = static_cast<SegundaVia*>(&logica());
    const QString legendas[2] = {QStringLiteral("&Visualizar"), QStringLiteral("&Imprimir")};
    const QStyle::StandardPixmap imagens[2] = {QStyle::SP_FileDialogContentsView, QStyle::SP_DialogSaveButton};
    for (int i = 0; i < 2; ++i) {
        QPushButton* b = botaoAccao(QStringLiteral("cmd%1").arg(i), legendas[i], i,
                                    EscolhaDocumento::Controlo(int(EscolhaDocumento::Controlo::Cmd0) + i), imagens[i]);
        connect(b, &QPushButton::clicked, this, [this, i] {
            m_segundaVia->cmd_Click(i);
            aplicar();
        });
    }
    carregar();
}
