#pragma once

#include "records/EscolhaDocumento.h"

// The second-copy window's logic: a completed document chosen by kind and
// number is previewed or printed again. It writes nothing.
class SegundaVia : public EscolhaDocumento
{
public:
    explicit SegundaVia(Estacao& estacao);

    // 0 "&Visualizar": the preview "Segunda via", maximised; 1 "&Imprimir":
    // the printer, with the copies of [NrCopias] SegundaVia. Both for the
    // number the box holds now, whatever was looked up last.
    void cmd_Click(int Index);
};
