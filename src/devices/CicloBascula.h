#pragma once

#include "platform/Ligacoes.h"

#include <QByteArray>
#include <QString>

struct ContextoDispositivos;
struct EstadoBascula;
struct VistaBascula;

// The reading cycle of one bridge: every stage of its tick but the clock and
// the light decision, which LigacaoBasculas runs for both bridges. Counters
// and limits are in ticks of this bridge.
class CicloBascula
{
public:
    // A serial indicator's bytes kept while they form no frame.
    static constexpr int LimiteBufferIndicador = 512;
    // Ticks of silence before an indicator counts as gone.
    static constexpr int CiclosSilencio = 50;

    CicloBascula(int indice, ContextoDispositivos& contexto);

    // Link step, then the parse step when the bridge is on.
    void PassoLigacao();
    // Parse step: reads a frame, or polls the polled model.
    void PassoLeitura();
    void LerTramaAvery();
    void LerTramaUtilcel();
    // Sends to the indicator over the bridge's link; a failed send is dropped.
    void EnviarIndicador(const QByteArray& texto);
    // The socket brought data: it replaces the buffer.
    void sck_DataArrival(const QByteArray& dados);

    // Display stage: validity and the reading's labels.
    void PassoVisualizacao();
    // Fill stage: the live weight, date and time into the weighing being entered.
    void PassoPreenchimento();
    // Save question when a capture is asked for, else the lorry pictures.
    void PassoPergunta();
    // Zero button offered, or the automatic zero.
    void PassoZero();
    // The zero command; by the operator only from access level 2.
    void cmdZ_Click(bool peloOperador);
    // Card readers, principal then secondary, then the last card forgotten on an empty bridge.
    void PassoLeitores();

private:
    EstadoBascula& e();
    VistaBascula& v();

    // The weight as the bridge writes it into an entry field.
    qint32 pesoParaCampo();
    void escreverPeso(int campo);
    void escreverDataHora(int campoData, int campoHora);
    void mostrarLiquido();
    void proporTipoDocumento();
    void perguntarGravar(bool segunda);
    void lerLeitor(Canal::Tipo canal);
    // A card other than the last one, at a loaded bridge: to the automatic
    // weighing, or kept waiting while a question, save or weighing runs.
    void entregarCartao();

    int m_i;
    ContextoDispositivos& m_c;
    bool m_cartaoPendente = false;  // a new card waits for the screen to be free
};
