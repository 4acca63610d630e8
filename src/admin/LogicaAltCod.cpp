#include "admin/LogicaAltCod.h"

#include "admin/RegistosOperadores.h"
#include "data/Consulta.h"
#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "shared/Esquema.h"

#include <QSqlQuery>

using Controlo = LogicaAltCod::Controlo;

const QString LogicaAltCod::TituloJanela = QStringLiteral("Alterar código de acesso");
const QString LogicaAltCod::PalavraSupervisor = QStringLiteral("quindo");

LogicaAltCod::LogicaAltCod(Estacao& estacao) : m_estacao(estacao) {}

QString LogicaAltCod::dica(Controlo c)
{
    switch (c) {
    case Controlo::txt0: return QStringLiteral("Código de acesso actual");
    case Controlo::txt1: return QStringLiteral("Novo código de acesso");
    case Controlo::txt2: return QStringLiteral("Confirmar o novo código de acesso");
    case Controlo::cmd0: return QStringLiteral("Cancelar");
    case Controlo::cmd1: return QStringLiteral("Tabela de operadores");
    case Controlo::cmd2: return QStringLiteral("Gravar novo código de acesso");
    case Controlo::Nenhum: break;
    }
    return {};
}

void LogicaAltCod::Form_Load()
{
    m_operador = m_estacao.Acesso.NomeOperador;
    m_txt[0].clear();
    m_cmdVisivel = {};
    mudarFoco(Controlo::txt0);
}

void LogicaAltCod::txt_Change(int i, const QString& texto)
{
    m_txt.at(std::size_t(i)) = texto.left(MaximoCodigo);
}

void LogicaAltCod::mudarFoco(Controlo c)
{
    if (c == m_foco)
        return;
    m_foco = c;
    GotFocus(c);
}

// A box taking the focus is selected; the current-code box also starts the
// change over: the new code and its confirmation are cleared and hidden (a
// button already shown stays).
void LogicaAltCod::GotFocus(Controlo c)
{
    m_painel = dica(c);
    if (c == Controlo::txt0 || c == Controlo::txt1 || c == Controlo::txt2)
        m_seleccionar = true;
    if (c == Controlo::txt0) {
        m_txt[1].clear();
        m_txt[2].clear();
        m_txtVisivel = {};
    }
}

void LogicaAltCod::txt_Enter(int i)
{
    if (m_txt.at(std::size_t(i)).isEmpty())
        return;
    if (i == 0) {
        verificarCodigo();
    } else if (i == 1) {
        m_txtVisivel[2] = true;
        mudarFoco(Controlo::txt2);
    } else {
        confirmar();
    }
}

void LogicaAltCod::verificarCodigo()
{
    EstadoAcesso& a = m_estacao.Acesso;
    if (a.NivelAcesso == 4 && m_txt[0].toLower() == PalavraSupervisor) {
        m_cmdVisivel[1] = true;
        mudarFoco(Controlo::cmd1);
        a.NivelAcesso = 5;
        return;
    }
    // The operator's rows compared in code, names and codes whatever the
    // letter case; the row whose code matched is the one saved later.
    qint64 chave = 0;
    const bool lido = Passo(m_estacao.mensagens, RegistosOperadores::CabecalhoErro, [&] {
        for (const RegistoOperador& r : RegistosOperadores::ler(m_estacao)) {
            if (RegistosOperadores::iguais(r.nome, m_operador) && RegistosOperadores::iguais(r.codigo, m_txt[0])) {
                chave = r.chave;
                break;
            }
        }
    });
    if (!lido)
        return;  // the table could not be read: its box was shown, the operator may try again
    if (chave == 0) {
        m_estacao.mensagens.Beep();
        m_foco = Controlo::txt0;
        GotFocus(Controlo::txt0);  // the code selected for retyping, the later boxes cleared
        return;
    }
    m_chave = chave;
    m_txtVisivel[1] = true;
    mudarFoco(Controlo::txt1);
}

void LogicaAltCod::confirmar()
{
    if (confirmacaoFalhada())
        return;
    m_cmdVisivel[2] = true;
    mudarFoco(Controlo::cmd2);
}

// The confirmation must match the new code, letter case apart; otherwise a
// beep, the confirmation cleared and the new code to be typed again.
bool LogicaAltCod::confirmacaoFalhada()
{
    if (RegistosOperadores::iguais(m_txt[1], m_txt[2]))
        return false;
    m_estacao.mensagens.Beep();
    m_txt[2].clear();
    if (m_txtVisivel[1])
        mudarFoco(Controlo::txt1);
    return true;
}

LogicaAltCod::Desfecho LogicaAltCod::cmd_Click(int i)
{
    switch (i) {
    case 0: return Desfecho::Fecha;  // the level stays as it is, supervisor mode included
    case 1:
        m_cmdVisivel[1] = false;
        mudarFoco(Controlo::cmd0);
        return Desfecho::Tabela;
    default: return gravar();
    }
}

// The new code, with its letters as typed, into the row whose code the
// operator proved. The confirmation is checked again: the new code may have
// been edited after it, and a code saved by mistake locks the operator out.
LogicaAltCod::Desfecho LogicaAltCod::gravar()
{
    if (m_txt[1].isEmpty()) {
        m_estacao.mensagens.Beep();
        if (m_txtVisivel[1])
            mudarFoco(Controlo::txt1);
        return Desfecho::Fica;
    }
    if (confirmacaoFalhada())
        return Desfecho::Fica;
    int escritas = 0;
    const bool gravado = Passo(m_estacao.mensagens, RegistosOperadores::CabecalhoErro, [&] {
        QSqlQuery q =
            Consulta::executar(m_estacao.bd(),
                               QStringLiteral("UPDATE ") + Esquema::citar(Esquema::Operadores) + QStringLiteral(" SET ")
                                   + Esquema::citar(QStringLiteral("Código de acesso")) + QStringLiteral(" = ?, ")
                                   + Esquema::citar(QStringLiteral("Data")) + QStringLiteral(" = ? WHERE rowid = ?"),
                               {m_txt[1], m_estacao.relogio.agora(), m_chave});
        escritas = q.numRowsAffected();
    });
    if (!gravado)
        return Desfecho::Fica;  // its box was shown; nothing is lost, the operator may try again
    if (escritas == 0)
        m_estacao.mensagens.Beep();  // the row is gone (removed in the operators table)
    return Desfecho::Fecha;
}
