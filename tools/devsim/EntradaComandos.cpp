#include "EntradaComandos.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void EntradaComandos::vigiar(int fd)
{
    m_fd = fd;
    m_aviso = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_aviso.get(), &QSocketNotifier::activated, this, &EntradaComandos::ler);
}

void EntradaComandos::lerEntradaPadrao()
{
    vigiar(STDIN_FILENO);
}

bool EntradaComandos::abrirFifo(const QString& caminho, QString* erro)
{
    const QByteArray nome = QFile::encodeName(caminho);
    struct stat info
    {
    };
    if (::stat(nome.constData(), &info) != 0 && ::mkfifo(nome.constData(), 0600) != 0) {
        if (erro)
            *erro = caminho + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    // Opened for writing too, so the pipe never reaches its end between writers.
    const int fd = ::open(nome.constData(), O_RDWR | O_NONBLOCK);
    if (fd < 0) {
        if (erro)
            *erro = caminho + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    vigiar(fd);
    return true;
}

void EntradaComandos::ler()
{
    char bloco[1024];
    const ssize_t n = ::read(m_fd, bloco, sizeof bloco);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        m_aviso.reset();  // the end of stdin: no more commands from there
        return;
    }
    if (n < 0)
        return;
    m_resto.append(bloco, n);
    qsizetype fim;
    while ((fim = m_resto.indexOf('\n')) >= 0) {
        const QString texto = QString::fromUtf8(m_resto.left(fim)).trimmed();
        m_resto.remove(0, fim + 1);
        if (!texto.isEmpty())
            Q_EMIT linha(texto);
    }
}
