#pragma once

#include <QByteArray>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <Qt>

class Relogio;

// What each look-up list shows: its source, its columns and the captions of
// its search options, and the reading of its rows.

// How a field's value becomes the text shown.
enum class Conversao {
    Texto,   // the value as text; Null gives ""
    Peso,    // "12 345 kg" with the locale's thousands mark; Null gives "0 kg"
    Data,    // "dd-MM-yyyy", with " HH:mm:ss" when not midnight; Null gives ""
    Numero,  // plain digits; Null gives "0"
};

struct ColunaLista
{
    QString legenda;
    int larguraTwips = 0;
    Qt::Alignment alinhamento = Qt::AlignLeft;
    QString campo;
    Conversao conversao = Conversao::Texto;
};

struct DefinicaoLista
{
    QString titulo;
    QString tabela;
    bool soPrimeirasPesagens = false;  // only the rows of kind 'P'
    QString campoEtiqueta;             // the code that is picked and searched by code
    QList<ColunaLista> colunas;        // the first is the row's text, then sub-items 1 to n
    QString legendaOpt0;               // the code search option
    QString legendaOpt1;               // the text search option
    QString cabecalhoErro;             // heading of the box when the source cannot be read
};

// One row as read: the stored values of the tag and of each column's field,
// packed in one block. The texts shown are made only when asked for: a list of
// 50,000 vehicles held as texts would take some 75 MB.
class LinhaLista
{
public:
    void acrescentar(const QVariant& valor);
    // Value i: 0 is the tag, 1 to n the columns (a database Null as a null QVariant of its type).
    QVariant valor(int i) const;

private:
    QByteArray m_dados;
};

namespace ConteudoListas {

// The list a title names, compared exactly; nullptr for any other text.
const DefinicaoLista* definicao(const QString& titulo);

// The text column `coluna` shows for a row (0: the row's text, then the sub-items).
QString texto(const DefinicaoLista& lista, const LinhaLista& linha, int coluna, const Relogio& relogio);
// The row's tag (the code that is picked) as text.
QString etiqueta(const LinhaLista& linha);

// Reads every row of the list's source, in the order stored, into `linhas`.
// A failure throws Erro and ends the reading there; the rows read until then
// stay in `linhas`. A value that cannot be shown (a weight beyond 32 bits, a
// date that is none) is a failure of the reading, found here and not when
// the row is drawn.
void lerLinhas(const QSqlDatabase& db, const DefinicaoLista& lista, const Relogio& relogio, QList<LinhaLista>& linhas);

}  // namespace ConteudoListas
