#include "admin/LogicaRelogio.h"

#include "shared/Tecla.h"

#include "data/Estacao.h"
#include "platform/Conversoes.h"
#include "platform/Mensagens.h"
#include "platform/Relogio.h"
#include "platform/Sistema.h"

#include <QRegularExpression>

namespace {

const QString FormatoData = QStringLiteral("dd-MM-yyyy");
const QString FormatoHora = QStringLiteral("HH:mm");

using Controlo = LogicaRelogio::Controlo;

bool eCaixa(Controlo c)
{
    return c == Controlo::txt0 || c == Controlo::txt1;
}

Controlo caixa(int i)
{
    return i == 0 ? Controlo::txt0 : Controlo::txt1;
}

// How a box's text reads when the operator leaves it.
enum class Leitura { Outra, Lida, Impossivel };

// "5-3-1999" (or "5-3-99") reads as 05-03-1999; a text of that form naming
// no real day (31-02-2024) is impossible; any other text is left as typed.
Leitura reformatarData(QString& texto)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})-(\d{1,2})-(\d{2}|\d{4})$)"));
    const auto m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return Leitura::Outra;
    int ano = m.captured(3).toInt();
    if (m.capturedLength(3) == 2)
        ano = Conversoes::anoCompleto(ano);
    const QDate data(ano, m.captured(2).toInt(), m.captured(1).toInt());
    if (!data.isValid())
        return Leitura::Impossivel;
    texto = data.toString(FormatoData);
    return Leitura::Lida;
}

// "9:5" reads as 09:05 (seconds, if typed, are dropped); 25:00 is impossible.
Leitura reformatarHora(QString& texto)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)"));
    const auto m = forma.match(texto.trimmed());
    if (!m.hasMatch())
        return Leitura::Outra;
    const QTime hora(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!hora.isValid())
        return Leitura::Impossivel;
    texto = hora.toString(FormatoHora);
    return Leitura::Lida;
}

}  // namespace

const QString LogicaRelogio::TituloJanela = QStringLiteral("Acerto de Data e Hora");
const QString LogicaRelogio::TituloMensagens = QStringLiteral("Acerto de data e hora");

LogicaRelogio::LogicaRelogio(Estacao& estacao) : m_estacao(estacao) {}

QString LogicaRelogio::dica(Controlo c)
{
    switch (c) {
    case Controlo::txt0: return QStringLiteral("Data no formato (dd-mm-aaaa)");
    case Controlo::txt1: return QStringLiteral("Hora no formato (hh:mm)");
    case Controlo::cmd0: return QStringLiteral("Acertar");
    case Controlo::cmd1: return QStringLiteral("Cancelar");
    case Controlo::Nenhum: break;
    }
    return {};
}

QString LogicaRelogio::dataAgora() const
{
    return m_estacao.relogio.agora().toString(FormatoData);
}

QString LogicaRelogio::horaAgora() const
{
    return m_estacao.relogio.agora().toString(FormatoHora);
}

void LogicaRelogio::Form_Load()
{
    const QDateTime agora = m_estacao.relogio.agora();
    m_fra = {QStringLiteral("Data: ") + agora.toString(FormatoData),
             QStringLiteral("Hora: ") + agora.toString(QStringLiteral("HH:mm:ss"))};
    m_txt = {agora.toString(FormatoData), agora.toString(FormatoHora)};
    mudarFoco(Controlo::txt0);
}

void LogicaRelogio::Timer1_Timer()
{
    // "Today" is read on every tick: the dialog may stay open across midnight.
    const QDateTime agora = m_estacao.relogio.agora();
    const QString hora = QStringLiteral("Hora: ") + agora.toString(QStringLiteral("HH:mm:ss"));
    if (m_fra[1] == hora)
        return;
    const QString data = QStringLiteral("Data: ") + agora.toString(FormatoData);
    if (m_fra[0] != data)
        m_fra[0] = data;
    m_fra[1] = hora;
}

void LogicaRelogio::txt_Change(int i, const QString& texto)
{
    QString& t = m_txt.at(std::size_t(i));
    t = texto;
    const QChar separador = i == 0 ? u'-' : u':';
    if (t.size() == 2 && !t.contains(separador))
        t += separador;
}

