#include "screen/MembrosReferencia.h"

#include "shared/Esquema.h"

#include <array>

namespace MembrosReferencia {

namespace {
const std::array<MembroReferencia, 5>& membros()
{
    static const std::array<MembroReferencia, 5> m = {{
        {Esquema::Entidades, QStringLiteral("Código da entidade"), QStringLiteral("Entidade"), 2, 3,
         QStringLiteral("Tabela de clientes ou fornecedores"), QStringLiteral("Código não existente."),
         QStringLiteral("tabela de clientes ou fornecedores."), QStringLiteral("Deseja gravar o novo registo em"),
         QStringLiteral("Erro no acesso à tabela de clientes ou fornecedores"), 4, 4},
        {Esquema::Transportadores, QStringLiteral("Código do transportador"), QStringLiteral("Transportador"), 4, 5,
         QStringLiteral("Tabela de transportadores"), QStringLiteral("Código de transportador não existente."),
         QStringLiteral("Tabela de transportadores."), QStringLiteral("Deseja gravar o novo transportador em"),
         QStringLiteral("Erro no acesso à tabela de transportadores"), 6, 6},
        {Esquema::Produtos, QStringLiteral("Código do produto"), QStringLiteral("Produto"), 6, 7,
         QStringLiteral("Tabela de produtos"), QStringLiteral("Código de produto não existente."),
         QStringLiteral("Tabela de produtos."), QStringLiteral("Deseja gravar o novo produto em"),
         QStringLiteral("Erro no acesso à tabela de produtos"), 12, 8},
        {Esquema::LocaisCarga, QStringLiteral("Código do local de carga"), QStringLiteral("Local de carga"), 8, 9,
         QStringLiteral("Tabela de locais de carga"), QStringLiteral("Código de local de carga não existente."),
         QStringLiteral("Tabela de locais de carga."), QStringLiteral("Deseja gravar o novo local de carga em"),
         QStringLiteral("Erro no acesso à tabela de locais de carga"), 10, 10},
        {Esquema::LocaisDescarga, QStringLiteral("Código do local de descarga"), QStringLiteral("Local de descarga"),
         10, 11, QStringLiteral("Tabela de locais de descarga"),
         QStringLiteral("Código de local de descarga não existente."), QStringLiteral("Tabela de locais de descarga."),
         QStringLiteral("Deseja gravar o novo local de descarga em"),
         QStringLiteral("Erro no acesso à tabela de locais de descarga"), 12, 12},
    }};
    return m;
}
}  // namespace

const MembroReferencia* doCampo(int caixa)
{
    if (caixa < 2 || caixa > 11)
        return nullptr;
    return &membros()[std::size_t((caixa - 2) / 2)];
}

}  // namespace MembrosReferencia
