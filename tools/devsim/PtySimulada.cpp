#include "PtySimulada.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtySimulada::PtySimulada(const QString& ligacao, QObject* pai) : Transporte(pai), m_ligacao(ligacao) {}

PtySimulada::~PtySimulada()
{
    fechar();
    QFile::remove(m_ligacao);
}

bool PtySimulada::abrir(QString* erro)
{
    char nome[256] = {};
    if (openpty(&m_mestre, &m_escravo, nome, nullptr, nullptr) != 0) {
        m_mestre = m_escravo = -1;
        if (erro)
            *erro = QStringLiteral("openpty: ") + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    // Raw before anyone can open it: no CR to LF, no echo.
    termios t{};
    tcgetattr(m_escravo, &t);
    cfmakeraw(&t);
    tcsetattr(m_escravo, TCSANOW, &t);
    fcntl(m_mestre, F_SETFL, fcntl(m_mestre, F_GETFL) | O_NONBLOCK);
    m_escravoNome = QString::fromLocal8Bit(nome);

    // Re-point the link in one step, so the station never sees it missing.
    const QString temporaria = m_ligacao + QStringLiteral(".novo");
    QFile::remove(temporaria);
    if (::symlink(nome, QFile::encodeName(temporaria).constData()) != 0
        || ::rename(QFile::encodeName(temporaria).constData(), QFile::encodeName(m_ligacao).constData()) != 0) {
        if (erro)
            *erro = m_ligacao + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
        fechar();
        return false;
    }
    m_aviso = std::make_unique<QSocketNotifier>(m_mestre, QSocketNotifier::Read);
    connect(m_aviso.get(), &QSocketNotifier::activated, this, &PtySimulada::ler);
    return true;
}

QString PtySimulada::descricao() const
{
    return m_ligacao + QStringLiteral(" -> ") + (ligado() ? m_escravoNome : QStringLiteral("(caída)"));
}

void PtySimulada::ler()
{
    char bloco[1024];
    QByteArray dados;
    for (;;) {
        const ssize_t n = ::read(m_mestre, bloco, sizeof bloco);
        if (n > 0) {
            dados.append(bloco, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!dados.isEmpty())
        Q_EMIT recebido(dados);
}

void PtySimulada::escrever(const QByteArray& dados)
{
    qsizetype feito = 0;
    while (m_mestre >= 0 && feito < dados.size()) {
        const ssize_t n = ::write(m_mestre, dados.constData() + feito, size_t(dados.size() - feito));
        if (n > 0)
            feito += n;
        else if (n < 0 && errno != EINTR)
            return;  // the station is not reading: the bytes are lost, as on a real line
    }
}

void PtySimulada::fechar()
{
    cair();
    if (m_escravo >= 0)
        ::close(m_escravo);
    m_escravo = -1;
}

void PtySimulada::cair()
{
    // Only the master: the station's side sees a dead line.
    m_aviso.reset();
    if (m_mestre >= 0)
        ::close(m_mestre);
    m_mestre = -1;
}

void PtySimulada::reabrir()
{
    fechar();
    abrir(nullptr);
}
