#include "admin/LogicaCodigos.h"

#include "data/Estacao.h"
#include "platform/Conversoes.h"
#include "platform/Relogio.h"
#include "shared/Esquema.h"

namespace {

constexpr int ColunaNivel = 3;
constexpr int ColunaData = 4;

ColunaGrelha coluna(const QString& legenda, double largura, int limite, RegraTecla regra, Qt::Alignment a,
                    bool soLeitura = false, FormatoColuna f = FormatoColuna::Nenhum)
{
    ColunaGrelha c;
    c.legenda = legenda;
    c.largura = largura;
    c.limite = limite;
    c.regra = regra;
    c.alinhamento = a;
    c.soLeitura = soLeitura;
    c.formato = f;
    return c;
}

GrelhaTabela::Definicao definicao()
{
    return {
        Esquema::Operadores,
        {coluna(QStringLiteral("Número"), 800, 0, RegraTecla::Livre, Qt::AlignRight, true),
         coluna(QStringLiteral("Operador"), 1800, 10, RegraTecla::Livre, Qt::AlignLeft),
         coluna(QStringLiteral("Cód.acesso"), 1300, 8, RegraTecla::Livre, Qt::AlignLeft),
         coluna(QStringLiteral("Nivel"), 900, 0, RegraTecla::Nivel, Qt::AlignHCenter),
         coluna(QStringLiteral("Data"), 2200, 0, RegraTecla::Livre, Qt::AlignHCenter, true, FormatoColuna::DataGeral)},
        LogicaCodigos::titulo(),
        QStringLiteral("Operador "),
        QStringLiteral("Erro no acesso à tabela de operadores"),
        {},
        {}};
}

bool eSuperior(const QVariant& nivel)
{
    return !nivel.isNull() && nivel.toInt() == 4;
}

}  // namespace

LogicaCodigos::LogicaCodigos(Estacao& estacao)
    : m_estacao(estacao),
      m_grelha(estacao.bd(), definicao(), estacao.mensagens)
{
    m_grelha.antesDeGravar = [this](QVariantList& v) {
        v[ColunaData] = Conversoes::dataParaBd(m_estacao.relogio.agora());
    };
    m_grelha.validar = [this](const QVariantList& v, const QVariantList& originais) {
        if (!originais.isEmpty() && eSuperior(originais[ColunaNivel]) && !eSuperior(v[ColunaNivel]) && !outroSuperior())
            return mensagemUltimoSuperior();
        return QString();
    };
    m_grelha.validarApagar = [this](const QVariantList& v) {
        return eSuperior(v[ColunaNivel]) && !outroSuperior() ? mensagemUltimoSuperior() : QString();
    };
}

QString LogicaCodigos::mensagemUltimoSuperior()
{
    return QStringLiteral(
        "É o último operador de nível 4 - Superior: sem ele ninguém poderia gerir os códigos de acesso.");
}

bool LogicaCodigos::outroSuperior() const
{
    for (int l = 0; l < m_grelha.registos(); ++l) {
        if (l != m_grelha.linhaActual() && eSuperior(m_grelha.valor(l, ColunaNivel)))
            return true;
    }
    return false;
}

bool LogicaCodigos::Form_Load()
{
    if (!m_grelha.abrir())
        return false;
    m_grelha.irPara(0, 1);
    return true;
}

bool LogicaCodigos::cmd_Click(int Index)
{
    if (m_grelha.comandoDaGrelha(Index, 1))
        return false;
    return Index == 4;
}
