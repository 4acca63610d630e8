#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
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

// One row: its columns as shown (the text, then sub-items 1 to n) and its tag.
struct LinhaLista
{
    QStringList colunas;
    QString etiqueta;

    const QString& texto() const { return colunas.at(0); }
    QString subItem(int n) const { return colunas.value(n); }
};

namespace ConteudoListas {

// The list a title names, compared exactly; nullptr for any other text.
const DefinicaoLista* definicao(const QString& titulo);

// Reads every row of the list's source, in the order stored, into `linhas`.
// A failure throws Erro and ends the reading there; the rows read until then
// stay in `linhas`.
void lerLinhas(const QSqlDatabase& db, const DefinicaoLista& lista, const Relogio& relogio, QList<LinhaLista>& linhas);

}  // namespace ConteudoListas
