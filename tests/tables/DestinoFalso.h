#pragma once

#include "tables/DestinoEscolha.h"

#include <QList>
#include <QPair>
#include <QString>

// The weighing screen's fields as the look-up list sees them: every write is
// recorded, in order.
class DestinoFalso : public DestinoEscolha
{
public:
    using Escrita = QPair<int, QString>;
    QList<Escrita> escritas;

    void setTxt(int campo, const QString& texto) override { escritas << Escrita(campo, texto); }
};
