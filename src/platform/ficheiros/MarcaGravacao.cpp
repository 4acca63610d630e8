#include "platform/ficheiros/MarcaGravacao.h"

#include "platform/ficheiros/Descritor.h"
#include "platform/ficheiros/Utilizadores.h"

#include <QCryptographicHash>
#include <QList>
#include <cerrno>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace {
constexpr QByteArrayView Versao = "zumarel 1";
constexpr QByteArrayView VersaoCurta = "z2";

// The copy's place, as the short mark names it.
constexpr char JuntoAoFicheiro = 'J';
constexpr char PastaEstado = 'E';

// How many bytes of the checksum a mark keeps: 72 bits, 12 characters of base64.
constexpr qsizetype BytesCurtos = 9;

// A mark of the older form: each field on a line of its own.
void lerLinhas(const QByteArray& valor, MarcaGravacao& marca)
{
    const QList<QByteArray> linhas = valor.split('\n');
    if (linhas.size() < 8 || linhas[0] != Versao)
        return;
    marca.dono = uid_t(linhas[1].toULongLong());
    marca.utilizador = QString::fromUtf8(QByteArray::fromPercentEncoding(linhas[2]));
    marca.computador = QString::fromUtf8(QByteArray::fromPercentEncoding(linhas[3]));
    marca.pasta = QByteArray::fromPercentEncoding(linhas[4]);
    marca.nome = QByteArray::fromPercentEncoding(linhas[5]);
    marca.antigo = linhas[6];
    marca.novo = linhas[7];
}

// A short mark: "z2 <user> <place> <old length> <old checksum> <new length> <new checksum> [<computer>]",
// the copy's name made from the file open as `fd`, as its save made it.
void lerCurta(int fd, const QByteArray& valor, MarcaGravacao& marca)
{
    const QList<QByteArray> campos = valor.split(' ');
    struct stat st
    {
    };
    bool ok = false;
    const uid_t dono = uid_t(campos.value(1).toULongLong(&ok));
    if (campos.size() < 7 || campos.size() > 8 || campos[0] != VersaoCurta || !ok || campos[2].size() != 1
        || ::fstat(fd, &st) != 0)
        return;
    if (campos[2][0] == JuntoAoFicheiro)
        marca.nome = ".zumarel-antigo-" + QByteArray::number(quint64(st.st_ino));
    else if (campos[2][0] == PastaEstado)
        marca.nome = "copia-" + QByteArray::number(quint64(st.st_dev)) + '-' + QByteArray::number(quint64(st.st_ino));
    else
        return;
    marca.dono = dono;
    marca.utilizador = Utilizadores::nome(dono);
    marca.computador = QString::fromUtf8(campos.value(7));
    marca.antigo = campos[3] + ' ' + campos[4];
    marca.novo = campos[5] + ' ' + campos[6];
}

}  // namespace

bool MarcaGravacao::comMarcas = true;

QByteArray MarcaGravacao::verificacao(const QByteArray& texto)
{
    return QByteArray::number(texto.size()) + ' '
           + QCryptographicHash::hash(texto, QCryptographicHash::Sha256).toHex();
}

QByteArray MarcaGravacao::curta(const QByteArray& verificacao)
{
    // The long form's checksum is a whole SHA-256 in hex; anything else is kept as it is.
    const qsizetype espaco = verificacao.indexOf(' ');
    const QByteArrayView soma = QByteArrayView(verificacao).sliced(espaco + 1);
    if (espaco < 0 || soma.size() != 2 * 32)
        return verificacao;
    return verificacao.left(espaco + 1)
           + QByteArray::fromHex(soma.first(2 * BytesCurtos).toByteArray())
                 .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

bool MarcaGravacao::inteiro(const QByteArray& texto) const
{
    const QByteArray v = curta(verificacao(texto));
    return v == curta(antigo) || v == curta(novo);
}

bool MarcaGravacao::daCopia(const QByteArray& antigoCopia, const QByteArray& novoCopia) const
{
    return curta(verificacao(antigoCopia)) == curta(antigo) && curta(verificacao(novoCopia)) == curta(novo);
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
    if (valor.startsWith(Versao))
        lerLinhas(valor, marca);
    else
        lerCurta(fd, valor, marca);
    return 0;
}

int MarcaGravacao::por(int fd) const
{
    if (!comMarcas)
        return ENOTSUP;
    QByteArray valor = VersaoCurta.toByteArray() + ' ' + QByteArray::number(quint64(dono)) + ' '
                       + (naPastaEstado() ? PastaEstado : JuntoAoFicheiro) + ' ' + curta(antigo) + ' ' + curta(novo);
    // The computer's name only where it leaves the mark in the inode.
    const QByteArray computadorUtf8 = computador.toUtf8();
    if (!computadorUtf8.isEmpty() && !computadorUtf8.contains(' ')
        && valor.size() + 1 + computadorUtf8.size() <= ValorMaximo)
        valor += ' ' + computadorUtf8;
    return ::fsetxattr(fd, Atributo, valor.constData(), size_t(valor.size()), 0) == 0 ? 0 : errno;
}

int MarcaGravacao::tirar(int fd)
{
    return ::fremovexattr(fd, Atributo) == 0 || errno == ENODATA ? 0 : errno;
}
