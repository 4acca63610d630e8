#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Number and date conversions with the rules the station's stored data and
// settings rely on: a lenient number reader, whole numbers rounded half to
// even with range checks, and day-first Portuguese dates. Failures throw Erro
// (6 for an overflow, 13 for a value of the wrong kind).
namespace Conversoes {

// Reads the numeric prefix of a text: blanks, tabs and line feeds are skipped
// anywhere; an optional sign, digits, one '.', an exponent (E or D); "&H" reads
// hexadecimal and "&O" octal (both unsigned). No number gives 0. The locale is
// never used.
double Val(const QString& texto);

// The decimal part of Val's grammar on its own: blanks, tabs and line feeds
// skipped anywhere, then sign, digits, one '.', digits and an exponent (E or
// D), up to the first other character. Nothing when no digit comes before the
// exponent. A value too large for a double is not rejected here.
std::optional<double> numeroDecimal(const QString& texto);

// "#,##0": a whole number with every three digits grouped ("9 000",
// "1 234 567"), at least `digitosMinimos` digits ("#,#00" takes 2). The
// station's pt_PT separator is the no-break space; Qt's own pt_PT format is
// not used because it leaves four digits ungrouped.
QString agruparMilhares(qint64 valor, int digitosMinimos = 1, QChar separador = QChar(0x00A0));

// A weight as documents and lists show it: "12 500 kg", grouped as above.
QString textoPeso(qint64 quilos);

// The order the database gives text: A to Z compared as a to z and nothing
// else folded (SQLite's NOCASE), so "Areia" equals "AREIA" but "Évora" and
// "évora" differ. Negative, zero or positive.
int compararSemMaiusculas(QStringView a, QStringView b);
// The same order for a sorted container.
struct MenorSemMaiusculas
{
    bool operator()(QStringView a, QStringView b) const { return compararSemMaiusculas(a, b) < 0; }
};

// Rounds half to even and checks the range of the type.
qint16 CInt(double valor);
qint32 CLng(double valor);
quint8 CByte(double valor);

// Rounds half to even (2.5 gives 2, 3.5 gives 4).
double arredondarPar(double valor);

// The one text form of a stored date: "yyyy-MM-dd HH:mm:ss", local time.
QString dataParaBd(const QDateTime& momento);
std::optional<QDateTime> dataDeBd(const QString& texto);

// The day count of a stored date, as a date compares with a number: calendar
// days from 30-12-1899, the time of day as the fraction (15-01-2026 is 46037,
// at 12:00 46037.5; before that day the fraction goes away from zero too, so
// 29-12-1899 06:00 is -1.25). Never through the time zone. Nothing for a text
// that is not a stored date.
std::optional<double> numeroDeData(const QString& texto);

// A date as an operator types it: d-M-yyyy with '-', '/' or '.', an optional
// time H:mm[:ss] after a blank; a two-digit year is 2000-2029 for 00-29 and
// 19xx otherwise. The stored form is accepted too. An impossible date, or a
// time the station's clock skipped, throws 13.
QDateTime CDate(const QString& texto);

// A year typed with two digits: 00-29 is 2000-2029, 30-99 is 1930-1999;
// other years are kept.
int anoCompleto(int ano);

// A date as text: "dd-MM-yyyy", with " HH:mm:ss" when the time is not midnight.
QString textoDeData(const QDateTime& momento);

// The zero date of empty values: 30 December 1899, 00:00.
QDateTime dataZero();

}  // namespace Conversoes
