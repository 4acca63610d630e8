#include "platform/ficheiros/MarcaGravacao.h"

#include "platform/ficheiros/Descritor.h"

#include <QCryptographicHash>
#include <QList>
#include <cerrno>
#include <sys/xattr.h>

namespace {
constexpr QByteArrayView Versao = "zumarel 1";
}

bool MarcaGravacao::comMarcas = true;

QString MarcaGravacao::paraMostrar(const QString& campo, qsizetype maximo)
{
    const QList<uint> letras = campo.toUcs4();
    const bool cortado = letras.size() > maximo;
    const qsizetype n = cortado ? maximo - 1 : letras.size();
    QString r;
    for (qsizetype i = 0; i < n; ++i) {
        const char32_t c = letras[i];
        if (QChar::isPrint(c))
            r.append(QStringView(QChar::fromUcs4(c)));
        else
            r.append(u'?');
    }
    if (cortado)
        r.append(u'…');
    return r;
}

QByteArray MarcaGravacao::verificacao(const QByteArray& texto)
{
    return QByteArray::number(texto.size()) + ' '
           + QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
}

bool MarcaGravacao::inteiro(const QByteArray& texto) const
{
    const QByteArray v = verificacao(texto);
    return v == antigo || v == novo;
}

int MarcaGravacao::ler(int fd, Estado& estado, MarcaGravacao& marca)
{
    if (!comMarcas) {
        estado = Estado::SemSuporte;
        return 0;
    }
    QByteArray valor(4096, '\0');
    const ssize_t n = ::fgetxattr(fd, Atributo, valor.data(), size_t(valor.size()));
    if (n < 0 && errno == ERANGE) {
        estado = Estado::Posta;
        marca = {};
        return 0;
    }
    if (n < 0) {
        estado = errno == ENODATA ? Estado::Nenhuma : Estado::SemSuporte;
        return errno == ENODATA || errno == ENOTSUP ? 0 : errno;
    }
    estado = Estado::Posta;
    valor.truncate(n);
    // A mark this station cannot read still says that a save was cut short; it names nobody.
    marca = {};
    const QList<QByteArray> linhas = valor.split('\n');
    if (linhas.size() < 8 || linhas[0] != Versao)
        return 0;
    marca.dono = uid_t(linhas[1].toULongLong());
    marca.utilizador = QString::fromUtf8(QByteArray::fromPercentEncoding(linhas[2]));
    marca.computador = QString::fromUtf8(QByteArray::fromPercentEncoding(linhas[3]));
    marca.pasta = QByteArray::fromPercentEncoding(linhas[4]);
    marca.nome = QByteArray::fromPercentEncoding(linhas[5]);
    marca.antigo = linhas[6];
    marca.novo = linhas[7];
    return 0;
}

int MarcaGravacao::por(int fd) const
{
    if (!comMarcas)
        return ENOTSUP;
    const QByteArray valor = Versao.toByteArray() + '\n' + QByteArray::number(quint64(dono)) + '\n'
                             + utilizador.toUtf8().toPercentEncoding() + '\n' + computador.toUtf8().toPercentEncoding()
                             + '\n' + pasta.toPercentEncoding("/") + '\n' + nome.toPercentEncoding() + '\n' + antigo
                             + '\n' + novo;
    if (::fsetxattr(fd, Atributo, valor.constData(), size_t(valor.size()), 0) != 0)
        return errno;
    return semInterrupcao([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
}

int MarcaGravacao::tirar(int fd)
{
    return ::fremovexattr(fd, Atributo) == 0 || errno == ENODATA ? 0 : errno;
}