LogicaRelogio::Tecla LogicaRelogio::txt_Tecla(int i, int KeyCode, int KeyAscii)
{
    switch (KeyCode) {
    case ::Tecla::Cima: return Tecla::Anterior;
    case ::Tecla::Baixo: return Tecla::Seguinte;
    default: break;
    }
    switch (KeyAscii) {
    case 0:  // a key that types nothing (Tab, the other arrows, Home, Delete)
    case ::Tecla::Retrocesso: return Tecla::Passa;
    case ::Tecla::Enter: return Tecla::Seguinte;
    case ::Tecla::Esc: return Tecla::Fechar;
    default: break;
    }
    // Any other character but the box's own, control characters (paste,
    // cut, undo) included, is refused.
    const QString aceites = i == 0 ? QStringLiteral("0123456789-") : QStringLiteral("0123456789:");
    if (aceites.contains(QChar(char16_t(KeyAscii))))
        return Tecla::Passa;
    m_estacao.mensagens.Beep();
    return Tecla::Recusada;
}

void LogicaRelogio::mudarFoco(Controlo c)
{
    if (c == m_foco)
        return;
    const Controlo antigo = m_foco;
    m_foco = c;
    if (eCaixa(antigo))
        txt_LostFocus(antigo == Controlo::txt0 ? 0 : 1);
    if (m_foco != c)
        return;  // a refused entry took the focus back to its box
    txt_GotFocus(c);
}

void LogicaRelogio::txt_GotFocus(Controlo c)
{
    m_painel = dica(c);
    if (eCaixa(c))
        m_seleccionar = true;
}

void LogicaRelogio::txt_LostFocus(int i)
{
    QString& t = m_txt.at(std::size_t(i));
    if (i == 0) {
        if (reformatarData(t) == Leitura::Impossivel)
            MostrarErro(QStringLiteral("Erro: Data incorrecta"), 0);
        if (t.trimmed().size() != MaximoData)
            MostrarErro(QStringLiteral("Data incorrecta"), 0);
    } else {
        if (t.trimmed().size() < 3)
            t += QStringLiteral(":00");
        if (reformatarHora(t) == Leitura::Impossivel)
            MostrarErro(QStringLiteral("Erro: Hora incorrecta"), 1);
        if (t.trimmed().size() != MaximoHora)
            MostrarErro(QStringLiteral("Hora incorrecta"), 1);
    }
    if (m_foco != caixa(i))
        m_painel.clear();
}

void LogicaRelogio::MostrarErro(const QString& texto, int i)
{
    m_estacao.mensagens.Beep();
    m_estacao.mensagens.MsgBox(texto, Estilo::Exclamacao, TituloMensagens);
    m_txt.at(std::size_t(i)) = i == 0 ? dataAgora() : horaAgora();
    m_foco = caixa(i);
    txt_GotFocus(m_foco);
}

bool LogicaRelogio::cmd_Click(int i)
{
    if (m_foco != (i == 0 ? Controlo::cmd0 : Controlo::cmd1))
        return false;
    return i == 1 || acertar();
}

std::optional<QDate> LogicaRelogio::lerData(const QString& texto)
{
    const QDate d = QDate::fromString(texto.trimmed(), FormatoData);
    return d.isValid() ? std::optional(d) : std::nullopt;
}

std::optional<QTime> LogicaRelogio::lerHora(const QString& texto)
{
    const QTime t = QTime::fromString(texto.trimmed(), FormatoHora);
    return t.isValid() ? std::optional(t) : std::nullopt;
}

// Date and time are set in one request, so no half-set clock is ever seen
// (two requests would race at midnight). A date or time that cannot be read
// is refused as on leaving its box, and a refusal of the system is shown; in
// both cases the dialog stays open.
bool LogicaRelogio::acertar()
{
    const auto data = lerData(m_txt[0]);
    if (!data) {
        MostrarErro(QStringLiteral("Data incorrecta"), 0);
        return false;
    }
    const auto hora = lerHora(m_txt[1]);
    // A local time skipped by the change to summer time does not exist.
    const QDateTime momento(*data, hora.value_or(QTime()), Qt::LocalTime);
    if (!hora || !momento.isValid() || momento.time() != *hora || momento.date() != *data) {
        MostrarErro(QStringLiteral("Hora incorrecta"), 1);
        return false;
    }
    QString erro;
    if (!m_estacao.sistema.AcertarDataHora(momento, &erro)) {
        m_estacao.mensagens.MsgBox(QStringLiteral("Não foi possível acertar a data e hora\n\n(") + erro + u')',
                                   Estilo::Exclamacao, TituloMensagens);
        return false;
    }
    return true;
}
