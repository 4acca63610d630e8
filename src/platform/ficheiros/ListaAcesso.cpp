#include "platform/ficheiros/ListaAcesso.h"

#include <QScopeGuard>
#include <acl/libacl.h>
#include <cerrno>
#include <sys/acl.h>
#include <utility>

namespace {

// The errno of a failed call; never 0, so a failure is never taken for success.
int falha()
{
    return errno != 0 ? errno : EIO;
}

// The system's permissions and ours.
constexpr std::pair<acl_perm_t, quint16> Permissoes[] = {{ACL_READ, ListaAcesso::Leitura},
                                                         {ACL_WRITE, ListaAcesso::Escrita},
                                                         {ACL_EXECUTE, ListaAcesso::Execucao}};

}  // namespace

namespace ListaAcesso {

int ler(int fd, QList<Entrada>& entradas)
{
    entradas.clear();
    const acl_t lista = ::acl_get_fd(fd);
    if (!lista)
        return errno == ENOTSUP || errno == ENOSYS ? 0 : falha();
    const auto libertar = qScopeGuard([&] { ::acl_free(lista); });
    acl_entry_t e;
    int r = ::acl_get_entry(lista, ACL_FIRST_ENTRY, &e);
    for (; r == 1; r = ::acl_get_entry(lista, ACL_NEXT_ENTRY, &e)) {
        acl_tag_t tag = ACL_UNDEFINED_TAG;
        acl_permset_t permissoes;
        if (::acl_get_tag_type(e, &tag) != 0 || ::acl_get_permset(e, &permissoes) != 0)
            return falha();
        Entrada entrada{quint16(tag), 0};
        for (const auto& [sistema, nossa] : Permissoes) {
            const int tem = ::acl_get_perm(permissoes, sistema);
            if (tem < 0)
                return falha();
            if (tem == 1)
                entrada.permissoes |= nossa;
        }
        if (tag == ACL_USER || tag == ACL_GROUP) {
            void* qualificador = ::acl_get_qualifier(e);
            if (!qualificador)
                return falha();
            entrada.id = *static_cast<const id_t*>(qualificador);
            ::acl_free(qualificador);
        }
        entradas.append(entrada);
    }
    if (r < 0) {
        entradas.clear();
        return falha();
    }
    return 0;
}

QList<Entrada> doModo(mode_t modo)
{
    return {{Dono, quint16((modo >> 6) & 7)}, {GrupoDono, quint16((modo >> 3) & 7)}, {Outros, quint16(modo & 7)}};
}

int escrever(int fd, const QList<Entrada>& entradas)
{
    acl_t lista = ::acl_init(int(entradas.size()));
    if (!lista)
        return falha();
    const auto libertar = qScopeGuard([&] { ::acl_free(lista); });
    for (const Entrada& e : entradas) {
        acl_entry_t entrada;
        acl_permset_t permissoes;
        if (::acl_create_entry(&lista, &entrada) != 0 || ::acl_set_tag_type(entrada, acl_tag_t(e.tag)) != 0
            || ::acl_get_permset(entrada, &permissoes) != 0 || ::acl_clear_perms(permissoes) != 0)
            return falha();
        for (const auto& [sistema, nossa] : Permissoes) {
            if ((e.permissoes & nossa) && ::acl_add_perm(permissoes, sistema) != 0)
                return falha();
        }
        if (::acl_set_permset(entrada, permissoes) != 0)
            return falha();
        if (e.tag == Utilizador || e.tag == Grupo) {
            const id_t id = e.id;
            if (::acl_set_qualifier(entrada, &id) != 0)
                return falha();
        }
    }
    return ::acl_set_fd(fd, lista) == 0 ? 0 : falha();
}

quint16 mascara(const QList<Entrada>& lista)
{
    for (const Entrada& e : lista) {
        if (e.tag == Mascara)
            return e.permissoes;
    }
    return 7;
}

quint16 permissoesDe(const QList<Entrada>& lista, uid_t uid, const QList<gid_t>& grupos, uid_t dono, gid_t grupoDono)
{
    const quint16 mascara = ListaAcesso::mascara(lista);
    for (const Entrada& e : lista) {
        if (e.tag == Dono && uid == dono)
            return e.permissoes;
    }
    for (const Entrada& e : lista) {
        if (e.tag == Utilizador && e.id == uid)
            return e.permissoes & mascara;
    }
    // The groups of the user's that the list names give what any of them gives; none, the others' entry.
    bool grupoNomeado = false;
    quint16 doGrupo = 0;
    for (const Entrada& e : lista) {
        if ((e.tag == GrupoDono && grupos.contains(grupoDono)) || (e.tag == Grupo && grupos.contains(gid_t(e.id)))) {
            grupoNomeado = true;
            doGrupo |= e.permissoes & mascara;
        }
    }
    if (grupoNomeado)
        return doGrupo;
    for (const Entrada& e : lista) {
        if (e.tag == Outros)
            return e.permissoes;
    }
    return 0;
}

}  // namespace ListaAcesso
