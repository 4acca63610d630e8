#include "platform/Conversoes.h"

#include "platform/Erro.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace Conversoes {

namespace {

QString semEspacos(const QString& texto)
{
    QString limpo;
    limpo.reserve(texto.size());
    for (QChar c : texto) {
        if (c != u' ' && c != u'\t' && c != u'\n')
            limpo.append(c);
    }
    return limpo;
}

int valorDigito(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

double lerBase(const QString& s, int inicio, int base)
{
    double valor = 0;
    for (int i = inicio; i < s.size(); ++i) {
        const int digito = valorDigito(s[i]);
        if (digito < 0 || digito >= base)
            break;
        valor = valor * base + digito;
    }
    return valor;
}

bool eDigito(QChar c)
{
    return c >= u'0' && c <= u'9';
}

}  // namespace

std::optional<double> numeroDecimal(const QString& texto)
{
    const QString s = semEspacos(texto);
    int i = 0;
    QString numero;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        numero.append(s[i++]);
    bool digitos = false;
    while (i < s.size() && eDigito(s[i])) {
        numero.append(s[i++]);
        digitos = true;
    }
    if (i < s.size() && s[i] == u'.') {
        numero.append(s[i++]);
        while (i < s.size() && eDigito(s[i])) {
            numero.append(s[i++]);
            digitos = true;
        }
    }
    if (!digitos)
        return std::nullopt;
    // An exponent without digits is not part of the number.
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        int j = i + 1;
        QString expoente = QStringLiteral("e");
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            expoente.append(s[j++]);
        bool temDigitos = false;
        while (j < s.size() && eDigito(s[j])) {
            expoente.append(s[j++]);
            temDigitos = true;
        }
        if (temDigitos)
            numero += expoente;
    }
    bool ok = false;
    const double valor = numero.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return valor;
}

double Val(const QString& texto)
{
    const QString s = semEspacos(texto);
    if (s.size() >= 2 && s[0] == u'&') {
        const QChar tipo = s[1].toUpper();
        if (tipo == u'H')
            return lerBase(s, 2, 16);
        if (tipo == u'O')
            return lerBase(s, 2, 8);
        return 0;
    }
    return numeroDecimal(s).value_or(0);
}

QString agruparMilhares(qint64 valor, int digitosMinimos, QChar separador)
{
    // The magnitude as unsigned, so the smallest qint64 has one too.
    const quint64 magnitude = valor < 0 ? 0 - quint64(valor) : quint64(valor);
    QString digitos = QString::number(magnitude);
    if (digitos.size() < digitosMinimos)
        digitos.prepend(QString(digitosMinimos - digitos.size(), u'0'));
    for (qsizetype k = digitos.size() - 3; k > 0; k -= 3)
        digitos.insert(k, separador);
    return valor < 0 ? u'-' + digitos : digitos;
}

QString textoPeso(qint64 quilos)
{
    return agruparMilhares(quilos) + QStringLiteral("\u00A0kg");
}

int compararSemMaiusculas(QStringView a, QStringView b)
{
    const auto dobrar = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = dobrar(a[i].unicode()), y = dobrar(b[i].unicode());
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

double arredondarPar(double valor)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even.
    return std::nearbyint(valor);
}

namespace {
template <typename T> T converterInteiro(double valor)
{
    if (!std::isfinite(valor))
        Erros::lancarSobrecarga();
    const double r = arredondarPar(valor);
    if (r < static_cast<double>(std::numeric_limits<T>::min())
        || r > static_cast<double>(std::numeric_limits<T>::max()))
        Erros::lancarSobrecarga();
    return static_cast<T>(r);
}
}  // namespace

qint16 CInt(double valor)
{
    return converterInteiro<qint16>(valor);
}
qint32 CLng(double valor)
{
    return converterInteiro<qint32>(valor);
}
quint8 CByte(double valor)
{
    return converterInteiro<quint8>(valor);
}

QString dataParaBd(const QDateTime& momento)
{
    return momento.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

// The day and the time of day of a stored date, read without a time zone.
std::optional<std::pair<QDate, QTime>> partesDeBd(const QString& texto)
{
    if (texto.size() != 19 || texto[10] != u' ')
        return std::nullopt;
    const QDate dia = QDate::fromString(texto.left(10), QStringLiteral("yyyy-MM-dd"));
    const QTime hora = QTime::fromString(texto.mid(11), QStringLiteral("HH:mm:ss"));
    if (!dia.isValid() || !hora.isValid())
        return std::nullopt;
    return std::pair{dia, hora};
}

}  // namespace

std::optional<QDateTime> dataDeBd(const QString& texto)
{
    const auto partes = partesDeBd(texto);
    if (!partes)
        return std::nullopt;
    const auto [dia, hora] = *partes;
    QDateTime d(dia, hora);
    // A time the clock skipped when it went forward is read as the time it
    // then showed, rather than as no date at all. The day's start, not its
    // midnight: where the clock changes at midnight (the Azores) that day has
    // none.
    if (!d.isValid())
        d = dia.startOfDay().addSecs(QTime(0, 0).secsTo(hora));
    return d;
}

std::optional<double> numeroDeData(const QString& texto)
{
    const auto partes = partesDeBd(texto);
    if (!partes)
        return std::nullopt;
    const double dias = double(QDate(1899, 12, 30).daysTo(partes->first));
    const double fraccao = partes->second.msecsSinceStartOfDay() / 86400000.0;
    return dias < 0 ? dias - fraccao : dias + fraccao;
}

QDateTime dataZero()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QDateTime CDate(const QString& texto)
{
    const QString t = texto.trimmed();
    if (auto bd = dataDeBd(t))
        return *bd;
    // The year ends at a blank or at the end: "05-03-202410:20" is no date.
    static const QRegularExpression formato(
        QStringLiteral(R"(^(?:(\d{1,2})[-/.](\d{1,2})[-/.](\d{2}|\d{4})(?=\s|$))?\s*)"
                       R"((?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    const auto m = formato.match(t);
    if (t.isEmpty() || !m.hasMatch())
        Erros::lancarTiposIncompativeis();
    QDate data = QDate(1899, 12, 30);
    if (m.capturedLength(1) > 0) {
        int ano = m.captured(3).toInt();
        if (m.capturedLength(3) == 2)
            ano = anoCompleto(ano);
        data = QDate(ano, m.captured(2).toInt(), m.captured(1).toInt());
        if (!data.isValid())
            Erros::lancarTiposIncompativeis();
    }
    if (m.capturedLength(4) == 0)
        return data.startOfDay();  // midnight, or the day's first moment where the clock skipped it
    const QTime hora(m.captured(4).toInt(), m.captured(5).toInt(), m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0);
    const QDateTime momento(data, hora);
    // A time the station's clock never showed (skipped by the change to
    // summer time) is no moment either.
    if (!hora.isValid() || !momento.isValid())
        Erros::lancarTiposIncompativeis();
    return momento;
}

int anoCompleto(int ano)
{
    if (ano < 0 || ano > 99)
        return ano;
    return ano + (ano < 30 ? 2000 : 1900);
}

QString textoDeData(const QDateTime& momento)
{
    if (momento.time() == QTime(0, 0))
        return momento.toString(QStringLiteral("dd-MM-yyyy"));
    return momento.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss"));
}

}  // namespace Conversoes
