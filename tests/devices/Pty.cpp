#include "Pty.h"

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty()
{
    char nome[256] = {};
    if (openpty(&m_mestre, &m_escravo, nome, nullptr, nullptr) != 0) {
        m_mestre = m_escravo = -1;
        return;
    }
    termios t{};
    tcgetattr(m_escravo, &t);
    cfmakeraw(&t);
    tcsetattr(m_escravo, TCSANOW, &t);
    fcntl(m_mestre, F_SETFL, fcntl(m_mestre, F_GETFL) | O_NONBLOCK);
    m_caminho = QString::fromLocal8Bit(nome);
}

Pty::~Pty()
{
    fecharMestre();
    if (m_escravo >= 0)
        ::close(m_escravo);
}

void Pty::escrever(const QByteArray& dados)
{
    qsizetype feito = 0;
    while (m_mestre >= 0 && feito < dados.size()) {
        const ssize_t n = ::write(m_mestre, dados.constData() + feito, size_t(dados.size() - feito));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
        if (n > 0)
            feito += n;
    }
}

QByteArray Pty::recebido()
{
    char bloco[4096];
    while (m_mestre >= 0) {
        const ssize_t n = ::read(m_mestre, bloco, sizeof bloco);
        if (n <= 0)
            break;
        m_recebido.append(bloco, n);
    }
    return m_recebido;
}

void Pty::fecharMestre()
{
    if (m_mestre >= 0)
        ::close(m_mestre);
    m_mestre = -1;
}
