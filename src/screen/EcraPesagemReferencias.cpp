// Look-up of the parties' codes, and their quick creation and renaming.

#include "platform/Mensagens.h"
#include "screen/EcraPesagem.h"
#include "screen/EcraPesagemOcupacao.h"
#include "screen/MembrosReferencia.h"
#include "screen/RegrasCampos.h"
#include "shared/Esquema.h"
#include "data/Consulta.h"
#include "data/EscritorLinha.h"
#include "data/Estacao.h"
#include "data/ModGlobalCampos.h"

#include <QSqlRecord>

using RegrasCampos::emBranco;

namespace {
// The stored name of a code, or nothing when the code is not in its table.
std::optional<QString> nomeGuardado(const QSqlDatabase& db, const MembroReferencia& m, const QString& codigo)
{
    const QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = ?")
                            .arg(Esquema::citar(m.tabela), Esquema::citar(m.campoCodigo));
    QSqlQuery q = Consulta::executar(db, sql, {codigo});
    if (!q.next())
        return std::nullopt;
    return ModGlobal::LerCampoTexto(q.record(), m.campoNome);
}
}  // namespace

void EcraPesagem::consultarCodigo(const MembroReferencia& m)
{
    Ocupacao o(*this);
    escreverCampo(m.caixaNome, QString(), false);
    const QString codigo = txt(m.caixaCodigo);
    if (emBranco(codigo)) {
        DarFocoTxt(m.caixaNome);
        return;
    }
    std::optional<QString> nome;
    const bool consultou = passo(QStringLiteral("Erro ao tentar consultar\n") + m.titulo,
                                 [&] { nome = nomeGuardado(m_estacao.bd(), m, codigo); });
    if (!consultou || nome) {
        // A failed look-up goes on as if the code were there: the focus moves on.
        if (nome)
            escreverCampo(m.caixaNome, *nome, false);
        DarFocoTxt(m.seguinteConsulta);
        return;
    }
    int resposta = Resposta::Nao;
    if (m_estacao.Acesso.NivelAcesso > 2) {
        resposta = MsgBox(m.linhaInexistente + QStringLiteral("\n\nDeseja criar novo registo em\n") + m.titulo + u'.',
                          Estilo::SimNao | Estilo::Pergunta, m.titulo);
    } else {
        MsgBox(QStringLiteral("Código não existente em\n") + m.linhaRecusa, Estilo::SimNao | Estilo::Pergunta,
               m.titulo);
    }
    if (resposta == Resposta::Sim) {
        DarFocoTxt(m.caixaNome);
    } else {
        DarFocoTxt(m.caixaCodigo);
        seleccionarTudo(m.caixaCodigo);
    }
}

void EcraPesagem::gravarCodigo(const MembroReferencia& m)
{
    Ocupacao o(*this);
    const QString codigo = txt(m.caixaCodigo);
    const QString nome = txt(m.caixaNome);
    if (m_estacao.Acesso.NivelAcesso > 2 && !emBranco(codigo) && !emBranco(nome)) {
        std::optional<QString> guardado;
        if (passo(m.cabecalhoErro, [&] { guardado = nomeGuardado(m_estacao.bd(), m, codigo); })) {
            const int estilo = Estilo::SimNao | Estilo::Pergunta;
            if (!guardado) {
                if (MsgBox(m.perguntaNovo + u'\n' + m.titulo, estilo, m.titulo) == Resposta::Sim)
                    passo(m.cabecalhoErro, [&] {
                        EscritorLinha linha(m_estacao.bd(), m.tabela, m_estacao.relogio);
                        linha.definir(m.campoCodigo, codigo);
                        linha.definir(m.campoNome, nome);
                        linha.inserir();
                    });
            } else if (*guardado != nome) {
                if (MsgBox(QStringLiteral("O registo foi modificado\nDeseja gravar as alterações"), estilo, m.titulo) ==
                    Resposta::Sim)
                    passo(m.cabecalhoErro, [&] {
                        EscritorLinha linha(m_estacao.bd(), m.tabela, m_estacao.relogio);
                        linha.definir(m.campoNome, nome);
                        linha.actualizar(codigo);
                    });
            }
        }
    }
    DarFocoTxt(m.seguinteGravacao);
}

void EcraPesagem::ConsultarEntidade() { consultarCodigo(*MembrosReferencia::doCampo(2)); }
void EcraPesagem::GravarEntidade() { gravarCodigo(*MembrosReferencia::doCampo(3)); }
void EcraPesagem::ConsultarTransportador() { consultarCodigo(*MembrosReferencia::doCampo(4)); }
void EcraPesagem::GravarTransportador() { gravarCodigo(*MembrosReferencia::doCampo(5)); }
void EcraPesagem::ConsultarProduto() { consultarCodigo(*MembrosReferencia::doCampo(6)); }
void EcraPesagem::GravarProduto() { gravarCodigo(*MembrosReferencia::doCampo(7)); }
void EcraPesagem::ConsultarLocalCarga() { consultarCodigo(*MembrosReferencia::doCampo(8)); }
void EcraPesagem::GravarLocalCarga() { gravarCodigo(*MembrosReferencia::doCampo(9)); }
void EcraPesagem::ConsultarLocalDescarga() { consultarCodigo(*MembrosReferencia::doCampo(10)); }
void EcraPesagem::GravarLocalDescarga() { gravarCodigo(*MembrosReferencia::doCampo(11)); }
