#include "admin/LogicaAcesso.h"

#include "admin/RegistosOperadores.h"

#include "data/Estacao.h"
#include "data/Passo.h"
#include "platform/Mensagens.h"
#include "platform/Sistema.h"
#include "startup/ModGlobalIni.h"

#include <QtGlobal>
#include <utility>

namespace {
const QString ChaveOperador = QStringLiteral("Operador");  // [Acesso] Operador: the last operator of level 2 or more
}  // namespace

const QString LogicaAcesso::TituloJanela = QStringLiteral("Zumarel");
const QString LogicaAcesso::CabecalhoErro = QStringLiteral("Erro no acesso à tabela de operadores");
const QString LogicaAcesso::MensagemSemAcesso = QStringLiteral("Sem acesso ao Zumarel");
const QString LogicaAcesso::MensagemSemOperadores = QStringLiteral("Não existem operadores definidos na base de dados");

LogicaAcesso::LogicaAcesso(Estacao& estacao) : m_estacao(estacao) {}

QString LogicaAcesso::tituloTentativa(int tentativa)
{
    return QString::number(tentativa) + QStringLiteral("ª. tentativa de acesso");
}

QString LogicaAcesso::dica(Controlo c)
{
    switch (c) {
    case Controlo::cmb: return QStringLiteral("Identificação do operador");
    case Controlo::txt: return QStringLiteral("Código de acesso");
    case Controlo::cmd: return QStringLiteral("Verificar acesso");
    case Controlo::Nenhum: break;
    }
    return {};
}

bool LogicaAcesso::lerOperadores()
{
    QStringList nomes;
    const bool lido = Passo(m_estacao.mensagens, CabecalhoErro, [&] {
        for (const RegistoOperador& r : RegistosOperadores::ler(m_estacao))
            nomes << r.nome;
    });
    m_operadores = nomes;
    return lido;
}

bool LogicaAcesso::Form_Load()
{
    m_estacao.Acesso.NivelAcesso = 0;
    // A table that cannot be read has had its box; the window opens with an
    // empty list, and a typed name is verified as usual.
    if (lerOperadores() && m_operadores.isEmpty()) {
        // Without operators nobody could ever log in: say so once and end,
        // rather than hand the empty login back and forth with the main window.
        m_estacao.mensagens.MsgBox(MensagemSemOperadores, Estilo::Exclamacao, TituloJanela);
        m_estacao.sistema.TerminarPrograma(SaidaSemOperadores);
        return false;
    }
    m_operador = ModGlobal::LerIniTexto(m_estacao.Ini(), Seccoes::Acesso, ChaveOperador, QString());
    m_codigo.clear();
    m_botaoVisivel = false;
    m_seleccionarCodigo = false;
    mudarFoco(Controlo::cmb);
    return true;
}

void LogicaAcesso::cmb_Click(const QString& nome)
{
    m_operador = nome;
    m_codigo.clear();
    m_botaoVisivel = false;
}

void LogicaAcesso::cmb_Change(const QString& texto)
{
    m_operador = texto;
}

void LogicaAcesso::txt_Change(const QString& texto)
{
    m_codigo = texto.left(MaximoCodigo);
}

void LogicaAcesso::cmb_Enter()
{
    mudarFoco(Controlo::txt);
}

void LogicaAcesso::txt_Enter()
{
    if (m_codigo.isEmpty())
        return;
    m_botaoVisivel = true;
    mudarFoco(Controlo::cmd);
}

LogicaAcesso::Desfecho LogicaAcesso::cmd_Click()
{
    EstadoAcesso& a = m_estacao.Acesso;
    a.NivelAcesso = 0;
    verificar();

    if (a.NivelAcesso == 0) {
        recusar();
        return Desfecho::Fica;
    }
    if (a.NivelAcesso == 1)
        return Desfecho::PrincipalModal;
    ModGlobal::GravarIniTexto(m_estacao.Ini(), Seccoes::Acesso, ChaveOperador, a.NomeOperador);
    return Desfecho::PrincipalSemEspera;
}

// The rows of the operator's name, in table order, until one whose code
// matches gives a level. A matching row of level 0 still clears the count.
// A failing read has had its box and counts as a refusal.
void LogicaAcesso::verificar()
{
    EstadoAcesso& a = m_estacao.Acesso;
    bool encontrado = false;
    Passo(m_estacao.mensagens, CabecalhoErro, [&] {
        for (const RegistoOperador& r : RegistosOperadores::ler(m_estacao)) {
            if (a.NivelAcesso != 0)
                break;
            if (!RegistosOperadores::iguais(r.nome, m_operador))
                continue;
            encontrado = true;
            if (!RegistosOperadores::iguais(r.codigo, m_codigo))
                continue;
            a.TentativasAcesso = 0;
            a.NivelAcesso = r.nivel;
            a.NomeOperador = r.nome;
        }
    });
    if (!encontrado)
        mudarFoco(Controlo::cmb);
}

void LogicaAcesso::recusar()
{
    EstadoAcesso& a = m_estacao.Acesso;
    if (a.TentativasAcesso < 255)
        ++a.TentativasAcesso;
    if (a.TentativasAcesso <= 2) {
        m_estacao.mensagens.MsgBox(MensagemSemAcesso, Estilo::Exclamacao, tituloTentativa(a.TentativasAcesso));
        mudarFoco(Controlo::txt);
        return;
    }
    // The third refusal in a row, and every later one, powers the computer
    // off, without a word. A refusal of the system leaves the login as it is.
    QString erro;
    if (!m_estacao.sistema.DesligarComputador(&erro))
        qWarning("Zumarel: o computador recusou desligar-se: %s", qUtf8Printable(erro));
}

void LogicaAcesso::mudarFoco(Controlo c)
{
    m_foco = c;
    if (c == Controlo::txt)
        m_seleccionarCodigo = true;
}

bool LogicaAcesso::tomarSeleccionarCodigo()
{
    return std::exchange(m_seleccionarCodigo, false);
}
