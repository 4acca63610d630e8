#include "FalsosEcra.h"

#include "platform/Erro.h"

void RegistosFalsos::RefrescarLista()
{
    ++refrescamentos;
    m_ecra.RecomecarEcra();
    if (falharRefrescar)
        Erros::lancar(3078, QStringLiteral("Tabela inexistente"));
}
