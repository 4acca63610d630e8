#include "data/ModGlobalCampos.h"

#include "platform/Conversoes.h"
#include "platform/Erro.h"
#include "platform/Relogio.h"
#include "shared/Esquema.h"

#include <QRegularExpression>
#include <cmath>

namespace ModGlobal {

namespace {

// A database Null: a value with a type but no content. QVariant() is "empty".
bool eNulo(const QVariant& v)
{
    return v.isValid() && v.isNull();
}
bool eVazio(const QVariant& v)
{
    return !v.isValid();
}

QVariant valorCampo(const QSqlRecord& rs, const QString& campo)
{
    const int i = rs.indexOf(campo);  // letter case ignored, as the field names always were
    if (i < 0)
        Erros::lancarCampoEmFalta(campo);
    return rs.value(i);
}

bool eNumerico(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

// A whole number from a text: an optional sign and digits, with at most a
// decimal comma; anything else, the empty text included, is a type mismatch.
double numeroDeTexto(const QString& texto)
{
    static const QRegularExpression formato(QStringLiteral(R"(^[+-]?\d+(,\d+)?$)"));
    const QString t = texto.trimmed();
    if (!formato.match(t).hasMatch())
        Erros::lancarTiposIncompativeis();
    return QString(t).replace(u',', u'.').toDouble();
}

double paraNumero(const QVariant& v)
{
    if (eVazio(v))
        return 0;
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? -1 : 0;
    if (eNumerico(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QString)
        return numeroDeTexto(v.toString());
    Erros::lancarTiposIncompativeis();
}

QString textoDeNumero(const QVariant& v)
{
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (d == std::floor(d) && std::abs(d) < 1e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15).replace(u'.', u',');  // Portuguese decimal comma
    }
    return v.toString();
}

}  // namespace

quint8 LerCampoByte(const QSqlRecord& Rs, const QString& Campo)
{
    const QVariant v = valorCampo(Rs, Campo);
    return eNulo(v) ? 0 : Conversoes::CByte(paraNumero(v));
}

qint32 LerCampoLong(const QSqlRecord& Rs, const QString& Campo)
{
    const QVariant v = valorCampo(Rs, Campo);
    return eNulo(v) ? 0 : VarLong(v);
}

QDateTime LerCampoData(const QSqlRecord& Rs, const QString& Campo, const Relogio& relogio)
{
    return VarData(valorCampo(Rs, Campo), relogio);
}

QString LerCampoTexto(const QSqlRecord& Rs, const QString& Campo)
{
    const QVariant v = valorCampo(Rs, Campo);
    if (eNulo(v))
        return QStringLiteral("");
    if (Esquema::eCampoData(Campo)) {
        if (const auto d = Conversoes::dataDeBd(v.toString()))
            return Conversoes::textoDeData(*d);
    }
    return VarTexto(v);
}

qint32 VarLong(const QVariant& Valor)
{
    if (eNulo(Valor))
        return 0;
    return Conversoes::CLng(paraNumero(Valor));
}

QDateTime VarData(const QVariant& Valor, const Relogio& relogio)
{
    if (eNulo(Valor))
        return relogio.agora();
    if (eVazio(Valor))
        return Conversoes::dataZero();
    switch (Valor.typeId()) {
    case QMetaType::QDateTime: return Valor.toDateTime();
    case QMetaType::QDate: return Valor.toDate().startOfDay();
    case QMetaType::QString: return Conversoes::CDate(Valor.toString());
    default: Erros::lancarTiposIncompativeis();
    }
}

QString VarTexto(const QVariant& Valor)
{
    if (eNulo(Valor) || eVazio(Valor))
        return QStringLiteral("");
    switch (Valor.typeId()) {
    case QMetaType::QDateTime: return Conversoes::textoDeData(Valor.toDateTime());
    case QMetaType::QDate: return Conversoes::textoDeData(Valor.toDate().startOfDay());
    case QMetaType::Bool: return Valor.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        if (eNumerico(Valor))
            return textoDeNumero(Valor);
        return Valor.toString();
    }
}

}  // namespace ModGlobal
