#pragma once

#include "platform/Relatorio.h"

#include <QString>

class Estacao;
struct Definicoes;

// The weighing documents: which report definition lays out a row of each
// kind, how many copies the settings give it, and the selection formulas
// that pick one row.
namespace Documentos {

inline const QString PrimeiraPesagem = QStringLiteral("doc_pri.rpt");  // kind 'P'
inline const QString Entrada = QStringLiteral("doc_seg_e.rpt");        // 'E'
inline const QString Guia = QStringLiteral("doc_seg_g.rpt");           // 'G'
inline const QString Talao = QStringLiteral("doc_seg_t.rpt");          // 'T'
inline const QString SegundaViaEntrada = QStringLiteral("doc_sgv_e.rpt");
inline const QString SegundaViaGuia = QStringLiteral("doc_sgv_g.rpt");
inline const QString SegundaViaTalao = QStringLiteral("doc_sgv_t.rpt");
inline const QString Anulada = QStringLiteral("doc_anu.rpt");  // 'A'

// The document of a stored row by its kind, compared exactly: 'P', 'E', 'G'
// or 'T'; the empty text for any other kind.
QString ficheiroDocumento(const QString& tipo);

// The copies the settings give a kind after a save, and whether that count
// is printed at all: 'P' unless 0, the others when above 0.
struct Copias
{
    qint16 quantidade = 0;
    bool imprime = false;
};
Copias copiasDocumento(const QString& tipo, const Definicoes& def);

// The document a grid row previews by its kind: the second copy of 'E', 'G'
// and 'T', the first-weighing ticket of 'P', the cancellation of 'A'; the
// empty text for any other kind.
QString ficheiroVisualizacao(const QString& tipo);

// "{Pesagens.Pesagem} = 57"
QString FormulaPesagem(qint64 Pesagem);
// "{Pesagens.Tipo de pesagem} = 'P' and {Pesagens.Pesagem} = 57"
QString FormulaTipoPesagem(const QString& tipo, qint64 Pesagem);

// The station's error box for a document that did not print ("O documento
// não foi impresso", the reason, "Erro 482"), for the report printer to
// call, now or when the print system answers: it holds only the station.
AvisoFalha avisoImpressao(Estacao& estacao);

// Prints the document `ficheiro` of the program's folder for row `pesagem`
// (FormulaPesagem) on the printer with these copies, and remembers the row as
// the last document printed: UltimoDocPesagem in the settings record before
// the run is asked, and in the settings file just after, whatever becomes of
// it; it never waits for the print system's answer. A failed run or write is
// logged under the name of the routine that asked; a print that failed is
// told in the box of avisoImpressao, never before the settings file holds
// the document.
void imprimirERegistar(Estacao& estacao, const QString& ficheiro, qint32 pesagem, qint16 copias, const char* rotina);

}  // namespace Documentos
