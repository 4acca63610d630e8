#pragma once

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

}  // namespace DescricaoEntrada
