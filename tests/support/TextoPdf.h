#pragma once

#include <QString>

// What a PDF file says, read by poppler-utils: its page count (pdfinfo) and
// its text laid out as on the page (pdftotext -layout), in compatibility
// forms, so the weights' no-break spaces read as plain ones and "ﬁ" as "fi".
namespace TextoPdf {

// Both programs are installed.
bool disponivel();
int paginas(const QString& pdf);
// The text of one page (from 1), or of all with 0; empty when it cannot be read.
QString texto(const QString& pdf, int pagina = 0);

}  // namespace TextoPdf
