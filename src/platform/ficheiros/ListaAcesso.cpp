#include "platform/ficheiros/ListaAcesso.h"

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <cerrno>
#include <sys/xattr.h>

namespace {
constexpr const char* Atributo = "system.posix_acl_access";
constexpr quint32 Versao = 2;
}  // namespace

namespace ListaAcesso {

QList<Entrada> ler(int fd)
{
    QByteArray valor(4096, '\0');
    const ssize_t n = ::fgetxattr(fd, Atributo, valor.data(), size_t(valor.size()));
    if (n < 4 || qFromLittleEndian<quint32>(valor.constData()) != Versao || (n - 4) % 8 != 0)
        return {};
    QList<Entrada> entradas;
    for (ssize_t i = 4; i < n; i += 8) {
        const char* e = valor.constData() + i;
        entradas.append({qFromLittleEndian<quint16>(e), qFromLittleEndian<quint16>(e + 2),
                         qFromLittleEndian<quint32>(e + 4)});
    }
    return entradas;
}

QList<Entrada> doModo(mode_t modo)
{
    return {{Dono, quint16((modo >> 6) & 7)}, {GrupoDono, quint16((modo >> 3) & 7)}, {Outros, quint16(modo & 7)}};
}

int escrever(int fd, QList<Entrada> entradas)
{
    // By tag, and named entries by their user or group.
    std::sort(entradas.begin(), entradas.end(), [](const Entrada& a, const Entrada& b) {
        return a.tag != b.tag ? a.tag < b.tag : a.id < b.id;
    });
    QByteArray valor(4 + 8 * entradas.size(), '\0');
    qToLittleEndian<quint32>(Versao, valor.data());
    for (qsizetype i = 0; i < entradas.size(); ++i) {
        char* e = valor.data() + 4 + 8 * i;
        const bool nomeada = entradas[i].tag == Utilizador || entradas[i].tag == Grupo;
        qToLittleEndian<quint16>(entradas[i].tag, e);
        qToLittleEndian<quint16>(entradas[i].permissoes, e + 2);
        qToLittleEndian<quint32>(nomeada ? entradas[i].id : quint32(-1), e + 4);
    }
    return ::fsetxattr(fd, Atributo, valor.constData(), size_t(valor.size()), 0) == 0 ? 0 : errno;
}

quint16 permissoesDe(const QList<Entrada>& lista, uid_t uid, const QList<gid_t>& grupos, uid_t dono, gid_t grupoDono)
{
    quint16 mascara = 7;
    for (const Entrada& e : lista) {
        if (e.tag == Mascara)
            mascara = e.permissoes;
    }
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
