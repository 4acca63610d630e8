#pragma once

#include <QString>

// What a PDF file says, read by poppler-utils, in compatibility forms (the
// weights' no-break spaces read as plain ones, "ﬁ" as "fi").
namespace TextoPdf {

// Both programs (pdfinfo, pdftotext) are installed.
bool disponivel();
// Its page count; -1 when it cannot be read.
int paginas(const QString& pdf);
// The text of one page (from 1), or of all with 0, laid out as on paper.
QString texto(const QString& pdf, int pagina = 0);

}  // namespace TextoPdf
