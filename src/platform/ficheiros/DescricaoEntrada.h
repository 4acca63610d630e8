#pragma once

#include <QByteArray>
#include <QString>
#include <sys/stat.h>

// What an entry of a folder is and whose, for the operator's box: "uma
// pasta, de joana". A refusal that meets an entry this station did not make
// names it so, that a technician knows what to look at and whom to ask.
namespace DescricaoEntrada {

// Its kind: "um ficheiro", "uma pasta", "uma ligação simbólica", "um FIFO"...
QString tipo(mode_t modo);

// Its kind and its owner.
QString tipoEDono(const struct stat& estado);

// "Há na pasta /srv/posto uma entrada Lorvane.ini (um FIFO, de joana)", its
// kind and owner left out when they are not known (`estado` null); the
// caller says what is wrong with it.
QString naPasta(const QByteArray& pasta, const QByteArray& nome, const struct stat* estado);

// "Sem permissão para ler [Permission denied]", for a refused reading (`e`).
QString semPermissaoLer(int e);

// What a box or the log may show of a text another user could choose (a
// save's mark, a process's name): no control characters or line breaks
// (each becomes '?'), at most `maximo` characters (the last one "…" when cut).
QString paraMostrar(const QString& texto, qsizetype maximo);
constexpr qsizetype NomeMaximo = 64;      // a user's, computer's or program's name
constexpr qsizetype CaminhoMaximo = 255;  // a folder's or file's name

}  // namespace DescricaoEntrada
