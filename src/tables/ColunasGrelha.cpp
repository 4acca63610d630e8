#include "tables/ColunasGrelha.h"

#include "shared/Tecla.h"

#include "platform/Conversoes.h"

#include <QHash>
#include <algorithm>
#include <cmath>

namespace Colunas {

int pixeis(double twips, int dpi)
{
    return int(std::lround(twips * dpi / 1440.0));
}

std::optional<QChar> Tecla(RegraTecla regra, QChar c)
{
    if (c == QChar(::Tecla::Retrocesso) || c == QChar(::Tecla::Esc))
        return c;
    if (c == QChar(::Tecla::Enter))
        return std::nullopt;
    auto entre = [&](const char* aceites) -> std::optional<QChar> {
        if (QLatin1String(aceites).contains(c))
            return c;
        return std::nullopt;
    };
    switch (regra) {
    case RegraTecla::Livre: return c;
    case RegraTecla::Maiusculas: return c.toUpper();  // one character for one: 'ß' stays itself
    case RegraTecla::Digitos: return entre("1234567890");
    case RegraTecla::Data: return entre("1234567890-/:");
    case RegraTecla::Hora: return entre("1234567890:");
    case RegraTecla::Nivel: return entre("234");
    }
    return c;
}

std::optional<QString> textoNaRegra(RegraTecla regra, const QString& daCelula, const QString& texto)
{
    QString fica = texto;
    QHash<QChar, int> aMais;  // characters outside the rule: in the text less in the cell's own
    for (QChar& c : fica) {
        if (const auto tecla = Tecla(regra, c))
            c = *tecla;
        else
            ++aMais[c];
    }
    for (QChar c : daCelula) {
        if (auto i = aMais.find(c); i != aMais.end())
            --*i;
    }
    if (std::any_of(aMais.cbegin(), aMais.cend(), [](int n) { return n > 0; }))
        return std::nullopt;
    return fica;
}

QString texto(FormatoColuna formato, const QVariant& valor)
{
    if (valor.isNull())
        return {};
    switch (formato) {
    case FormatoColuna::Peso: return Conversoes::textoPeso(valor.toLongLong());
    case FormatoColuna::DataGeral:
        if (const auto d = Conversoes::dataDeBd(valor.toString()))
            return Conversoes::textoDeData(*d);
        break;
    case FormatoColuna::Nenhum: break;
    }
    return valor.toString();
}

}  // namespace Colunas
