#pragma once

#include <QString>

// The five parties of a weighing entered as a code and a name on the weighing
// screen, each with its code table, and the texts and focus moves of its
// look-up (Enter in the code) and of its save (Enter in the name).
struct MembroReferencia
{
    QString tabela;            // table of the codes
    QString campoCodigo;       // its key, Text 8
    QString campoNome;         // its name, Text 40
    int caixaCodigo;           // entry field of the code
    int caixaNome;             // entry field of the name
    QString titulo;            // title of the questions
    QString linhaInexistente;  // first line when the code is missing and may be made
    QString linhaRecusa;       // second line when the code is missing and may not be made
    QString perguntaNovo;      // question before a new code is stored
    QString cabecalhoErro;     // heading of a failed save
    int seguinteConsulta;      // field that gets the focus after a code found
    int seguinteGravacao;      // field that gets the focus after the save routine
};

namespace MembrosReferencia {

// The member whose code or name is that entry field; nullptr for other fields.
const MembroReferencia* doCampo(int caixa);

}  // namespace MembrosReferencia
