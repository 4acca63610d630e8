#pragma once

#include <QString>

// Message and input boxes, the beep and the busy cursor, as a service handed to
// every window, so the station's questions can be answered by a script in tests.
// Styles and answers keep the classic numbers (16, 36, 48, 64, 292 ...), which
// is how the station's messages are described and tested.
namespace Estilo {
constexpr int SoOK = 0;
constexpr int OKCancelar = 1;
constexpr int SimNao = 4;
constexpr int Critico = 16;        // stop icon
constexpr int Pergunta = 32;       // question icon
constexpr int Exclamacao = 48;     // exclamation icon
constexpr int Informacao = 64;     // information icon
constexpr int SegundoBotao = 256;  // the second button is the default
}  // namespace Estilo

namespace Resposta {
constexpr int OK = 1;
constexpr int Cancelar = 2;
constexpr int Sim = 6;
constexpr int Nao = 7;
}  // namespace Resposta

class ServicoMensagens
{
public:
    virtual ~ServicoMensagens() = default;

    // Shows a modal box and returns the button pressed. An empty title gives "Zumarel".
    virtual int MsgBox(const QString& texto, int estilo = Estilo::SoOK, const QString& titulo = {}) = 0;

    // Asks for a text; Cancel gives the empty text.
    virtual QString InputBox(const QString& pergunta, const QString& titulo = {}, const QString& defeito = {}) = 0;

    virtual void Beep() = 0;

    // The hourglass while something long runs; calls nest.
    virtual void CursorOcupado(bool ocupado) = 0;
};

// Shows the hourglass for as long as it lives, on every path out of a routine.
class CursorOcupadoGuarda
{
public:
    explicit CursorOcupadoGuarda(ServicoMensagens& m) : m_m(m) { m_m.CursorOcupado(true); }
    ~CursorOcupadoGuarda() { m_m.CursorOcupado(false); }
    CursorOcupadoGuarda(const CursorOcupadoGuarda&) = delete;
    CursorOcupadoGuarda& operator=(const CursorOcupadoGuarda&) = delete;

private:
    ServicoMensagens& m_m;
};

// The application's title, used where a box is given none.
inline QString tituloAplicacao()
{
    return QStringLiteral("Zumarel");
}
