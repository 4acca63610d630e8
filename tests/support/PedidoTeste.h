#pragma once

#include "platform/Relatorio.h"

#include <QDir>

// A request for one of the shipped definitions (the test names their folder
// in ZUMAREL_RELATORIOS).
inline PedidoRelatorio pedidoTeste(const QString& definicao, const QString& formula,
                                   int destino = DestinoRelatorio::Impressora, int copias = 1)
{
    PedidoRelatorio p;
    p.FicheiroRelatorio = QDir(QStringLiteral(ZUMAREL_RELATORIOS)).filePath(definicao);
    p.FormulaSeleccao = formula;
    p.Destino = destino;
    p.Copias = qint16(copias);
    return p;
}
