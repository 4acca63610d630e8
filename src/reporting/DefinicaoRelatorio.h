#pragma once

#include "reporting/FormulaSeleccao.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// One column of a listing: what it shows, its heading, its share of the line
// and how its text sits in it.
struct ColunaListagem
{
    QString campo;       // a field of the table; in a totals-only report "valor", "n" or "liquido" of each group
    QString titulo;      // the heading, a Mustache text ({{subtitulo}} and the like)
    double largura = 0;  // per cent of the line
    Qt::Alignment alinhamento = Qt::AlignLeft;
};

// One report definition of the program's folder: a file named as the report
// (such as doc_pri.rpt) holding a short header of "key = value" lines, a line
// "---", and a Mustache HTML template. The partials that templates share
// ("{{> name}}") are the files partials/<name>.mustache beside it.
//
// Two kinds of report:
// - a document (no `colunas`): the template lays out the rows whole, one
//   weighing a page for the weighing documents;
// - a listing (with `colunas`): the rows are laid out page by page in the
//   columns of partials/<colunas>.colunas, with the groups and totals the
//   keys ask for; the template is the heading of the first page.
//
// Header keys (lines starting with '#' are comments):
//   titulo              the heading ({{titulo}})
//   subtitulo           a second heading or stamp ({{subtitulo}}), optional
//   tabela              the table whose rows it lays out
//   filtro              a fixed selection, in the selection-formula language,
//                       joined with the caller's formula; optional
//   ordem               fields, each optionally followed by "desc", comma-separated
//   orientacao          "retrato" or "paisagem"
//   pagina_por_registo  "sim" when each row is a document of its own
//   pesos               whole-number fields shown as weights ("12 500 kg")
// Listings only:
//   numerar_paginas     "sim" for "Página n de m" at the foot of each page
//   colunas             the columns: partials/<name>.colunas, one a line,
//                       "field | heading | width in per cent | esquerda, centro or direita"
//   grupo               a text field the rows are grouped on, each group
//                       with its count and net weight; optional
//   detalhe             "nao" when a grouped report shows one line a group
//   grafico             "sim" for a bar chart of each group's net weight
//   total_grupo         the line under each group's rows ({{valor}}, {{n}}, {{liquido}})
//   total_geral         the grand total's text ({{total_n}}, {{total_liquido}}); with no
//                       `grupo` nor this key a listing has no total
//   sem_registos        what a listing with no row says
// Table and field names (those of the fixed selection too) are checked
// against the schema, and every tag of a template against what the report
// offers, so a mistake is found when the definition is loaded, not by a blank
// on paper.
struct DefinicaoRelatorio
{
    QString nome;  // the file's name
    QString titulo;
    QString subtitulo;
    QString tabela;
    FormulaSeleccao::Clausula filtro;       // the fixed selection; empty when none
    QList<std::pair<QString, bool>> ordem;  // field and descending
    bool paisagem = false;
    bool paginaPorRegisto = false;
    bool numerarPaginas = false;
    QStringList pesos;
    QString grupo;        // empty when the rows are not grouped
    bool detalhe = true;  // the rows themselves are laid out
    bool grafico = false;
    QList<ColunaListagem> colunas;  // empty for a document
    QString totalGrupo;
    QString totalGeral;
    QString semRegistos;
    QSet<QString> etiquetas;          // the names its template and partials use
    QString modelo;                   // the Mustache HTML
    QMap<QString, QString> parciais;  // by name

    bool listagem() const { return !colunas.isEmpty(); }

    // The values of the company row 1 every template may show as
    // {{empresa.x}}: each name with the field of Empresas it shows.
    static const QList<std::pair<QString, QString>>& camposEmpresa();
    // The names every template may use besides the company's.
    static const QStringList& nomesGerais();

    enum class Falha { Nenhuma, EmFalta, Invalida };

    // Reads and checks a definition; on failure says whether it is missing
    // (or unreadable) or not a valid definition, and why.
    static std::optional<DefinicaoRelatorio> carregar(const QString& caminho, Falha* falha = nullptr,
                                                      QString* motivo = nullptr);
};
