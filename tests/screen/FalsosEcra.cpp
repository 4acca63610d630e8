#include "FalsosEcra.h"

#include "platform/Erro.h"

void RegistosFalsos::RefrescarLista()
{
    ++refrescamentos;
    m_ecra.disposicao().RecomecarEcra();
    if (falharRefrescar)
        Erros::lancar(3078, QStringLiteral("Tabela inexistente"));
}
