#include "devices/LigacaoBasculas.h"

#include "data/Estacao.h"
#include "platform/Ligacoes.h"
#include "platform/Relogio.h"

#include <QLocale>
#include <QScopeGuard>

LigacaoBasculas::LigacaoBasculas(Estacao& estacao, LigacoesDispositivos& io, EcraBascula& ecra)
    : m_c(estacao, io, ecra),
      m_ciclo{CicloBascula(0, m_c), CicloBascula(1, m_c)},
      m_semaforos(m_c)
{
    io.aoReceberTcp = [this](int bascula, const QByteArray& dados) { sck_DataArrival(bascula, dados); };
}

LigacaoBasculas::~LigacaoBasculas()
{
    m_c.io.aoReceberTcp = nullptr;
}

void LigacaoBasculas::tmr_Timer(int Index)
{
    if (Index < 0 || Index > 1 || m_emCurso[Index])
        return;
    // The tick may wait on the operator (the save question) while the event
    // loop keeps running the other bridge's ticks; this bridge's wait. The
    // flag goes down on every way out, a failure thrown by the screen included.
    m_emCurso[Index] = true;
    const auto fim = qScopeGuard([this, Index] { m_emCurso[Index] = false; });
    CicloBascula& ciclo = m_ciclo[Index];
    m_c.io.vigiarPortas(Index);
    PassoRelogio();
    ciclo.PassoLigacao();
    ciclo.PassoVisualizacao();
    ciclo.PassoPreenchimento();
    ciclo.PassoPergunta();
    ciclo.PassoZero();
    ControlarSemaforos();
    ciclo.PassoLeitores();
}

void LigacaoBasculas::PassoRelogio()
{
    const QDateTime agora = m_c.estacao.relogio.agora();
    const QString hora = agora.toString(QStringLiteral("HH:mm:ss"));
    if (hora == m_c.vista.lblHor)
        return;
    m_c.vista.lblHor = hora;
    m_c.vista.lblDat = QLocale(QLocale::Portuguese, QLocale::Portugal).toString(agora.date(), QLocale::LongFormat);
}

void LigacaoBasculas::ControlarSemaforos()
{
    m_semaforos.ControlarSemaforos();
}

void LigacaoBasculas::sck_DataArrival(int Index, const QByteArray& dados)
{
    if (Index >= 0 && Index <= 1)
        m_ciclo[Index].sck_DataArrival(dados);
}

void LigacaoBasculas::cmdZ_Click(int Index)
{
    if (Index >= 0 && Index <= 1)
        m_ciclo[Index].cmdZ_Click(true);
}

void LigacaoBasculas::mnuSmfB1_Click(int Index)
{
    m_semaforos.mnuSmf_Click(0, Index);
}
void LigacaoBasculas::mnuSmfB2_Click(int Index)
{
    m_semaforos.mnuSmf_Click(1, Index);
}
void LigacaoBasculas::chkP_Click(int Index, bool marcado)
{
    m_semaforos.manual_Click(Index, true, marcado);
}
void LigacaoBasculas::chkS_Click(int Index, bool marcado)
{
    m_semaforos.manual_Click(Index, false, marcado);
}
void LigacaoBasculas::chkPE_Click(int Index, bool marcado)
{
    m_semaforos.vermelho_Click(Index, true, marcado);
}
void LigacaoBasculas::chkSE_Click(int Index, bool marcado)
{
    m_semaforos.vermelho_Click(Index, false, marcado);
}
void LigacaoBasculas::chkPV_Click(int Index, bool marcado)
{
    m_semaforos.verde_Click(Index, true, marcado);
}
void LigacaoBasculas::chkSV_Click(int Index, bool marcado)
{
    m_semaforos.verde_Click(Index, false, marcado);
}
