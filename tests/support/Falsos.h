#pragma once

#include "platform/Mensagens.h"
#include "platform/Relatorio.h"
#include "platform/Relogio.h"
#include "platform/Sistema.h"

#include <QList>
#include <QQueue>
#include <functional>
#include <utility>

// Boxes answered by a script: every box shown is recorded, and a question
// takes the next scripted answer, or its default button when none is left.
class MensagensFalsas : public ServicoMensagens
{
public:
    struct Caixa
    {
        QString texto;
        int estilo = 0;
        QString titulo;
    };

    QList<Caixa> caixas;
    QQueue<int> respostas;          // answers for MsgBox, in order
    // Runs "while the box is open" (a tick, a card read...) and may answer it:
    // a value other than 0 is the answer. Called before the scripted answers.
    std::function<int(const Caixa&)> aoMostrar;
    int semResposta = 0;            // questions answered by their default button
    QQueue<QString> textos;         // answers for InputBox; none left gives ""
    QList<QString> perguntasTexto;  // the InputBox prompts
    int beeps = 0;
    int cursorOcupado = 0;          // nesting depth of the hourglass

    // Each box shown as "<title> <style> <text>".
    QStringList vistas() const;

    int MsgBox(const QString& texto, int estilo = Estilo::SoOK, const QString& titulo = {}) override;
    QString InputBox(const QString& pergunta, const QString& titulo = {}, const QString& defeito = {}) override;
    void Beep() override { ++beeps; }
    void CursorOcupado(bool ocupado) override { cursorOcupado += ocupado ? 1 : -1; }
};

class RelogioFalso : public Relogio
{
public:
    QDateTime momento = QDateTime(QDate(2026, 12, 5), QTime(14, 30, 0));
    QDateTime agora() const override { return momento; }
};

class SistemaFalso : public ServicoSistema
{
public:
    QList<int> terminacoes;
    int desligacoes = 0;
    QList<QDateTime> acertos;
    QStringList programas;
    bool recusar = false;  // refuse power off and clock changes

    void TerminarPrograma(int estado) override { terminacoes << estado; }
    bool DesligarComputador(QString* erro = nullptr) override;
    bool AcertarDataHora(const QDateTime& momento, QString* erro = nullptr) override;
    bool IniciarPrograma(const QString& programa, const QStringList& argumentos = {}) override;
};

// Records every request; each run ends with `estado`. A print that fails
// (FalhaImpressao) is told to whoever asked with `falha`, as the station's
// report printer tells it: at once, or, when `adiada`, only once
// responder() is called, as a print answered later by the print system
// (the run answers EmCurso meanwhile).
class ImpressoraFalsa : public ImpressoraRelatorios
{
public:
    QList<PedidoRelatorio> pedidos;
    int estado = EstadoRelatorio::Executado;
    Erro falha;
    bool adiada = false;
    int ExecutarRelatorio(const PedidoRelatorio& pedido, const AvisoFalha& aviso = {}) override
    {
        pedidos << pedido;
        if (estado == EstadoRelatorio::FalhaImpressao && aviso.avisar)
            m_porResponder << [aviso, e = estado, f = falha] { aviso.avisar(e, f); };
        if (!adiada)
            responder();
        return adiada ? EstadoRelatorio::EmCurso : estado;
    }
    // The answers of the prints asked so far.
    void responder()
    {
        for (const auto& r : std::exchange(m_porResponder, {}))
            r();
    }

private:
    QList<std::function<void()>> m_porResponder;
};
