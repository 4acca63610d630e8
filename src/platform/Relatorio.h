#pragma once

#include "platform/Erro.h"

#include <QString>
#include <functional>

class QObject;

// One request to the report printer: the report definition file, the rows it
// selects, where it goes and how many copies.
struct PedidoRelatorio
{
    QString FicheiroRelatorio;  // full path: the program's folder and the file's name
    QString FormulaSeleccao;    // the selection formula; the empty text selects every row
    int Destino = 0;            // 0 = a preview window, 1 = the printer
    qint16 Copias = 1;          // copies for the printer; below 1 nothing is printed
    QString TituloJanela;       // the preview window's title
    int Esquerda = 0;           // the preview window's position
    int Topo = 0;
    int EstadoJanela = 0;  // 2 = maximised
};

// Whom a run tells when it fails to print, so the routine or window that
// asked can say why: `avisar` gets the run's status and the failure, in the
// station's thread. A document written as a PDF tells before
// ExecutarRelatorio returns; one for the printer tells when the print
// system answers (its other failures, a missing definition say, are only
// logged). A long report tells when it fails after it started, or when a
// page of its preview cannot be drawn (once a preview). With `contexto`, it
// tells only while `contexto` lives; without it, `avisar` may be called
// after the routine that asked has returned, so it holds nothing of that
// routine's. A run shown, printed or cancelled tells nothing.
struct AvisoFalha
{
    const QObject* contexto = nullptr;
    std::function<void(int estado, const Erro& falha)> avisar;
};

// The station's one report printer: every document, listing and report goes
// through it, one request at a time.
class ImpressoraRelatorios
{
public:
    virtual ~ImpressoraRelatorios() = default;

    // Runs a request and returns its status: 0 when it was carried out; a
    // print for the printer, and a long report (checked, then made while the
    // station goes on), answer EmCurso (how it ends goes to the log). A
    // failure is told to `aviso`.
    virtual int ExecutarRelatorio(const PedidoRelatorio& pedido, const AvisoFalha& aviso = {}) = 0;
};

// Where a request goes.
namespace DestinoRelatorio {
constexpr int Janela = 0;      // the preview window
constexpr int Impressora = 1;  // the printer
}  // namespace DestinoRelatorio

// States of the preview window.
namespace EstadoJanelaRelatorio {
constexpr int Normal = 0;
constexpr int Minimizada = 1;
constexpr int Maximizada = 2;
}  // namespace EstadoJanelaRelatorio

// The statuses a run returns. Callers keep them without testing them; they
// say why nothing came out.
namespace EstadoRelatorio {
constexpr int Executado = 0;          // done, also "fewer than one copy: nothing to print"
constexpr int DefinicaoEmFalta = 1;   // the definition file is missing or unreadable
constexpr int DefinicaoInvalida = 2;  // the definition is not one of ours, or is wrong
constexpr int FormulaRecusada = 3;    // the selection formula is not one the station makes
constexpr int ErroBaseDados = 4;      // the rows could not be read
constexpr int FalhaImpressao = 5;     // the PDF file, the print's own file or the print system failed
constexpr int DestinoDesconhecido = 6;
constexpr int SemRegistos = 7;  // a document with no row: nothing printed
constexpr int EmCurso = 8;      // a long report started, or a print on its way to the printer: it ends later
constexpr int Cancelado = 9;    // the operator cancelled it: nothing printed, no file
}  // namespace EstadoRelatorio

// The number a failure of the printer or of a PDF file carries into the
// boxes: it is none of the database's (SQLite's result codes) nor the
// station's own, so the technician, and the engine itself, tell at once a
// failure on the paper's side from one of the rows.
constexpr int ErroImpressora = 482;

// The heading of the station's error box for a document that did not print
// (the failure's reason follows it, in parentheses).
inline const QString DocumentoNaoImpresso = QStringLiteral("O documento não foi impresso");
