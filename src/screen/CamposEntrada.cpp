#include "screen/CamposEntrada.h"

#include <array>

namespace CamposEntrada {

namespace {
const QString teclasViatura = QStringLiteral("<F1> Primeiras pesagens  <F2> Viaturas");
const QString teclasEntidade = QStringLiteral("<F1> Menu de clientes e fornecedores");
const QString teclasTransportador = QStringLiteral("<F1> Menu de transportadores");
const QString teclasProduto = QStringLiteral("<F1> Menu de produtos");
const QString teclasCarga = QStringLiteral("<F1> Menu de locais de carga");
const QString teclasDescarga = QStringLiteral("<F1> Menu de locais de descarga");

const std::array<Definicao, Numero>& tabela()
{
    static const std::array<Definicao, Numero> t = {{
        {QStringLiteral("Código da viatura"), 8, Genero::Codigo, teclasViatura},
        {QStringLiteral("Identificação da viatura"), 16, Genero::Placa, teclasViatura},
        {QStringLiteral("Código do cliente ou fornecedor"), 8, Genero::Codigo, teclasEntidade},
        {QStringLiteral("Identificação do cliente ou fornecedor"), 40, Genero::Nome, teclasEntidade},
        {QStringLiteral("Código do Transportador"), 8, Genero::Codigo, teclasTransportador},
        {QStringLiteral("Transportador"), 40, Genero::Nome, teclasTransportador},
        {QStringLiteral("Código do produto"), 8, Genero::Codigo, teclasProduto},
        {QStringLiteral("Produto"), 40, Genero::Nome, teclasProduto},
        {QStringLiteral("Código do local de carga"), 8, Genero::Codigo, teclasCarga},
        {QStringLiteral("Local de carga"), 40, Genero::Nome, teclasCarga},
        {QStringLiteral("Código do local de descarga"), 8, Genero::Codigo, teclasDescarga},
        {QStringLiteral("Local de descarga"), 40, Genero::Nome, teclasDescarga},
        {QStringLiteral("Observações"), 0, Genero::Nome, {}},
        {QStringLiteral("Peso da primeira pesagem"), 6, Genero::Peso, {}},
        {QStringLiteral("Data da primeira pesagem"), 10, Genero::Data, {}},
        {QStringLiteral("Hora da primeira pesagem"), 5, Genero::Hora, {}},
        {QStringLiteral("Peso da segunda pesagem"), 6, Genero::Peso, {}},
        {QStringLiteral("Data da segunda pesagem"), 10, Genero::Data, {}},
        {QStringLiteral("Hora da segunda pesagem"), 5, Genero::Hora, {}},
    }};
    return t;
}
}  // namespace

const Definicao& definicao(int indice)
{
    return tabela().at(std::size_t(indice));
}

}  // namespace CamposEntrada
