#include "platform/ficheiros/DescricaoEntrada.h"

#include "platform/ficheiros/Utilizadores.h"

namespace DescricaoEntrada {

QString tipo(mode_t modo)
{
    if (S_ISDIR(modo))
        return QStringLiteral("uma pasta");
    if (S_ISLNK(modo))
        return QStringLiteral("uma ligação simbólica");
    if (S_ISSOCK(modo))
        return QStringLiteral("um socket");
    if (S_ISFIFO(modo))
        return QStringLiteral("um FIFO");
    if (S_ISCHR(modo) || S_ISBLK(modo))
        return QStringLiteral("um dispositivo");
    return QStringLiteral("um ficheiro");
}

QString tipoEDono(const struct stat& estado)
{
    return tipo(estado.st_mode) + QStringLiteral(", de ") + Utilizadores::nome(estado.st_uid);
}

}  // namespace DescricaoEntrada
