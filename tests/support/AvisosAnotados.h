#pragma once

#include "platform/Relatorio.h"

#include <QObject>
#include <QStringList>

// What each failure of a run told whoever asked, "status: number text", into `avisos`.
inline AvisoFalha anotar(const QObject& quemPediu, QStringList& avisos)
{
    return {&quemPediu, [&avisos](int estado, const Erro& e) {
                avisos << QStringLiteral("%1: %2 %3").arg(estado).arg(e.numero).arg(e.descricao);
            }};
}
