#pragma once

#include <QPageLayout>

class QString;
class QTextDocument;

// How the station's reports are laid out on paper, for documents and
// listings alike, on the printer, in a PDF and in the previews.

// The station's page: A4 with its margins, in the orientation given.
QPageLayout folhaDaEstacao(bool paisagem);

// A document laid out the same on every machine: the station's font (DejaVu
// Sans 9.5 points) and no margin of its own.
void prepararDocumento(QTextDocument& documento, const QString& html);

// Dots an inch of paper: the resolution of a PDF, and of what is laid out as
// it will be printed.
constexpr int ResolucaoPapel = 1200;
