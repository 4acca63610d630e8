#include "platform/PermissaoEscrita.h"

#include <QByteArray>
#include <QList>
#include <QtEndian>
#include <grp.h>
#include <pwd.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

// The groups of a user: its own and those the user database lists it in.
QList<gid_t> gruposDe(uid_t uid)
{
    QByteArray memoria(16384, '\0');
    passwd pw{};
    passwd* achado = nullptr;
    if (::getpwuid_r(uid, &pw, memoria.data(), size_t(memoria.size()), &achado) != 0 || !achado)
        return {};
    QList<gid_t> grupos(16);
    for (;;) {
        int n = int(grupos.size());
        if (::getgrouplist(pw.pw_name, pw.pw_gid, grupos.data(), &n) >= 0) {
            grupos.resize(n);
            return grupos;
        }
        grupos.resize(qMax(n, int(grupos.size()) * 2));
    }
}

// An access control list as the system stores it: a version, then entries of
// a tag, the permissions and the user or group they name.
struct EntradaLista
{
    quint16 tag;
    quint16 permissoes;
    quint32 id;
};
constexpr quint16 DonoTag = 0x01, UtilizadorTag = 0x02, GrupoDonoTag = 0x04, GrupoTag = 0x08, MascaraTag = 0x10,
                  OutrosTag = 0x20;
constexpr quint16 Escrita = 2;

QList<EntradaLista> listaAcesso(int fd)
{
    QByteArray valor(4096, '\0');
    const ssize_t n = ::fgetxattr(fd, "system.posix_acl_access", valor.data(), size_t(valor.size()));
    if (n < 4 || qFromLittleEndian<quint32>(valor.constData()) != 2 || (n - 4) % 8 != 0)
        return {};
    QList<EntradaLista> entradas;
    for (ssize_t i = 4; i < n; i += 8) {
        const char* e = valor.constData() + i;
        entradas.append({qFromLittleEndian<quint16>(e), qFromLittleEndian<quint16>(e + 2),
                         qFromLittleEndian<quint32>(e + 4)});
    }
    return entradas;
}

bool porLista(const QList<EntradaLista>& lista, uid_t uid, const struct stat& estado)
{
    quint16 mascara = 7;
    for (const EntradaLista& e : lista) {
        if (e.tag == MascaraTag)
            mascara = e.permissoes;
    }
    for (const EntradaLista& e : lista) {
        if (e.tag == DonoTag && uid == estado.st_uid)
            return e.permissoes & Escrita;
    }
    for (const EntradaLista& e : lista) {
        if (e.tag == UtilizadorTag && e.id == uid)
            return e.permissoes & mascara & Escrita;
    }
    // Any group of the user's that the list names decides; none, the others' entry.
    const QList<gid_t> grupos = gruposDe(uid);
    bool grupoNomeado = false;
    for (const EntradaLista& e : lista) {
        const bool doGrupo = (e.tag == GrupoDonoTag && grupos.contains(estado.st_gid))
                             || (e.tag == GrupoTag && grupos.contains(gid_t(e.id)));
        if (doGrupo && (e.permissoes & mascara & Escrita))
            return true;
        grupoNomeado = grupoNomeado || doGrupo;
    }
    for (const EntradaLista& e : lista) {
        if (e.tag == OutrosTag && !grupoNomeado)
            return e.permissoes & Escrita;
    }
    return false;
}

}  // namespace

bool utilizadorPodeEscrever(uid_t uid, int fd, const struct stat& estado)
{
    if (uid == 0)
        return true;
    if (const QList<EntradaLista> lista = listaAcesso(fd); !lista.isEmpty())
        return porLista(lista, uid, estado);
    if (uid == estado.st_uid)
        return estado.st_mode & S_IWUSR;
    if (gruposDe(uid).contains(estado.st_gid))
        return estado.st_mode & S_IWGRP;
    return estado.st_mode & S_IWOTH;
}
