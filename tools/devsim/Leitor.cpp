#include "Leitor.h"

#include "Tramas.h"
#include "Transporte.h"

#include <QTime>

namespace {
const QByteArray Poll = QByteArrayLiteral("C\r\n");
const QByteArray Vermelho = QByteArrayLiteral("HO0001");
const QByteArray Verde = QByteArrayLiteral("HO0003");
}  // namespace

Leitor::Leitor(QString nome, Transporte& transporte, QObject* pai)
    : QObject(pai),
      m_nome(std::move(nome)),
      m_transporte(transporte)
{
    connect(&m_transporte, &Transporte::recebido, this, &Leitor::receber);
}

void Leitor::apresentar(const QByteArray& codigo, bool imediato, bool repetir)
{
    m_cartao = codigo.left(8);
    m_repetir = repetir;
    if (imediato)
        enviarCartao();
}

void Leitor::retirar()
{
    m_cartao.clear();
}

QString Leitor::semaforo() const
{
    if (m_semaforo == Vermelho)
        return QStringLiteral("VERMELHO");
    if (m_semaforo == Verde)
        return QStringLiteral("VERDE");
    return QStringLiteral("-");
}

void Leitor::enviarCartao()
{
    if (m_cartao.isEmpty())
        return;
    const QByteArray id =
        m_nome.toUpper().toLatin1() + QTime::currentTime().toString(QStringLiteral("HHmmss")).toLatin1();
    m_transporte.escrever(Tramas::cartao(id, m_cartao));
    Q_EMIT registo(m_nome.toUpper() + QStringLiteral(" cartão ") + QString::fromLatin1(m_cartao)
                   + QStringLiteral(" enviado"));
    if (!m_repetir)
        m_cartao.clear();
}

void Leitor::receber(const QByteArray& dados)
{
    m_entrada += dados;
    while (!m_entrada.isEmpty()) {
        if (m_entrada.startsWith(Poll)) {
            m_entrada.remove(0, Poll.size());
            ++m_polls;
            enviarCartao();
            continue;
        }
        if (m_entrada.startsWith(Vermelho) || m_entrada.startsWith(Verde)) {
            const QByteArray comando = m_entrada.left(6);
            m_entrada.remove(0, 6);
            ++m_comandos;
            if (m_ultimoComando.isValid())
                m_intervalo = m_ultimoComando.restart();
            else
                m_ultimoComando.start();
            if (comando != m_semaforo) {
                m_semaforo = comando;
                Q_EMIT registo(m_nome.toUpper() + QStringLiteral(" semáforo: ") + semaforo());
            }
            continue;
        }
        // Part of a command still on its way?
        if (Poll.startsWith(m_entrada) || Vermelho.startsWith(m_entrada) || Verde.startsWith(m_entrada))
            return;
        Q_EMIT registo(m_nome.toUpper() + QStringLiteral(" recebeu um byte inesperado: ")
                       + QString::number(quint8(m_entrada.front()), 16).rightJustified(2, u'0'));
        m_entrada.remove(0, 1);
    }
}
