#include "platform/ficheiros/Utilizadores.h"

#include <QByteArray>
#include <grp.h>
#include <pwd.h>

namespace {

bool entrada(uid_t uid, passwd& pw, QByteArray& memoria)
{
    memoria.resize(16384);
    passwd* achado = nullptr;
    return ::getpwuid_r(uid, &pw, memoria.data(), size_t(memoria.size()), &achado) == 0 && achado;
}

}  // namespace

namespace Utilizadores {

QString nome(uid_t uid)
{
    passwd pw{};
    QByteArray memoria;
    return entrada(uid, pw, memoria) ? QString::fromLocal8Bit(pw.pw_name) : QString::number(uid);
}

QList<gid_t> grupos(uid_t uid)
{
    passwd pw{};
    QByteArray memoria;
    if (!entrada(uid, pw, memoria))
        return {};
    QList<gid_t> lista(16);
    for (;;) {
        int n = int(lista.size());
        if (::getgrouplist(pw.pw_name, pw.pw_gid, lista.data(), &n) >= 0) {
            lista.resize(n);
            return lista;
        }
        lista.resize(qMax(n, int(lista.size()) * 2));
    }
}

}  // namespace Utilizadores
