// A PDF file written as the station writes one, in a process of its own
// whose file system has no hard links and no nameless files (as FAT and
// some network shares): the kernel refuses them here, by a seccomp filter
// this process alone carries. With "sem-renomear", a rename that does not
// replace is refused too.
//
//   ajudante_pdf <sem-ligacoes|sem-renomear> <base> <numero> <bytes>
//
// It makes the file, writes <bytes> bytes into it, says "aberto" and waits
// for a line: "concluir" names it ("nome <path> <1 when the named file is
// the one written, 0 for a copy>", or "falha <reason>"); the end of its
// input ends it without a name.

#include "platform/impressao/FicheiroPdf.h"
#include "support/ChamadasRecusadas.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>

namespace {

// The calls refused, and how: links and nameless files, and perhaps renames.
bool recusar(bool renomear)
{
    QList<std::pair<long, int>> recusadas{{__NR_linkat, EPERM}, {__NR_link, EPERM}};
    if (renomear)
        recusadas.append({__NR_renameat2, EINVAL});
    return recusarChamadas(recusadas, EOPNOTSUPP);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    const std::string modo = argv[1];
    if (!recusar(modo == "sem-renomear")) {
        std::cout << "sem filtro" << std::endl;
        return 3;
    }
    FicheiroPdf pdf(QFile::decodeName(argv[2]), std::atoi(argv[3]));
    if (!pdf.abrir()) {
        std::cout << "falha " << pdf.falha().toStdString() << std::endl;
        return 1;
    }
    QByteArray dados(std::atoll(argv[4]), 'p');
    for (qsizetype i = 0; i < dados.size(); ++i)
        dados[i] = char('a' + i % 26);
    pdf.write(dados);
    std::cout << "aberto" << std::endl;
    std::string linha;
    if (!std::getline(std::cin, linha) || linha != "concluir")
        return 0;
    if (!pdf.concluir()) {
        std::cout << "falha " << pdf.falha().toStdString() << std::endl;
        return 1;
    }
    struct stat escrito{}, nomeado{};
    ::fstat(pdf.descritor(), &escrito);
    ::stat(QFile::encodeName(pdf.caminho()).constData(), &nomeado);
    std::cout << "nome " << pdf.caminho().toStdString() << ' ' << (escrito.st_ino == nomeado.st_ino) << std::endl;
    return 0;
}
