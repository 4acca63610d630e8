#include "tables/LogicaTabelas.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Relatorio.h"

namespace {

GrelhaTabela::Definicao definicao(const EntradaTabela& e)
{
    QString titulo = e.titulo;
    titulo[0] = titulo[0].toLower();
    GrelhaTabela::Definicao d{e.tabela, e.colunas, e.titulo, e.prefixo, QStringLiteral("Erro no acesso à ") + titulo,
                              {},       {}};
    if (e.soPendentes) {
        d.campoFiltro = QStringLiteral("Tipo de pesagem");
        d.valorFiltro = QStringLiteral("P");
    }
    return d;
}

}  // namespace

LogicaTabelas::LogicaTabelas(Estacao& estacao, const EntradaTabela& entrada)
    : m_estacao(estacao),
      m_entrada(entrada),
      m_grelha(estacao.bd(), definicao(entrada), estacao.mensagens)
{}

bool LogicaTabelas::Form_Load()
{
    if (!m_grelha.abrir())
        return false;
    m_grelha.irPara(0, m_entrada.colunaInicial);
    return true;
}

bool LogicaTabelas::cmd_Click(int Index)
{
    if (m_grelha.comandoDaGrelha(Index, m_entrada.colunaNovo))
        return false;
    switch (Index) {
    case 4:
    case 5:
        if (m_estacao.impressora && m_grelha.resolverPendente())
            m_estacao.impressora->ExecutarRelatorio(
                CatalogoTabelas::pedidoListagem(m_entrada, m_estacao.PastaPrograma(),
                                                Index == 5 ? DestinoRelatorio::Impressora : DestinoRelatorio::Janela),
                {&m_vida, [this](int estado, const Erro& falha) { listagemFalhou(estado, falha); }});
        break;
    case 6: return true;
    default: break;
    }
    return false;
}

void LogicaTabelas::listagemFalhou(int estado, const Erro& falha)
{
    // The table that cannot be read gets the box the table has for that; the printer, the number's box.
    const GrelhaTabela::Definicao& d = m_grelha.definicao();
    if (estado == EstadoRelatorio::ErroBaseDados)
        MostrarErroBd(m_estacao.mensagens, d.cabecalhoErro, falha);
    else
        MostrarErroNumero(m_estacao.mensagens, d.titulo, falha);
}

QString LogicaTabelas::legendaActual() const
{
    return m_grelha.headerData(m_grelha.colunaActual(), Qt::Horizontal).toString();
}
