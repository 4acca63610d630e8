#pragma once

#include <QString>

// The seven look-up list titles as the weighing screen sets them, written out
// here so the tests check the texts themselves.
inline const QString Viat = QStringLiteral("Menu de viaturas");
inline const QString Prim = QStringLiteral("Menu de primeiras pesagens");
inline const QString Ent = QStringLiteral("Menu de clientes e fornecedores");
inline const QString Trp = QStringLiteral("Menu de transportadores");
inline const QString Prd = QStringLiteral("Menu de produtos");
inline const QString LC = QStringLiteral("Menu de locais de carga");
inline const QString LD = QStringLiteral("Menu de locais de descarga");
