#include "platform/ficheiros/PermissoesCopia.h"

#include "platform/ficheiros/ListaAcesso.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QList>
#include <QMap>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace {

using ListaAcesso::Entrada;

// What a copy gives: reading and writing, never running.
quint16 semExecucao(quint16 p)
{
    return quint16(p & (ListaAcesso::Leitura | ListaAcesso::Escrita));
}

// What the copy gives a user (`naCopia`) lets him read exactly where the
// file (`noFicheiro`) does, and write no more than it.
bool igual(quint16 naCopia, quint16 noFicheiro)
{
    return (naCopia & ListaAcesso::Leitura) == (noFicheiro & ListaAcesso::Leitura)
           && (naCopia & ~noFicheiro & ListaAcesso::Escrita) == 0;
}

// The groups whose members the file's list lets in by a group entry: its own group, then those it names.
QList<gid_t> gruposDoFicheiro(const QList<Entrada>& lista, gid_t grupo)
{
    QList<gid_t> grupos{grupo};
    for (const Entrada& e : lista) {
        if (e.tag == ListaAcesso::Grupo && !grupos.contains(gid_t(e.id)))
            grupos << gid_t(e.id);
    }
    return grupos;
}

// This process may give a file it owns the group `g`.
bool podeDar(gid_t g)
{
    if (::geteuid() == 0 || ::getegid() == g)
        return true;
    QList<gid_t> meus(::getgroups(0, nullptr));
    return ::getgroups(int(meus.size()), meus.data()) >= 0 && meus.contains(g);
}

// The copy (`estado` its status, as made) takes one of the file's groups
// where this process may give it one: its own group, or one the file's list
// names. The group it has then.
gid_t darGrupo(int copia, const struct stat& estado, const QList<gid_t>& doFicheiro)
{
    if (doFicheiro.contains(estado.st_gid))
        return estado.st_gid;
    for (const gid_t g : doFicheiro) {
        if (podeDar(g) && ::fchown(copia, uid_t(-1), g) == 0)
            return g;
    }
    return estado.st_gid;
}

// The access control list of a copy beside the file: whoever may read or
// write the file, by any entry of its list or mode, gets the same on the
// copy, the file's owner (a named user of the copy's, as its maker owns it)
// and group included; its maker reads and writes it; nobody else gets
// anything. No one may run it. `doFicheiro` is the file's own list (empty:
// its mode says it all). The copy's group (`grupoCopia`) is one the file's
// list lets in, or one it does not name: its members then read as others
// read the file, which fits only where every group the file lets in may
// read as much (else none: no list says it).
std::optional<QList<Entrada>> listaDaCopia(QList<Entrada> doFicheiro, const struct stat& estado, uid_t criador,
                                           gid_t grupoCopia)
{
    using namespace ListaAcesso;
    if (doFicheiro.isEmpty())
        doFicheiro = doModo(estado.st_mode);
    const quint16 mascara = ListaAcesso::mascara(doFicheiro);
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
    quint16 grupoDono = outros;
    if (grupos.contains(grupoCopia)) {
        grupoDono = grupos.take(grupoCopia);
    } else {
        // A member of the copy's group and of one the file lets in gets both
        // entries on the copy: what others read, every group must read; the
        // writing goes where a group may not write.
        for (const quint16 p : std::as_const(grupos)) {
            if ((outros & ListaAcesso::Leitura) && !(p & ListaAcesso::Leitura))
                return std::nullopt;
            if (!(p & ListaAcesso::Escrita))
                grupoDono &= quint16(~ListaAcesso::Escrita);
        }
    }
    QList<Entrada> lista{{Dono, quint16(Leitura | Escrita)}, {GrupoDono, grupoDono}, {Outros, outros}};
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

// The mode of a copy on a file system without access control lists, where
// one says exactly who may read the file: its maker reads and writes it;
// the copy's group (`grupoCopia`) gets the group's bits where it is the
// file's group, else the others' (which must then be the group's too); the
// file's owner gets, as a member of the copy's group or as one of the
// others, what he gets on the file. None where no mode says it.
std::optional<mode_t> modoDaCopia(const struct stat& estado, uid_t criador, gid_t grupoCopia)
{
    const auto bits = [&](int deslocamento) { return semExecucao(quint16((estado.st_mode >> deslocamento) & 7)); };
    const quint16 dono = bits(6), grupo = bits(3), outros = bits(0);
    const bool doGrupo = grupoCopia == estado.st_gid;
    if (!doGrupo && !igual(outros, grupo))
        return std::nullopt;
    const quint16 grupoCopiaBits = doGrupo ? grupo : outros;
    if (estado.st_uid != criador) {
        const bool membro = Utilizadores::grupos(estado.st_uid).contains(grupoCopia);
        if (!igual(membro ? grupoCopiaBits : outros, dono))
            return std::nullopt;
    }
    return mode_t(0600 | (grupoCopiaBits << 3) | outros);
}

}  // namespace

namespace PermissoesCopia {

int dar(int copia, int ficheiro, const struct stat& estado)
{
    struct stat st
    {
    };
    if (::fstat(copia, &st) != 0)
        return errno;
    // A file's list that cannot be read gives nobody anything by a guess: no copy.
    QList<Entrada> doFicheiro;
    if (const int e = ListaAcesso::ler(ficheiro, doFicheiro))
        return e;
    const gid_t grupo = darGrupo(copia, st, gruposDoFicheiro(doFicheiro, estado.st_gid));
    const std::optional<QList<Entrada>> lista = listaDaCopia(doFicheiro, estado, st.st_uid, grupo);
    if (!lista)
        return ENOTSUP;
    if (const int e = ListaAcesso::escrever(copia, *lista); e != ENOTSUP)
        return e;
    // A file system without lists: a file whose own list names users or groups has no mode that says it.
    const std::optional<mode_t> modo = doFicheiro.size() > 3 ? std::nullopt : modoDaCopia(estado, st.st_uid, grupo);
    if (!modo)
        return ENOTSUP;
    return ::fchmod(copia, *modo) == 0 ? 0 : errno;
}

}  // namespace PermissoesCopia
