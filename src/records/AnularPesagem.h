#pragma once

#include "records/EscolhaDocumento.h"

// The cancellation window's logic: after the operator confirms, the document
// of the chosen kind and number becomes a cancelled row ('A', net weight 0,
// all else kept, on the main database only), its cancellation document is
// previewed and the window closes. A cancellation that finds nothing to change
// says so, previews nothing and keeps the window open.
class AnularPesagem : public EscolhaDocumento
{
public:
    explicit AnularPesagem(Estacao& estacao);

    // "&Anular pesagem".
    void cmd_Click();

    // The cancellation was carried out: the window closes.
    bool fechar() const { return m_fechar; }

private:
    bool m_fechar = false;
};
