#pragma once

#include "platform/Mensagens.h"

// The real boxes: Qt message and input dialogs with Portuguese buttons.
class MensagensQt : public ServicoMensagens
{
public:
    int MsgBox(const QString& texto, int estilo = Estilo::SoOK, const QString& titulo = {}) override;
    QString InputBox(const QString& pergunta, const QString& titulo = {}, const QString& defeito = {}) override;
    void Beep() override;
    void CursorOcupado(bool ocupado) override;
};
