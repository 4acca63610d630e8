#pragma once

#include "platform/Erro.h"

#include <QString>
#include <functional>

class ServicoMensagens;

// The station's routines carry on past a failing step: each step runs through
// one of these helpers, which catch the step's Erro so nothing escapes into
// the event loop.

// The database error box: the routine's heading, two line breaks and the
// error's text in parentheses, titled "Erro " and the number, style 48.
void MostrarErroBd(ServicoMensagens& mensagens, const QString& cabecalho, const Erro& erro);

// The box of a failure told by its number: "Erro número: ", the number, a
// line break and the description; information icon (style 64), `titulo`.
void MostrarErroNumero(ServicoMensagens& mensagens, const QString& titulo, const Erro& erro);

// Runs one step; on failure shows the database error box and returns false.
bool Passo(ServicoMensagens& mensagens, const QString& cabecalho, const std::function<void()>& passo);

// Runs one step; on failure returns false without a word (device work, for one).
bool PassoSilencioso(const std::function<void()>& passo, Erro* erro = nullptr);
