#include "devices/ProtocoloIndicador.h"

#include "platform/Conversoes.h"
#include "shared/EstadoBascula.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace ProtocoloIndicador {

Modelo modelo(const QString& IndModelo)
{
    if (IndModelo == u"Avery Berkel" || IndModelo == u"Avery Weigh-Tronix")
        return {Layout::A, {}, QByteArrayLiteral("z")};
    if (IndModelo == u"Utilcel Matrix II")
        return {Layout::U, QByteArrayLiteral("P\r"), QByteArrayLiteral("Z")};
    return {};
}

int comprimentoTrama(Layout layout)
{
    switch (layout) {
    case Layout::A: return 14;
    case Layout::U: return 13;
    case Layout::Nenhum: break;
    }
    return 0;
}

std::optional<qint32> valorPeso(QByteArrayView campo)
{
    // Never "inf", "nan" or hexadecimal: only the decimal grammar, and no digit is no weight.
    const std::optional<double> valor = Conversoes::numeroDecimal(QString::fromLatin1(campo));
    if (!valor || !std::isfinite(*valor))
        return std::nullopt;
    const double arredondado = Conversoes::arredondarPar(*valor);
    if (arredondado < double(std::numeric_limits<qint32>::min())
        || arredondado > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(arredondado);
}

QString formatarPeso(qint32 valor, QChar separador)
{
    return Conversoes::agruparMilhares(valor, 2, separador);
}

QChar separadorMilhares()
{
    const QString s = QLocale(QLocale::Portuguese, QLocale::Portugal).groupSeparator();
    return s.isEmpty() ? QChar(u' ') : s.front();
}

namespace {

// The end of a frame read: a field the layout does not accept.
void erroLeitura(EstadoBascula& e)
{
    e.MensagemIndicador = Mensagens::ErroLeitura;
    e.ErroIndicador = true;
}

}  // namespace

bool LerTrama(Layout layout, EstadoBascula& e, int Ciclos, int PesagemMinima, QChar separador)
{
    const int comprimento = comprimentoTrama(layout);
    if (comprimento == 0)
        return false;
    const qsizetype p = e.BufferIndicador.indexOf(STX);
    if (p < 0 || e.BufferIndicador.size() - p < comprimento) {
        // No complete frame yet: count, and past the limit say so on every tick.
        if (e.CiclosIndicador < Ciclos) {
            ++e.CiclosIndicador;
        } else {
            e.MensagemIndicador = Mensagens::ErroProtocolo;
            e.ErroIndicador = true;
        }
        return false;
    }
    const QByteArray trama = e.BufferIndicador.mid(p, comprimento);
    e.BufferIndicador.clear();  // with whatever stood before and after the frame

    const QByteArray campoPeso = trama.mid(1, 8);
    const QByteArray unidade = trama.mid(9, 2);
    const bool emA = layout == Layout::A;
    const char modo = emA ? trama[11] : 'G';
    const char estabilidade = emA ? trama[12] : trama[11];
    const char terminador = trama[comprimento - 1];
    e.TextoPeso = QString::fromLatin1(campoPeso);

    const bool terminadorAceite =
        emA ? (terminador == '\r' || terminador == '\n') : (terminador == ' ' || terminador == '\r');
    if (!terminadorAceite) {
        erroLeitura(e);
        return true;
    }
    e.MensagemIndicador.clear();
    e.ErroIndicador = false;

    // Stability, then gross or net, then unit: the last notice is the one shown.
    if (estabilidade == (emA ? 'S' : ' ')) {
        e.TextoEstabilidade = QStringLiteral("><");
    } else if (estabilidade == (emA ? 'U' : 'M')) {
        e.TextoEstabilidade = QStringLiteral(">");
        e.MensagemIndicador = Mensagens::PesoInstavel;
    } else {
        erroLeitura(e);
        return true;
    }
    if (modo == 'G') {
        e.TextoModo = QStringLiteral("Peso bruto:");
    } else if (modo == 'N') {
        e.TextoModo = QStringLiteral("Peso líquido:");
        e.MensagemIndicador = Mensagens::ModoLiquido;
    } else {
        erroLeitura(e);
        return true;
    }
    if (unidade == (emA ? "kg" : "KG")) {
        e.TextoUnidade = QStringLiteral("kg");
    } else if (unidade == "lb") {
        e.TextoUnidade = QStringLiteral("lib");
        e.MensagemIndicador = Mensagens::UnidadeIncorrecta;
    } else if (unidade == "to") {
        e.TextoUnidade = QStringLiteral("ton");
        e.MensagemIndicador = Mensagens::UnidadeIncorrecta;
    } else {
        erroLeitura(e);
        return true;
    }

    // An overload ("--------") or an impossible number is not 0 kg.
    const std::optional<qint32> peso = valorPeso(campoPeso);
    if (!peso) {
        erroLeitura(e);
        return true;
    }
    e.PesoActual = *peso;
    if (e.PesoActual < 0)
        e.MensagemIndicador = Mensagens::PesoNegativo;
    if (!emA)
        e.TextoPeso = formatarPeso(e.PesoActual, separador);
    e.CiclosIndicador = 0;
    e.PesoValido = e.MensagemIndicador.isEmpty() && e.PesoActual >= PesagemMinima;
    return true;
}

}  // namespace ProtocoloIndicador
