#pragma once

#include "admin/LogicaParametros.h"

class QWidget;

// The real file picker of the parameters dialog: Qt's own file dialog (the
// same on every desktop), opened at the proposed file, listing the files the
// filter names. Nothing when the operator cancels.
std::optional<QString> EscolherFicheiroQt(QWidget* pai, const LogicaParametros::PedidoFicheiro& pedido);
