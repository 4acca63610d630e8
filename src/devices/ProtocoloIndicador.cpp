#include "devices/ProtocoloIndicador.h"

#include "shared/EstadoBascula.h"

#include <QLocale>
#include <cmath>
#include <charconv>
#include <cstdlib>
#include <limits>
#include <string>

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
    case Layout::A:
        return 14;
    case Layout::U:
        return 13;
    case Layout::Nenhum:
        break;
    }
    return 0;
}

namespace {
bool digito(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::optional<qint32> valorPeso(QByteArrayView campo)
{
    std::string s;
    for (char c : campo) {
        if (c != ' ' && c != '\t' && c != '\n')
            s.push_back(c);
    }
    // The longest prefix that is a decimal number (never "inf", "nan" or hexadecimal).
    std::string numero;
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        numero.push_back(s[i++]);
    bool temDigitos = false;
    while (i < s.size() && digito(s[i])) {
        numero.push_back(s[i++]);
        temDigitos = true;
    }
    if (i < s.size() && s[i] == '.') {
        numero.push_back(s[i++]);
        while (i < s.size() && digito(s[i])) {
            numero.push_back(s[i++]);
            temDigitos = true;
        }
    }
    if (!temDigitos)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::string expoente = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            expoente.push_back(s[j++]);
        bool digitosExpoente = false;
        while (j < s.size() && digito(s[j])) {
            expoente.push_back(s[j++]);
            digitosExpoente = true;
        }
        if (digitosExpoente)
            numero += expoente;
    }
    // from_chars ignores the C locale, whose decimal point may be a comma.
    const char* inicio = numero.data();
    if (*inicio == '+')
        ++inicio;
    double valor = 0;
    const auto [fim, erro] = std::from_chars(inicio, numero.data() + numero.size(), valor);
    if (erro != std::errc() || !std::isfinite(valor))
        return std::nullopt;
    const double arredondado = std::nearbyint(valor);  // to nearest, halves to even
    if (arredondado < double(std::numeric_limits<qint32>::min()) ||
        arredondado > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return qint32(arredondado);
}

QString formatarPeso(qint32 valor, QChar separador)
{
    QString digitos = QString::number(std::llabs(qint64(valor)));
    if (digitos.size() < 2)
        digitos.prepend(u'0');
    QString resultado;
    for (qsizetype k = 0; k < digitos.size(); ++k) {
        if (k > 0 && (digitos.size() - k) % 3 == 0)
            resultado.append(separador);
        resultado.append(digitos[k]);
    }
    return valor < 0 ? u'-' + resultado : resultado;
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

    const bool terminadorAceite = emA ? (terminador == '\r' || terminador == '\n')
                                      : (terminador == ' ' || terminador == '\r');
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
