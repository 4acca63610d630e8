#include "platform/ficheiros/TextoFicheiro.h"

#include "platform/ficheiros/Descritor.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace TextoFicheiro {

GravacaoFicheiro::Leitura ler(int fd, const QByteArray& caminho)
{
    GravacaoFicheiro::Leitura l;
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0) {
        l.erro = errno;
        return l;
    }
    l.estado = st;
    if (st.st_size > GravacaoFicheiro::TamanhoMaximo) {
        l.erro = EFBIG;
        l.razao = QStringLiteral("O ficheiro %1 tem %2 bytes, mais do que um ficheiro de definições pode ter (%3 MiB)")
                      .arg(QFile::decodeName(caminho))
                      .arg(qint64(st.st_size))
                      .arg(GravacaoFicheiro::TamanhoMaximo / (1024 * 1024));
        return l;
    }
    l.erro = Descritores::lerTudo(fd, st.st_size, l.bytes);
    l.existe = l.erro == 0;
    if (!l.existe)
        l.bytes.clear();
    return l;
}

int escrever(int fd, const QByteArray& texto, bool comPassos)
{
    using GravacaoFicheiro::Passo;
    const auto anunciar = [&](Passo p) {
        if (comPassos)
            GravacaoFicheiro::passo(p);
    };
    anunciar(Passo::Escrita);
    if (const int e = Descritores::escreverTudo(fd, texto))
        return e;
    anunciar(Passo::Truncagem);
    if (semInterrupcao([&] { return ::ftruncate(fd, off_t(texto.size())); }) != 0)
        return errno;
    anunciar(Passo::Sincronizacao);
    return semInterrupcao([&] { return ::fsync(fd); }) == 0 ? 0 : errno;
}

}  // namespace TextoFicheiro
