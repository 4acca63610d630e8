#include "platform/ficheiros/PermissoesCopia.h"

#include "platform/ficheiros/ListaAcesso.h"

#include <QList>
#include <QMap>
#include <cerrno>
#include <unistd.h>

namespace {

// The access control list of a copy beside the file: whoever may read or
// write the file, by any entry of its list or mode, gets the same on the
// copy, the file's owner (a named user of the copy's, as its maker owns it)
// and group included; its maker reads and writes it; nobody else gets
// anything. No one may run it. `doFicheiro` is the file's own list (empty:
// its mode says it all).
QList<ListaAcesso::Entrada> listaDaCopia(QList<ListaAcesso::Entrada> doFicheiro, const struct stat& estado,
                                         uid_t criador, gid_t grupoCopia)
{
    using namespace ListaAcesso;
    if (doFicheiro.isEmpty())
        doFicheiro = doModo(estado.st_mode);
    const quint16 mascara = ListaAcesso::mascara(doFicheiro);
    const auto semExecucao = [](quint16 p) { return quint16(p & (ListaAcesso::Leitura | ListaAcesso::Escrita)); };
    QMap<quint32, quint16> utilizadores, grupos;
    quint16 dono = 0, outros = 0;
    for (const Entrada& e : doFicheiro) {
        const quint16 p = semExecucao(e.permissoes & mascara);
        switch (e.tag) {
        case Dono: dono = semExecucao(e.permissoes); break;
        case Utilizador: utilizadores[e.id] |= p; break;
        case GrupoDono: grupos[estado.st_gid] |= p; break;
        case Grupo: grupos[e.id] |= p; break;
        case Outros: outros = semExecucao(e.permissoes); break;
        default: break;
        }
    }
    utilizadores[estado.st_uid] = dono;
    utilizadores.remove(criador);
    const quint16 grupoDono = grupos.take(grupoCopia);
    QList<Entrada> lista{{Dono, quint16(ListaAcesso::Leitura | ListaAcesso::Escrita)}, {GrupoDono, grupoDono},
                         {Outros, outros}};
    quint16 classeGrupo = grupoDono;
    for (auto u = utilizadores.cbegin(); u != utilizadores.cend(); ++u) {
        lista.append({Utilizador, u.value(), u.key()});
        classeGrupo |= u.value();
    }
    for (auto g = grupos.cbegin(); g != grupos.cend(); ++g) {
        lista.append({Grupo, g.value(), g.key()});
        classeGrupo |= g.value();
    }
    if (lista.size() > 3)
        lista.append({Mascara, classeGrupo});
    return lista;
}

}  // namespace

namespace PermissoesCopia {

// The file's group where this user may give it, and an access control list
// by which whoever may read the file may read the copy (see listaDaCopia).
// A file system without such lists gets the file's mode, never more than
// it gives: a group this user may not give leaves the copy its own, with no
// more right than others have; a file whose list names users or groups,
// which no mode can say, gets no copy there.
int dar(int copia, int ficheiro, const struct stat& estado)
{
    struct stat st
    {
    };
    if (::fstat(copia, &st) != 0)
        return errno;
    // A file's list that cannot be read gives nobody anything by a guess: no copy.
    QList<ListaAcesso::Entrada> doFicheiro;
    if (const int e = ListaAcesso::ler(ficheiro, doFicheiro))
        return e;
    const bool grupo = st.st_gid == estado.st_gid || ::fchown(copia, uid_t(-1), estado.st_gid) == 0;
    const int e = ListaAcesso::escrever(
        copia, listaDaCopia(doFicheiro, estado, st.st_uid, grupo ? estado.st_gid : st.st_gid));
    if (e != ENOTSUP)
        return e;
    if (doFicheiro.size() > 3)
        return ENOTSUP;
    mode_t modo = estado.st_mode & 0666;
    if (!grupo)
        modo = (modo & 0606) | ((modo & 06) << 3);
    return ::fchmod(copia, modo) == 0 ? 0 : errno;
}

}  // namespace PermissoesCopia
