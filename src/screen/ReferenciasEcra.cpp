#include "screen/ReferenciasEcra.h"

#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"
#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/MembrosReferencia.h"
#include "screen/RegrasCampos.h"
#include "shared/Esquema.h"

#include <QSqlRecord>

using RegrasCampos::emBranco;

namespace {
// The stored name of a code, or nothing when the code is not in its table.
std::optional<QString> nomeGuardado(const QSqlDatabase& db, const MembroReferencia& m, const QString& codigo)
{
    const QString sql =
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(Esquema::citar(m.tabela), Esquema::citar(m.campoCodigo));
    QSqlQuery q = Consulta::executar(db, sql, {codigo});
    if (!q.next())
        return std::nullopt;
    return ModGlobal::LerCampoTexto(q.record(), m.campoNome);
}
}  // namespace

void ReferenciasEcra::consultarCodigo(const MembroReferencia& m)
{
    EcraPesagem::Ocupacao o(m_ecra);
    Estacao& estacao = m_ecra.m_estacao;
    m_ecra.setTxt(m.caixaNome, QString());
    const QString codigo = m_ecra.txt(m.caixaCodigo);
    if (emBranco(codigo)) {
        m_ecra.focarTxt(m.caixaNome);
        return;
    }
    std::optional<QString> nome;
    const bool consultou = m_ecra.passo(QStringLiteral("Erro ao tentar consultar\n") + m.titulo,
                                        [&] { nome = nomeGuardado(estacao.bd(), m, codigo); });
    if (!consultou || nome) {
        // A failed look-up goes on as if the code were there: the focus moves on.
        if (nome)
            m_ecra.setTxt(m.caixaNome, *nome);
        m_ecra.focarTxt(m.seguinteConsulta);
        return;
    }
    int resposta = Resposta::Nao;
    if (estacao.Acesso.NivelAcesso > 2) {
        resposta =
            m_ecra.MsgBox(m.linhaInexistente + QStringLiteral("\n\nDeseja criar novo registo em\n") + m.titulo + u'.',
                          Estilo::SimNao | Estilo::Pergunta, m.titulo);
    } else {
        m_ecra.MsgBox(QStringLiteral("Código não existente em\n") + m.linhaRecusa, Estilo::SimNao | Estilo::Pergunta,
                      m.titulo);
    }
    if (resposta == Resposta::Sim) {
        m_ecra.focarTxt(m.caixaNome);
    } else {
        m_ecra.focarTxt(m.caixaCodigo);
        m_ecra.m_campos.seleccionarTudo(m.caixaCodigo);
    }
}

void ReferenciasEcra::gravarCodigo(const MembroReferencia& m)
{
    EcraPesagem::Ocupacao o(m_ecra);
    Estacao& estacao = m_ecra.m_estacao;
    const QString codigo = m_ecra.txt(m.caixaCodigo);
    const QString nome = m_ecra.txt(m.caixaNome);
    if (estacao.Acesso.NivelAcesso > 2 && !emBranco(codigo) && !emBranco(nome)) {
        std::optional<QString> guardado;
        if (m_ecra.passo(m.cabecalhoErro, [&] { guardado = nomeGuardado(estacao.bd(), m, codigo); })) {
            const int estilo = Estilo::SimNao | Estilo::Pergunta;
            if (!guardado) {
                if (m_ecra.MsgBox(m.perguntaNovo + u'\n' + m.titulo, estilo, m.titulo) == Resposta::Sim)
                    m_ecra.passo(m.cabecalhoErro, [&] {
                        // Another station may have made the same code since the
                        // look: it then takes the name just confirmed here.
                        EscritorLinha linha(estacao.bd(), m.tabela, estacao.relogio);
                        linha.definir(m.campoCodigo, codigo);
                        linha.definir(m.campoNome, nome);
                        linha.inserirOuActualizar();
                    });
            } else if (*guardado != nome) {
                if (m_ecra.MsgBox(QStringLiteral("O registo foi modificado\nDeseja gravar as alterações"), estilo,
                                  m.titulo)
                    == Resposta::Sim)
                    m_ecra.passo(m.cabecalhoErro, [&] {
                        EscritorLinha linha(estacao.bd(), m.tabela, estacao.relogio);
                        linha.definir(m.campoNome, nome);
                        linha.actualizar(codigo);
                    });
            }
        }
    }
    m_ecra.focarTxt(m.seguinteGravacao);
}

void ReferenciasEcra::ConsultarEntidade()
{
    consultarCodigo(*MembrosReferencia::doCampo(2));
}
void ReferenciasEcra::GravarEntidade()
{
    gravarCodigo(*MembrosReferencia::doCampo(3));
}
void ReferenciasEcra::ConsultarTransportador()
{
    consultarCodigo(*MembrosReferencia::doCampo(4));
}
void ReferenciasEcra::GravarTransportador()
{
    gravarCodigo(*MembrosReferencia::doCampo(5));
}
void ReferenciasEcra::ConsultarProduto()
{
    consultarCodigo(*MembrosReferencia::doCampo(6));
}
void ReferenciasEcra::GravarProduto()
{
    gravarCodigo(*MembrosReferencia::doCampo(7));
}
void ReferenciasEcra::ConsultarLocalCarga()
{
    consultarCodigo(*MembrosReferencia::doCampo(8));
}
void ReferenciasEcra::GravarLocalCarga()
{
    gravarCodigo(*MembrosReferencia::doCampo(9));
}
void ReferenciasEcra::ConsultarLocalDescarga()
{
    consultarCodigo(*MembrosReferencia::doCampo(10));
}
void ReferenciasEcra::GravarLocalDescarga()
{
    gravarCodigo(*MembrosReferencia::doCampo(11));
}
