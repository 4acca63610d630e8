#include "screen/RegrasCampos.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "screen/CamposEntrada.h"

#include <QRegularExpression>
#include <QTime>
#include <algorithm>

namespace RegrasCampos {

namespace {
const QString digitos = QStringLiteral("1234567890");
const QString letras = QStringLiteral("QWERTYUIOPASDFGHJKLZXCVBNM");

Caracter aceitar(QChar c)
{
    return {Caracter::Aceitar, c};
}
Caracter largar()
{
    return {Caracter::Largar, {}};
}

// The national plate XX-XX-XX: each group is two letters or two digits.
Caracter padraoNacional(QChar c, const QString& texto, int p)
{
    if (p == 0 || p == 3 || p == 6) {
        if (digitos.contains(c) || letras.contains(c))
            return aceitar(c);
        return {Caracter::Recusar, {}};
    }
    if (p == 1 || p == 4 || p == 7) {
        const QChar primeiro = p - 1 < texto.size() ? texto.at(p - 1) : QChar();
        const QString& aceites = digitos.contains(primeiro) ? digitos : letras;
        if (aceites.contains(c))
            return aceitar(c);
        return {Caracter::Recusar, {}};
    }
    return {Caracter::RecusarNoFim, {}};
}
}  // namespace

Caracter filtrarCaracter(int campo, QChar c, bool formatoNacional, const QString& texto, int selInicio)
{
    using CamposEntrada::Genero;
    switch (CamposEntrada::definicao(campo).genero) {
    case Genero::Codigo: return aceitar(c.toUpper());
    case Genero::Placa:
        if (formatoNacional)
            return padraoNacional(c.toUpper(), texto, selInicio);
        return aceitar(c.toUpper());
    case Genero::Nome: return aceitar(c);
    case Genero::Peso: return digitos.contains(c) ? aceitar(c) : largar();
    case Genero::Data: return digitos.contains(c) || c == u'-' ? aceitar(c) : largar();
    case Genero::Hora: return digitos.contains(c) || c == u':' ? aceitar(c) : largar();
    }
    return largar();
}

std::optional<QString> retrocessoMatricula(const QString& texto, int selInicio)
{
    if (selInicio == 3)
        return texto.left(1);
    if (selInicio == 6)
        return texto.left(4);
    return std::nullopt;
}

std::optional<QString> hifenMatricula(const QString& texto)
{
    if (texto.size() == 2 || texto.size() == 5)
        return texto + u'-';
    return std::nullopt;
}

std::optional<QString> arredondarPeso(const QString& texto)
{
    try {
        const double valor = Conversoes::Val(texto);
        const qint32 inteiro = Conversoes::CLng(valor);
        const qint32 r = Conversoes::CLng(Conversoes::arredondarPar(inteiro / 10.0)) * 10;
        if (valor == double(r))
            return std::nullopt;
        return QString::number(r);
    } catch (const Erro&) {
        return std::nullopt;  // too large for a weight: left as typed
    }
}

std::optional<QString> normalizarData(const QString& texto)
{
    try {
        const QString n = Conversoes::CDate(texto).toString(QStringLiteral("dd-MM-yyyy"));
        if (n == texto)
            return std::nullopt;
        return n;
    } catch (const Erro&) {
        return std::nullopt;
    }
}

std::optional<QString> normalizarHora(const QString& texto)
{
    static const QRegularExpression formato(QStringLiteral(R"(^\s*(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*$)"));
    const QRegularExpressionMatch m = formato.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    const QTime hora(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).isEmpty() ? 0 : m.captured(3).toInt());
    if (!hora.isValid())
        return std::nullopt;
    const QString n = hora.toString(QStringLiteral("HH:mm"));
    if (n == texto)
        return std::nullopt;
    return n;
}

qint32 limitePeso(const PorBascula<qint32>& capacidades)
{
    return std::max(capacidades[0], capacidades[1]);
}

std::optional<QString> limitarPeso(const QString& texto, qint32 limite)
{
    if (Conversoes::Val(texto) > double(limite))
        return QString::number(limite);
    return std::nullopt;
}

}  // namespace RegrasCampos
