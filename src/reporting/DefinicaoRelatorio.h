#pragma once

#include "reporting/FormulaSeleccao.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

// One report definition of the program's folder: a file named as the report
// (such as doc_pri.rpt) holding a short header of "key = value" lines, a line
// "---", and the Mustache HTML template that lays the rows out. The partials
// that templates share ("{{> name}}") are the files partials/<name>.mustache
// beside it.
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
//   numerar_paginas     "sim" for "Página n de m" at the foot of each page
//   pesos               whole-number fields shown as weights ("12 500 kg")
//   grupo               a text field the rows are grouped on, each group with
//                       its count and net weight ({{#grupos}}); optional
//   detalhe             "nao" when a grouped report shows its totals only
//   grafico             "sim" for a bar chart of each group's net weight
// Table and field names (those of the fixed selection too) are checked
// against the schema, and every tag of the template against what the report
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
    QSet<QString> etiquetas;          // the names its template and partials use
    QString modelo;                   // the Mustache HTML
    QMap<QString, QString> parciais;  // by name

    // The values of the company row 1 every template may show as
    // {{empresa.x}}: each name with the field of Empresas it shows.
    static const QList<std::pair<QString, QString>>& camposEmpresa();
    // The names a template may use besides the table's fields.
    static const QStringList& nomesGerais();

    enum class Falha { Nenhuma, EmFalta, Invalida };

    // Reads and checks a definition; on failure says whether it is missing
    // (or unreadable) or not a valid definition, and why.
    static std::optional<DefinicaoRelatorio> carregar(const QString& caminho, Falha* falha = nullptr,
                                                      QString* motivo = nullptr);
};
